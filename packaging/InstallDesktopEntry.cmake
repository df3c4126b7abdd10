# SPDX-License-Identifier: MIT
# Runs at install time, when the prefix is known: the desktop entry starts
# the installed program by its absolute path, so an install into ~/.local
# works without ~/.local/bin on PATH. The path is quoted by the Desktop
# Entry rules (command level, then string level) where it needs it.
set(program "${CMAKE_INSTALL_PREFIX}/bin/Quillbrook")
string(REPLACE "%" "%%" exec "${program}")
if(exec MATCHES "[] \t\"'\\\\><~|&;$*?#()`[]")
  string(REPLACE "\\" "\\\\" exec "${exec}")
  string(REPLACE "\"" "\\\"" exec "${exec}")
  string(REPLACE "`" "\\`" exec "${exec}")
  string(REPLACE "$" "\\$" exec "${exec}")
  set(exec "\"${exec}\"")
endif()
string(REPLACE "\\" "\\\\" QB_EXEC "${exec}")
set(target "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/share/applications/${QB_APP_ID}.desktop")
configure_file("${QB_SOURCE}" "${target}" @ONLY)
message(STATUS "Installing: ${target}")
