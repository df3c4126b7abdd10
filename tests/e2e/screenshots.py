#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Pictures of the bar for the eye and the README: a gradient plate, each
hover effect caught half-way, the button's and the bar's menus, and both
dialogs in Japanese and in English (tst_dialogtexts checks their texts fit).

It checks nothing, so it is no test: a half-way frame depends on timing, and
the effects themselves are tested by tst_launchbutton and tst_glowimages.
It uses the end-to-end suite's desktop and fixtures.

  screenshots.py --bin Quillbrook --recorder recorder --screenshots DIR
"""
import argparse
import os
import shutil
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop import Desktop  # noqa: E402
from run_e2e import Suite, button_centre  # noqa: E402


def pictures(suite):
    desktop = suite.desktop
    ini = ("[Form]\nWidth=560\nHeight=170\n[Back]\nGradient=1\nDirection=2\n"
           "Color0=-2302756\nColor1=-7876885\n")
    l = suite.launcher(ini=ini, files={"QuillbrookPath.txt": suite.mixed_group()})
    suite.pointer_away()
    time.sleep(0.3)
    suite.shot("bar-gradient.png", crop=(600, 0, 700, 200))
    l.stop()
    for glow, name in enumerate(("none", "outer-glow", "inner-glow", "rotate", "fade", "magnify")):
        l = suite.launcher(ini=f"[Form]\nWidth=560\nHeight=170\n[Icon]\nGlow={glow}\n",
                           files={"QuillbrookPath.txt": suite.mixed_group()})
        suite.pointer_away()
        time.sleep(0.2)
        desktop.xdotool("mousemove", *button_centre(1))
        time.sleep({3: 0.04, 4: 0.08}.get(glow, 0.3))
        suite.shot(f"hover-{name}.png", crop=(600, 0, 700, 200))
        if glow == 0:
            desktop.xdotool("click", 3)
            time.sleep(0.4)
            suite.shot("menu-button.png", crop=(600, 0, 800, 300))
            desktop.xdotool("key", "Escape")
            time.sleep(0.2)
            desktop.xdotool("mousemove", 1200, 140)
            time.sleep(0.1)
            desktop.xdotool("click", 3)
            time.sleep(0.3)
            desktop.xdotool("mousemove", 1230, 210)
            time.sleep(0.4)
            suite.shot("menu-bar.png", crop=(600, 0, 800, 420))
            desktop.xdotool("key", "Escape")
            desktop.xdotool("key", "Escape")
        l.stop()


def dialogs(suite):
    desktop = suite.desktop
    for language, env, settings, editor in (("", {}, "設定", "パラメータ編集"),
                                             ("-en", {"LANGUAGE": "en"}, "Settings", "Edit parameters")):
        l = suite.launcher(env=env, files={"QuillbrookPath.txt": suite.mixed_group()})
        l.key("F12")
        dialog = suite.window_named(l, settings)
        time.sleep(0.5)
        desktop.screenshot(os.path.join(suite.shots, f"settings{language}.png"), window=dialog)
        desktop.xdotool("key", "Escape")
        time.sleep(0.3)
        # The parameter editor, from the first button's menu.
        desktop.xdotool("mousemove", *button_centre(0))
        time.sleep(0.2)
        desktop.xdotool("click", 3)
        time.sleep(0.4)
        for key in ("Down", "Down", "Down", "Return"):
            desktop.xdotool("key", key)
            time.sleep(0.1)
        dialog = suite.window_named(l, editor)
        time.sleep(0.5)
        desktop.screenshot(os.path.join(suite.shots, f"editor{language}.png"), window=dialog)
        desktop.xdotool("key", "Escape")
        l.stop()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bin", required=True)
    parser.add_argument("--recorder", required=True)
    parser.add_argument("--screenshots", required=True)
    args = parser.parse_args()
    suite = Suite(args)
    suite.desktop = Desktop().start()
    try:
        pictures(suite)
        dialogs(suite)
    finally:
        for l in suite.launchers:
            l.cleanup()
        suite.desktop.stop()
        shutil.rmtree(suite.fixtures, ignore_errors=True)
    print(f"pictures in {args.screenshots}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
