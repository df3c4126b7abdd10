#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Fails when an include runs from a lower folder into a higher one:
# core < platform < launcher < app < settings < editor.
set -euo pipefail
cd "$(dirname "$0")/.."
rank() {
  case "$1" in
    core) echo 0 ;; platform) echo 1 ;; launcher) echo 2 ;; app) echo 3 ;;
    settings) echo 4 ;; editor) echo 5 ;; *) echo -1 ;;
  esac
}
bad=0
for dir in core platform launcher app settings editor; do
  mine=$(rank "$dir")
  while IFS=: read -r file line text; do
    target=$(sed -E 's/.*#include "([a-z]+)\/.*/\1/' <<<"$text")
    theirs=$(rank "$target")
    if ((theirs > mine)); then
      echo "$file:$line: $dir includes from $target: $text" >&2
      bad=1
    fi
  done < <(grep -rnE '^#include "[a-z]+/' "$dir" || true)
done
exit $bad
