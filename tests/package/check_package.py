#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""The launcher as users get it: installed into a prefix and built into a
Debian package.

- `cmake --install` into a temporary prefix (with a space in it): the desktop
  entry and the metainfo file pass their validators, the icon is there, and
  the entry's Exec names the installed program.
- `cpack -G DEB`: lintian finds no error (warnings are printed); the package
  unpacked with dpkg-deb starts under Xvfb with a temporary HOME, shows its
  window and writes its settings into HOME's config folder.
- With --menu-shot, the unpacked program is started again in English and its
  bar menu photographed (docs/menu-en.png comes from there).
"""
import argparse
import os
import shlex
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "e2e"))
from check import check  # noqa: E402
from desktop import Desktop, wait_for  # noqa: E402

APP_ID = "org.quillbrook.Quillbrook"


def run(argv, **kwargs):
    result = subprocess.run(argv, capture_output=True, text=True, **kwargs)
    if result.returncode != 0:
        raise SystemExit(f"{shlex.join(argv)} failed:\n{result.stdout}{result.stderr}")
    return result.stdout + result.stderr


def check_install(build, tmp):
    prefix = os.path.join(tmp, "pre fix")
    run(["cmake", "--install", build, "--prefix", prefix])
    desktop_file = os.path.join(prefix, "share", "applications", APP_ID + ".desktop")
    metainfo = os.path.join(prefix, "share", "metainfo", APP_ID + ".metainfo.xml")
    icon = os.path.join(prefix, "share", "icons", "hicolor", "scalable", "apps", APP_ID + ".svg")
    run(["desktop-file-validate", desktop_file])
    run(["appstreamcli", "validate", "--no-net", metainfo])
    check(os.path.isfile(icon), "the icon installed", icon)
    with open(desktop_file, encoding="utf-8") as f:
        execs = [line.split("=", 1)[1].strip() for line in f if line.startswith("Exec=")]
    program = os.path.join(prefix, "bin", "Quillbrook")
    check(execs and shlex.split(execs[0]) == [program], f"Exec naming {program}", execs)
    print("install: validated", desktop_file, metainfo)


def build_package(build, tmp):
    out = os.path.join(tmp, "deb")
    run(["cpack", "-G", "DEB", "-B", out, "--config", os.path.join(build, "CPackConfig.cmake")], cwd=build)
    debs = [name for name in os.listdir(out) if name.endswith(".deb")]
    check(len(debs) == 1 and debs[0].startswith("quillbrook_"), "one quillbrook_*.deb", debs)
    deb = os.path.join(out, debs[0])
    report = subprocess.run(["lintian", "--tag-display-limit", "0", deb], capture_output=True, text=True)
    tags = [line for line in report.stdout.splitlines() if line[:2] in ("E:", "W:", "I:")]
    for line in tags:
        print("lintian:", line)
    check(not any(line.startswith("E:") for line in tags), "no lintian errors", [t for t in tags if t.startswith("E:")])
    root = os.path.join(tmp, "root")
    run(["dpkg-deb", "-x", deb, root])
    print("package:", debs[0])
    return os.path.join(root, "usr", "bin", "Quillbrook")


def start(desktop, program, home, env=None):
    proc = subprocess.Popen([program], env=dict(desktop.env, HOME=home, **(env or {})), cwd=home,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
    desktop.procs.append(proc)

    def window():
        out = desktop.run(["xdotool", "search", "--all", "--onlyvisible", "--pid", str(proc.pid)])
        return out.split()[-1] if out.split() else None
    return proc, wait_for(window, timeout=20, what="the packaged launcher's window")


def check_start(desktop, program, home):
    desktop.env.pop("XDG_CONFIG_HOME", None)
    proc, wid = start(desktop, program, home)
    config = os.path.join(home, ".config", "Quillbrook")
    # Nothing is made before the first save.
    check(not os.path.exists(config), "no config folder before the first save", config)
    desktop.xdotool("windowactivate", "--sync", wid)
    desktop.xdotool("key", "--clearmodifiers", "ctrl+x")
    proc.wait(timeout=10)
    ini = os.path.join(config, "Quillbrook.ini")
    check(os.path.isfile(ini), "the settings written at exit", ini)
    print("package: started, settings written to", ini)


def menu_shot(desktop, program, home, path):
    config = os.path.join(home, ".config", "Quillbrook")
    with open(os.path.join(config, "Quillbrook.ini"), "w") as f:
        f.write("[Form]\r\nWidth=560\r\nHeight=120\r\n")
    with open(os.path.join(config, "QuillbrookPath.txt"), "w") as f:
        f.write("".join(f'"{p}","",""\r\n' for p in (program, "/etc/hostname", "/usr/share")))
    proc, wid = start(desktop, program, home, env={"LANGUAGE": "en"})
    desktop.xdotool("mousemove", 1100, 60)
    time.sleep(0.3)
    desktop.xdotool("click", 3)
    time.sleep(0.8)
    desktop.screenshot(path)
    run(["convert", path, "-crop", "720x290+660+0", "+repage", path])
    desktop.xdotool("key", "Escape")
    proc.terminate()
    proc.wait(timeout=10)
    print("package: menu photographed into", path)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--menu-shot")
    args = parser.parse_args()
    with tempfile.TemporaryDirectory(prefix="qb-package-") as tmp:
        check_install(args.build, tmp)
        program = build_package(args.build, tmp)
        home = os.path.join(tmp, "home")
        os.mkdir(home)
        desktop = Desktop()
        try:
            desktop.start()
            check_start(desktop, program, home)
            if args.menu_shot:
                menu_shot(desktop, program, home, args.menu_shot)
        finally:
            desktop.stop()


if __name__ == "__main__":
    main()
