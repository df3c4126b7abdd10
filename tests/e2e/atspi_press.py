#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Finds the launcher's buttons on the AT-SPI bus, as a screen reader does,
and presses the one named in the argument through its action interface.

Run with Debian's own python3, where python3-pyatspi lives. Prints one JSON
object: the buttons' names and descriptions, and whether the press was made.
"""
import json
import sys
import time

import pyatspi


def buttons_of(app):
    found = []
    def walk(node, depth):
        if node is None or depth > 12:
            return
        try:
            if node.getRole() == pyatspi.ROLE_PUSH_BUTTON:
                found.append(node)
            for i in range(node.childCount):
                walk(node.getChildAtIndex(i), depth + 1)
        except Exception:
            pass
    walk(app, 0)
    return found


def main():
    wanted, target = sys.argv[1], sys.argv[2]
    deadline = time.monotonic() + 15
    while time.monotonic() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is None:
                continue
            buttons = buttons_of(app)
            names = [b.name for b in buttons]
            if wanted not in names:
                continue
            pressed = False
            for b in buttons:
                if b.name == target:
                    action = b.queryAction()
                    for k in range(action.nActions):
                        if action.getName(k) in ("press", "Press", "click"):
                            pressed = bool(action.doAction(k))
                            break
            print(json.dumps({"app": app.name, "frame": [app.getChildAtIndex(j).name for j in range(app.childCount)],
                              "buttons": [[b.name, b.description] for b in buttons], "pressed": pressed}))
            return 0
        time.sleep(0.3)
    print(json.dumps({"error": "no application on the bus has a button named " + wanted}))
    return 1


if __name__ == "__main__":
    sys.exit(main())
