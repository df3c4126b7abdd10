#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""End-to-end suite: the real launcher on a real X desktop, driven and
checked from outside the process the way a user would use it.

  run_e2e.py --bin Quillbrook --dragsource dragsource --droptarget droptarget
             --recorder recorder --screenshots DIR [-k NAME]
"""
import argparse
import json
import os
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
import traceback
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from check import check, check_equal  # noqa: E402
from desktop import Desktop, Launcher, Timeout, colour_distance, wait_for  # noqa: E402
from xwayland import KWin, Mutter  # noqa: E402
from sway import Sway, Unavailable  # noqa: E402

CASE_SECONDS = 90
# The bar's default place, and where its first buttons stand: the icon layer
# starts 10 in, padding 4, buttons of 48 + 14 with gaps of 2.
BAR = (670, 0, 500, 100)
FIRST = (670 + 14, 14)
SIDE, GAP = 62, 2


def button_centre(i):
    return FIRST[0] + i * (SIDE + GAP) + SIDE // 2, FIRST[1] + SIDE // 2


def png(path, colour, size=64):
    """A small solid PNG, written without any image library."""
    raw = b"".join(b"\0" + bytes(colour) * size for _ in range(size))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 2, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def quoted(field):
    """A field as the launcher writes it when it holds a comma or starts with a quote."""
    if "," in field or field.startswith('"'):
        return '"' + field.replace('"', '""') + '"'
    return field


def entry(fname, param="", hint=""):
    return ",".join(quoted(f) for f in (fname, param, hint))


class Skip(Exception):
    """A case that cannot run here; its message says why."""


class Suite:
    def __init__(self, args):
        self.args = args
        self.desktop = None
        self.fixtures = tempfile.mkdtemp(prefix="qb-e2e-files-")
        self.launchers = []
        self.shots = args.screenshots
        os.makedirs(self.shots, exist_ok=True)
        self.make_fixtures()

    # --- Fixtures -----------------------------------------------------------

    def fx(self, name):
        return os.path.join(self.fixtures, name)

    def make_fixtures(self):
        png(self.fx("red.png"), (220, 40, 40))
        png(self.fx("green.png"), (40, 180, 60))
        for name in ("notes.txt", "report.pdf", "song.mp3", "sheet.ods", "page.html", "archive.tar.gz"):
            with open(self.fx(name), "w") as f:
                f.write("x\n")
        os.makedirs(self.fx("projects"), exist_ok=True)
        os.makedirs(self.fx("a b"), exist_ok=True)
        self.recorder = self.fx("recorder")
        shutil.copy2(self.args.recorder, self.recorder)
        with open(self.fx("terminal.desktop"), "w") as f:
            f.write("[Desktop Entry]\nType=Application\nName=Terminal\nExec=true\nIcon=utilities-terminal\n")
        with open(self.fx("record.desktop"), "w") as f:
            f.write(f"[Desktop Entry]\nType=Application\nName=Rec\nExec={self.recorder} %F\nIcon=accessories-text-editor\n")

    def mixed_group(self):
        names = ["terminal.desktop", "red.png", "notes.txt", "projects", "report.pdf", "song.mp3",
                 "sheet.ods", "page.html", "green.png", "archive.tar.gz", "recorder", "record.desktop"]
        return "".join(entry(self.fx(n), "", os.path.splitext(n)[0]) + "\r\n" for n in names)

    # --- Helpers ------------------------------------------------------------

    def launcher(self, **kwargs):
        env = kwargs.pop("env", {})
        env.setdefault("QB_RECORDER_OUT", self.records_dir())
        l = Launcher(self.desktop, self.args.bin, env=env, **kwargs)
        self.launchers.append(l)
        return l.start()

    def records_dir(self):
        d = os.path.join(self.fixtures, "records")
        os.makedirs(d, exist_ok=True)
        return d

    def clear_records(self):
        shutil.rmtree(self.records_dir())
        self.records_dir()

    def records(self):
        out = []
        for name in sorted(os.listdir(self.records_dir())):
            if name.startswith("record-"):
                with open(os.path.join(self.records_dir(), name), "rb") as f:
                    parts = f.read().decode().split("\0")[:-1]
                out.append({"cwd": parts[0], "argv": parts[1:]})
        return out

    def shot(self, name, crop=None):
        path = os.path.join(self.shots, name)
        self.desktop.screenshot(path)
        if crop:
            x, y, w, h = crop
            subprocess.run(["convert", path, "-crop", f"{w}x{h}+{x}+{y}", "+repage", path], check=True)
        return path

    def pointer_away(self):
        self.desktop.xdotool("mousemove", 100, 550)

    # --- Cases --------------------------------------------------------------

    def case_empty_start(self):
        l = self.launcher()
        check_equal(BAR, l.geometry(), "the bar's geometry")
        state = l.net_wm_state()
        check("_NET_WM_STATE_SKIP_TASKBAR" in state, "the bar off the taskbar", state)
        check("_NET_WM_STATE_ABOVE" not in state, "the bar not kept above", state)
        # The drop area veils the plate in a near-white.
        centre = self.desktop.mean_colour(BAR[0] + 200, 40, 20, 10)
        check(min(centre) > 200, "a near-white drop area (every channel above 200)", centre)
        check(not l.exists("QuillbrookPath.txt"), "no group file written", l.files())
        # Taskbars and switchers get the icon in every size it comes in.
        def icon_sides():
            out = self.desktop.run(["xprop", "-id", l.window, "-notype", "32c", "_NET_WM_ICON"])
            if "_NET_WM_ICON =" not in out:
                return None
            values = [int(v) for v in out.split("=", 1)[1].replace(",", " ").split()]
            sides = []
            while len(values) >= 2:
                w, h = values[0], values[1]
                sides.append((w, h))
                values = values[2 + w * h:]
            return sides
        sides = wait_for(icon_sides, timeout=3, what="the window icon")
        check_equal([(s, s) for s in (16, 24, 32, 48, 64, 128)], sides, "the window icon's sizes")
        self.pointer_away()
        self.shot("empty-bar.png", crop=(600, 0, 640, 130))

    def case_window_modes(self):
        l = self.launcher(ini="[Form]\nTaskBar=1\n[Mode]\nTop=1\n")
        state = l.net_wm_state()
        check("_NET_WM_STATE_SKIP_TASKBAR" not in state, "the bar on the taskbar", state)
        check("_NET_WM_STATE_ABOVE" in state, "the bar kept above", state)

    def drag_files(self, paths, target, as_text=False):
        argv = [self.args.dragsource, "--at", "100,300"] + (["--text"] if as_text else []) + paths
        source = self.desktop.spawn(argv)
        wait_for(lambda: self.desktop.run(["xdotool", "search", "--onlyvisible", "--name", "^dragsource$"]).split(),
                 what="the drag source")
        time.sleep(0.3)
        l = self.launchers[-1]
        l.drag((140, 340), target, steps=10)
        time.sleep(0.5)
        source.terminate()

    def case_drop(self):
        l = self.launcher()
        self.drag_files([self.fx("notes.txt"), self.fx("red.png")], (900, 50))
        group = wait_for(lambda: l.exists("QuillbrookPath.txt") and l.read("QuillbrookPath.txt"),
                         what="the group file")
        check_equal((entry(self.fx("notes.txt"), "", "notes") + "\r\n"
                     + entry(self.fx("red.png"), "", "red") + "\r\n").encode(), group, "the group file")
        # A drag of plain text is refused: nothing more is registered.
        self.drag_files([self.fx("red.png")], (900, 50), as_text=True)
        time.sleep(0.5)
        check_equal(group, l.read("QuillbrookPath.txt"), "the group file after a drag of text")
        l.key("ctrl+n")  # leave registration mode: the button shows
        self.pointer_away()
        time.sleep(0.3)
        self.shot("after-drop.png", crop=(600, 0, 640, 130))
        shown = self.desktop.mean_colour(*button_centre(0), 4, 4)
        check(colour_distance(shown, (255, 255, 255)) > 5, "the first button shown, not white", shown)

    def button_colours(self, count):
        return [self.desktop.mean_colour(*button_centre(i), 6, 6) for i in range(count)]

    def case_reorder(self):
        self.clear_records()
        names = ["red.png", "notes.txt", "green.png", "recorder"]
        group = "".join(entry(self.fx(n), "", os.path.splitext(n)[0]) + "\r\n" for n in names)
        l = self.launcher(files={"QuillbrookPath.txt": group})
        self.pointer_away()
        time.sleep(0.3)
        self.shot("reorder-before.png", crop=(600, 0, 640, 130))
        red, _, green, _ = self.button_colours(4)
        # The red picture, picked up and carried past the green one.
        start = button_centre(0)
        l.drag(start, (button_centre(2)[0] + 10, start[1]), steps=12)
        order = ["notes.txt", "green.png", "red.png", "recorder"]
        expected = "".join(entry(self.fx(n), "", os.path.splitext(n)[0]) + "\r\n" for n in order).encode()
        wait_for(lambda: l.read("QuillbrookPath.txt") == expected, what="the new order saved")
        self.pointer_away()
        time.sleep(0.3)
        self.shot("reorder-after.png", crop=(600, 0, 640, 130))
        now = self.button_colours(4)
        check(colour_distance(now[1], green) < 12 and colour_distance(now[2], red) < 12,
              f"green second and red third (red {red}, green {green})", now)
        # A plain click still launches what now stands last.
        self.click_button(3)
        wait_for(self.records, what="the recorder to run")
        # Released outside the bar: everything stays.
        l.drag(button_centre(0), (900, 500), steps=10)
        time.sleep(0.3)
        check_equal(expected, l.read("QuillbrookPath.txt"), "the group file after a release outside")

    def case_hand_edit(self):
        # A line appended by hand, as `echo line >> file` would: no save, no
        # key, and the new button shows within a second.
        red_line = entry(self.fx("red.png"), "", "red") + "\r\n"
        l = self.launcher(files={"QuillbrookPath.txt": red_line})
        self.pointer_away()
        time.sleep(0.5)
        red = self.button_colours(1)[0]
        empty = self.desktop.mean_colour(*button_centre(1), 6, 6)
        green_line = entry(self.fx("green.png"), "", "green") + "\r\n"
        appended = time.monotonic()
        with open(l.path("QuillbrookPath.txt"), "a", newline="") as f:
            f.write(green_line)
        green = wait_for(lambda: (lambda c: c if colour_distance(c, empty) > 40 else None)(
            self.desktop.mean_colour(*button_centre(1), 6, 6)), timeout=3.0, what="a second button")
        took = time.monotonic() - appended
        self.shot("hand-edit.png", crop=(600, 0, 300, 130))
        check(took < 1.0, "the new button within a second", f"{took:.2f}s")
        check(green[1] > green[0] + 60, "the green picture's button", green)
        check(colour_distance(self.button_colours(1)[0], red) < 12, "the red one still first", red)
        check_equal((red_line + green_line).encode(), l.read("QuillbrookPath.txt"), "the group file as edited")

    def case_drag_out(self):
        l = self.launcher(files={"QuillbrookPath.txt": entry(self.fx("notes.txt"), "", "notes") + "\r\n"})
        argv = [self.args.droptarget, "--at", "300,300"]
        target = subprocess.Popen(argv, env=self.desktop.env, stdout=subprocess.PIPE, text=True,
                                  start_new_session=True)
        self.desktop.procs.append(target)
        wait_for(lambda: self.desktop.run(["xdotool", "search", "--onlyvisible", "--name", "^droptarget$"]).split(),
                 what="the drop target")
        time.sleep(0.3)
        before = l.read("QuillbrookPath.txt")
        l.drag(button_centre(0), (380, 360), steps=12)
        line = target.stdout.readline().strip()
        check_equal("url file://" + self.fx("notes.txt").replace(" ", "%20"), line, "what the drop target got")
        target.terminate()
        check_equal(before, l.read("QuillbrookPath.txt"), "the group file after a drag out")
        check(l.running(), "the launcher still running", l.proc.returncode)

    def case_drop_many(self):
        l = self.launcher()
        files = [self.fx("notes.txt"), self.fx("red.png"), self.fx("projects")]
        self.drag_files(files, (900, 50))
        lines = [entry(f, "", os.path.splitext(os.path.basename(f))[0]) for f in files]
        wait_for(lambda: l.exists("QuillbrookPath.txt")
                 and l.read("QuillbrookPath.txt") == "".join(x + "\r\n" for x in lines).encode(),
                 what="all three registered")
        # Dropped on the second button (beneath the drop area): goes before it.
        self.drag_files([self.fx("green.png"), self.fx("song.mp3")], button_centre(1))
        lines[1:1] = [entry(self.fx("green.png"), "", "green"), entry(self.fx("song.mp3"), "", "song")]
        wait_for(lambda: l.read("QuillbrookPath.txt") == "".join(x + "\r\n" for x in lines).encode(),
                 what="two inserted before the second")

    # --- Files dropped on a program's button ------------------------------

    def drop_on(self, paths, target, shot=None):
        """Drags `paths` from our drag source onto `target` and releases
        there; returns the action the bar answered (0: refused, 1: copy,
        4: link). `shot` names a screenshot taken while the drag hovers."""
        argv = [self.args.dragsource, "--at", "100,300"] + paths
        source = subprocess.Popen(argv, env=self.desktop.env, stdout=subprocess.PIPE, text=True,
                                  start_new_session=True)
        self.desktop.procs.append(source)
        wait_for(lambda: self.desktop.run(["xdotool", "search", "--onlyvisible", "--name", "^dragsource$"]).split(),
                 what="the drag source")
        time.sleep(0.3)
        d = self.desktop
        d.xdotool("mousemove", 140, 340)
        time.sleep(0.1)
        d.xdotool("mousedown", 1)
        time.sleep(0.1)
        steps = 10
        for i in range(1, steps + 1):
            d.xdotool("mousemove", 140 + (target[0] - 140) * i // steps, 340 + (target[1] - 340) * i // steps)
            time.sleep(0.05)
        time.sleep(0.4)
        if shot:
            self.shot(shot, crop=(600, 0, 640, 160))
        d.xdotool("mouseup", 1)
        line = source.stdout.readline().strip()
        # The source answers the bar's requests for the data until it ends.
        time.sleep(0.5)
        source.terminate()
        check(line.startswith("drop-result "), "the drag source's answer", line)
        return int(line.split()[1])

    def text_entry(self):
        """A desktop entry for a text program: the recorder, for text files only."""
        path = self.fx("textrec.desktop")
        with open(path, "w") as f:
            f.write(f"[Desktop Entry]\nType=Application\nName=TextRec\nExec={self.recorder} %F\n"
                    "MimeType=text/plain;\nIcon=accessories-text-editor\n")
        return path

    def case_drop_open_text(self):
        self.clear_records()
        l = self.launcher(files={"QuillbrookPath.txt": entry(self.text_entry(), "", "TextRec") + "\r\n"})
        group = l.read("QuillbrookPath.txt")
        answer = self.drop_on([self.fx("notes.txt")], button_centre(0), shot="drop-open-hover.png")
        check_equal(1, answer, "the drop answered with a copy")
        recs = wait_for(self.records, what="the text program to start")
        check_equal([self.fx("notes.txt")], recs[0]["argv"][1:], "the program's arguments")
        check_equal(self.fixtures, recs[0]["cwd"], "the program's working folder")
        check_equal(group, l.read("QuillbrookPath.txt"), "the group file after the drop")

    def case_drop_open_program(self):
        self.clear_records()
        l = self.launcher(files={"QuillbrookPath.txt": entry(self.recorder, "--first 'two words'", "Rec") + "\r\n"})
        self.drop_on([self.fx("notes.txt"), self.fx("a b")], button_centre(0))
        recs = wait_for(self.records, what="the program to start")
        time.sleep(0.5)
        check(len(self.records()) == 1, "one start for both files", self.records())
        check_equal(["--first", "two words", self.fx("notes.txt"), self.fx("a b")], recs[0]["argv"][1:],
                    "the program's arguments")
        check_equal(self.fixtures, recs[0]["cwd"], "the program's working folder")
        check(l.running(), "the launcher still running", l.proc.returncode)

    def case_drop_open_refused(self):
        self.clear_records()
        group = entry(self.text_entry(), "", "TextRec") + "\r\n" + entry(self.fx("notes.txt"), "", "notes") + "\r\n"
        l = self.launcher(files={"QuillbrookPath.txt": group})
        # A picture on the text-only entry, a file on a document, and on the
        # free area: every one refused, and nothing starts or is registered.
        for target, what in ((button_centre(0), "a picture on a text entry"),
                             (button_centre(1), "a drop on a document"), ((1000, 50), "a drop on the free area")):
            check_equal(0, self.drop_on([self.fx("red.png")], target), what + " refused")
        time.sleep(1.0)
        check_equal([], self.records(), "nothing started")
        check_equal(group.encode(), l.read("QuillbrookPath.txt"), "the group file after the refused drops")

    def case_drop_open_registration(self):
        self.clear_records()
        lines = [entry(self.recorder, "", "Rec"), entry(self.text_entry(), "", "TextRec")]
        l = self.launcher(files={"QuillbrookPath.txt": "".join(x + "\r\n" for x in lines)})
        l.key("ctrl+n")
        time.sleep(0.3)
        check_equal(1, self.drop_on([self.fx("notes.txt")], button_centre(1), shot="drop-open-registration.png"),
                    "the drop taken")
        lines[1:1] = [entry(self.fx("notes.txt"), "", "notes")]
        expected = "".join(x + "\r\n" for x in lines).encode()
        wait_for(lambda: l.read("QuillbrookPath.txt") == expected, what="the file inserted before the second button")
        check_equal([], self.records(), "nothing started in registration mode")

    def case_keys(self):
        group = entry(self.fx("notes.txt"), "", "notes") + "\r\n" + entry(self.fx("red.png")) + "\r\n"
        l = self.launcher(files={"QuillbrookPath.txt": group.replace(",,\r\n", "\r\n")})
        l.key("ctrl+n")
        l.key("ctrl+n")
        wait_for(lambda: l.read("QuillbrookPath.txt") == group.encode(), what="the group saved on leaving")
        l.key("F2")
        wait_for(lambda: l.exists("Quillbrook.ini") and b"Index=1" in l.read("Quillbrook.ini"),
                 what="the settings written with group 2")
        check(not l.exists("QuillbrookPath1.txt"), "an empty group not written by switching", l.files())
        l.key("F1")
        wait_for(lambda: b"Index=0" in l.read("Quillbrook.ini"), what="group 1 again")
        os.remove(l.path("Quillbrook.ini"))
        l.key("ctrl+x")
        wait_for(lambda: not l.running(), what="the launcher to end")
        ini = l.read("Quillbrook.ini").decode()
        for key in ("Top=", "Left=", "Height=", "Width=", "TaskBar=", "Corner=", "GapH=", "GapV=",
                    "Shadow=", "Glow=", "Padding=", "Show=", "Stealth=", "Index=", "Name4=",
                    "Opa=", "Color0=", "Color1=", "Gradient=", "Direction="):
            check(key in ini, f"{key} in the settings", ini)

    def visible_windows(self, l):
        return set(self.desktop.run(["xdotool", "search", "--all", "--onlyvisible", "--pid", str(l.proc.pid),
                                     "--name", ""]).split())

    def case_hint_inactive_bar(self):
        l = self.launcher(files={"QuillbrookPath.txt": entry(self.fx("notes.txt"), "", "notes") + "\r\n"})
        # Another window, away from the bar, is the active one.
        other = self.launcher(ini="[Form]\nLeft=100\nTop=300\n")
        other.focus()
        active = self.desktop.xdotool("getactivewindow").strip()
        check_equal(other.window, active, "the other window active")
        before = self.visible_windows(l)
        x, y = button_centre(0)
        self.desktop.xdotool("mousemove", x - 5, y - 5)
        time.sleep(0.05)
        self.desktop.xdotool("mousemove", x, y)
        hint = wait_for(lambda: self.visible_windows(l) - before, timeout=3, what="the hint over the inactive bar")
        self.shot("hint-inactive-bar.png", crop=(600, 0, 400, 160))
        g = l._geometry(sorted(hint)[0])
        check(g is not None and abs(g[0] - x) < 200 and 0 <= g[1] - y < 80,
              "the hint next to the pointer", (g, (x, y)))
        check_equal(other.window, self.desktop.xdotool("getactivewindow").strip(), "the other window still active")

    def case_wheel_eighth_button(self):
        self.clear_records()
        group = "".join(entry(self.fx("notes.txt"), "", f"n{i}") + "\r\n" for i in range(7))
        group += entry(self.recorder, "eighth", "Rec") + "\r\n"
        l = self.launcher(files={"QuillbrookPath.txt": group})
        check_equal((670, 0, 500, 100), l.geometry(), "the default bar")
        self.pointer_away()
        time.sleep(0.3)
        self.shot("rows-before-wheel.png", crop=(600, 0, 640, 130))
        # The mark under the rows: the plate's bottom margin, darker at its middle.
        mark = self.desktop.mean_colour(670 + 245 - 7, 100 - 10 - 8, 14, 6)
        plain = self.desktop.mean_colour(670 + 100, 100 - 10 - 8, 14, 6)
        check(colour_distance(mark, plain) > 8, "a mark where rows lie below", (mark, plain))
        x, y = button_centre(0)
        self.desktop.xdotool("mousemove", x, y)
        self.desktop.xdotool("click", 5)  # the wheel, one notch towards the user
        time.sleep(0.6)
        self.pointer_away()
        time.sleep(0.3)
        self.shot("rows-after-wheel.png", crop=(600, 0, 640, 130))
        check_equal((670, 0, 500, 100), l.geometry(), "the bar's size after scrolling")
        mark = self.desktop.mean_colour(670 + 245 - 7, 100 - 10 - 8, 14, 6)
        check(colour_distance(mark, plain) <= 8, "no mark below the last row", (mark, plain))
        # The 8th button now stands where the first stood.
        self.click_button(0)
        recs = wait_for(self.records, what="the 8th button to launch")
        check_equal(["eighth"], recs[0]["argv"][1:], "the 8th entry's parameters")

    def case_group_name_shown(self):
        l = self.launcher(ini="[Menu]\nName1=Second group\n",
                          files={"QuillbrookPath.txt": entry(self.fx("red.png")) + "\r\n"})
        self.pointer_away()
        time.sleep(0.3)
        size = l.geometry()
        # Group 2 is empty: its drop area fills the plate's middle, and the
        # name shows at the top, in the middle; the same strip further left
        # is the drop area alone.
        name = (670 + 245 - 30, 8, 60, 10)
        beside = (670 + 60, 8, 60, 10)
        l.key("F2")
        shown = self.desktop.mean_colour(*name)
        ground = self.desktop.mean_colour(*beside)
        self.shot("group-name.png", crop=(600, 0, 640, 130))
        check(sum(ground) - sum(shown) > 150, "the group's name over the plate", (shown, ground))
        check_equal(size, l.geometry(), "the bar's size with the name shown")
        time.sleep(2)
        after = self.desktop.mean_colour(*name)
        ground = self.desktop.mean_colour(*beside)
        check(colour_distance(after, ground) < 12, "the name gone after a moment", (after, ground))

    def case_launch(self):
        self.clear_records()
        params = '"/tmp/a b/x.txt" \'it is\' plain'
        group = entry(self.recorder, params, "Rec") + "\r\n"
        l = self.launcher(files={"QuillbrookPath.txt": group})
        self.click_button(0)
        recs = wait_for(self.records, what="the recorder to run")
        check_equal(["/tmp/a b/x.txt", "it is", "plain"], recs[0]["argv"][1:], "the recorder's arguments")
        check_equal(self.fixtures, recs[0]["cwd"], "the recorder's working folder")
        self.clear_records()
        self.desktop.xdotool("mousemove", *button_centre(0))
        for _ in range(20):
            self.desktop.xdotool("click", 1)
        wait_for(lambda: len(self.records()) == 20, timeout=20, what="twenty launches")
        time.sleep(0.5)
        states = l.children_states()
        check(not [s for s in states if s.startswith("Z")], "no zombie children", states)

    def filter_bar(self):
        """A bar whose shown group holds two documents; the recorder stands in
        group 2 and in group 3 (under a Japanese hint), never shown."""
        self.clear_records()
        files = {
            "QuillbrookPath.txt": entry(self.fx("notes.txt"), "", "notes") + "\r\n"
            + entry(self.fx("red.png")) + "\r\n",
            "QuillbrookPath1.txt": entry(self.fx("recorder"), "from-two", "Recorder") + "\r\n",
            "QuillbrookPath2.txt": entry(self.fx("green.png")) + "\r\n"
            + entry(self.fx("recorder"), "from-three", "録音ノート") + "\r\n",
        }
        l = self.launcher(files=files)
        self.pointer_away()
        return l, files

    def type_on_bar(self, l, text):
        l.focus()
        self.desktop.xdotool("type", "--delay", "60", text)
        time.sleep(0.3)

    def case_filter_launch(self):
        l, files = self.filter_bar()
        self.type_on_bar(l, "recor")
        self.shot("filter.png", crop=BAR)
        # Only the recorder stands on the bar now, first and focused.
        check(colour_distance(self.desktop.mean_colour(*button_centre(0), 4, 4), (220, 40, 40)) > 60,
              "the red picture no longer first", self.desktop.mean_colour(*button_centre(0), 4, 4))
        self.desktop.xdotool("key", "Return")
        recs = wait_for(self.records, what="the recorder to run from group 2")
        check_equal(["from-two"], recs[0]["argv"][1:], "the arguments of group 2's entry")
        check_equal(self.fixtures, recs[0]["cwd"], "its working folder")
        for name, content in files.items():
            check_equal(content.encode(), l.read(name), f"{name} untouched by the filter")

    def red_second(self):
        return colour_distance(self.desktop.mean_colour(*button_centre(1), 4, 4), (220, 40, 40)) < 40

    def case_filter_escape(self):
        # Pixel-exact comparisons of the translucent plate vary on this
        # desktop from one repaint to the next: the picture in the second
        # button tells the group from the filter's matches.
        l, files = self.filter_bar()
        check(self.red_second(), "the red picture second before typing", "another colour")
        self.type_on_bar(l, "notes")
        check(not self.red_second(), "the red picture gone while filtering", "still red")
        self.desktop.xdotool("key", "Escape")
        wait_for(self.red_second, what="the group back after Escape")
        self.shot("filter-escaped.png", crop=BAR)
        self.type_on_bar(l, "not")
        check(not self.red_second(), "the red picture gone while filtering again", "still red")
        for _ in range(3):
            self.desktop.xdotool("key", "BackSpace")
        wait_for(self.red_second, what="the group back once the filter is empty")
        for name, content in files.items():
            check_equal(content.encode(), l.read(name), f"{name} untouched by the filter")

    def case_filter_japanese(self):
        # Text an input method commits reaches the filter as typed text;
        # hiragana finds the katakana hint of an entry in another group.
        l, _ = self.filter_bar()
        self.type_on_bar(l, "のーと")
        self.desktop.xdotool("key", "ctrl+1")
        recs = wait_for(self.records, what="the recorder to run from group 3")
        check_equal(["from-three"], recs[0]["argv"][1:], "the arguments of group 3's entry")

    def case_launch_failure(self):
        missing = self.fx("gone.txt")
        with open(missing, "w") as f:
            f.write("x")
        l = self.launcher(files={"QuillbrookPath.txt": entry(missing) + "\r\n"})
        os.remove(missing)
        self.click_button(0)
        box = wait_for(lambda: self.desktop.run(["xdotool", "search", "--all", "--onlyvisible", "--pid",
                                                 str(l.proc.pid), "--name", "Quillbrook"]).split()[1:],
                       what="the failure message")
        check(l.running(), "the launcher still running", l.proc.returncode)
        self.shot("launch-failure.png")
        check(box, "a message window", box)

    def case_missing_file_greyed(self):
        # The same file type twice: one there, one on a drive not mounted.
        group = entry(self.fx("report.pdf"), "", "there") + "\r\n" \
            + entry(self.fx("usb/report.pdf"), "", "away") + "\r\n"
        l = self.launcher(files={"QuillbrookPath.txt": group})
        self.pointer_away()
        time.sleep(0.5)
        self.shot("missing-file-greyed.png", crop=(600, 0, 300, 130))
        inset = 14
        live_x, y = button_centre(0)
        away_x, _ = button_centre(1)
        live = self.desktop.mean_colour(live_x - inset, y - inset, 2 * inset, 2 * inset)
        away = self.desktop.mean_colour(away_x - inset, y - inset, 2 * inset, 2 * inset)
        check(max(away) - min(away) <= 6, "the missing file's icon in greys", away)
        check(colour_distance(live, away) > 10, "the missing file's icon unlike the live one's",
              (live, away))
        check_equal(group.encode(), l.read("QuillbrookPath.txt"), "the group file")

    def click_button(self, i):
        x, y = button_centre(i)
        self.desktop.xdotool("mousemove", x, y)
        time.sleep(0.1)
        self.desktop.xdotool("click", 1)

    def case_move_and_resize(self):
        l = self.launcher(files={"QuillbrookPath.txt": entry(self.fx("notes.txt")) + "\r\n"})
        # The window manager may resize it, down to 70 x 70.
        self.desktop.xdotool("windowsize", l.window, 30, 30)
        wait_for(lambda: l.geometry()[2:] == (70, 70), timeout=3, what="the bar at 70 x 70")
        self.desktop.xdotool("windowsize", l.window, 500, 100)
        time.sleep(0.3)
        # The window manager takes over once the pointer has passed the drag
        # threshold, so the first step of the drag may be lost.
        l.drag((1100, 50), (1000, 150))
        g = l.geometry()
        check(abs(g[0] - 570) <= 20 and abs(g[1] - 100) <= 20, "the bar moved to about (570, 100)", g)
        l.key("ctrl+r")
        x, y = g[0] + 430, g[1] + 50
        l.drag((x, y), (x + 100, y + 100))
        g2 = l.geometry()
        check((g2[0], g2[1]) == (g[0], g[1]) and abs(g2[2] - 600) <= 20 and abs(g2[3] - 200) <= 20,
              f"the bar at ({g[0]}, {g[1]}), about 600 x 200", g2)
        # Resizing never goes below the minimum.
        l.drag((g2[0] + g2[2] - 50, g2[1] + 50), (g2[0] - 200, g2[1] - 100))
        g = l.geometry()
        check_equal((70, 70), (g[2], g[3]), f"the bar's size (geometry {g})")
        # The settings keep what the user did, not what the window manager
        # imposed afterwards.
        self.desktop.xdotool("windowmove", l.window, 300, 300)
        self.desktop.xdotool("windowsize", l.window, 400, 300)
        time.sleep(0.4)
        l.key("ctrl+x")
        wait_for(lambda: not l.running(), what="the launcher to end")
        ini = l.read("Quillbrook.ini")
        for line in (f"Top={g[1]}", f"Left={g[0]}", "Height=70", "Width=70"):
            check(f"{line}\r\n".encode() in ini, f"{line} in the settings", ini)

    def case_screen_gone(self):
        # Two RandR monitors side by side; the bar stands on the right one.
        # The left one takes Xvfb's output, whose own monitor would else
        # cover the whole screen.
        d = self.desktop
        half = Desktop.WIDTH // 2
        d.run(["xrandr", "--setmonitor", "left", f"{half}/100x{Desktop.HEIGHT}/100+0+0", "screen"], check=True)
        d.run(["xrandr", "--setmonitor", "right", f"{half}/100x{Desktop.HEIGHT}/100+{half}+0", "none"], check=True)
        try:
            ini = "[Form]\nLeft=900\nTop=200\nWidth=500\nHeight=100\n"
            l = self.launcher(ini=ini)
            before = l.files()
            check_equal((900, 200, 500, 100), l.geometry(), "the bar at its stored place")
            d.run(["xrandr", "--delmonitor", "right"], check=True)
            wait_for(lambda: l.geometry() == (half - 500, 200, 500, 100), timeout=3,
                     what=f"the bar wholly on the left monitor (at {l.geometry()})")
            d.run(["xrandr", "--setmonitor", "right", f"{half}/100x{Desktop.HEIGHT}/100+{half}+0", "none"],
                  check=True)
            wait_for(lambda: l.geometry() == (900, 200, 500, 100), timeout=3,
                     what=f"the bar back at its stored place (at {l.geometry()})")
            check_equal(before, l.files(), "the launcher's files")
        finally:
            for name in ("left", "right"):
                d.run(["xrandr", "--delmonitor", name])

    def case_huge_width(self):
        l = self.launcher(ini="[Form]\nWidth=99999999\n")
        x, y, w, h = l.geometry()
        check(x >= 0 and y >= 0 and x + w <= Desktop.WIDTH and y + h <= Desktop.HEIGHT, "the bar on the screen",
              (x, y, w, h))
        l.key("ctrl+x")
        wait_for(lambda: not l.running(), what="the launcher to end")
        ini = l.read("Quillbrook.ini")
        check(b"Width=99999999\r\n" in ini and b"Left=670\r\n" in ini, "Width=99999999 and Left=670 kept", ini)

    def case_stealth(self):
        l = self.launcher(ini="[Mode]\nStealth=1\n", files={"QuillbrookPath.txt": self.mixed_group()})
        self.desktop.xdotool("mousemove", 1100, 60)
        time.sleep(0.8)
        icon = self.desktop.mean_colour(*button_centre(1), 8, 8)  # the red PNG
        # Away from the pointer: the button's hint shows below it, though
        # the bar is not the active window.
        plate = self.desktop.mean_colour(680, 82, 8, 6)
        check(colour_distance(icon, plate) > 40, f"the icon shown, unlike the plate {plate}", icon)
        self.pointer_away()
        time.sleep(0.95)
        faded = self.desktop.mean_colour(*button_centre(1), 8, 8)
        check(colour_distance(faded, plate) < 12, f"the icon faded into the plate {plate}", faded)
        self.shot("stealth-faded.png", crop=(600, 0, 640, 130))
        self.desktop.xdotool("mousemove", 1100, 60)
        time.sleep(0.6)
        back = self.desktop.mean_colour(*button_centre(1), 8, 8)
        check(colour_distance(back, icon) < 12, f"the icon shown again as {icon}", back)
        check(l.running(), "the launcher still running", l.proc.returncode)

    def case_stealth_menu_open(self):
        # A right click on a button opens its menu, whose grab hides the
        # pointer from the bar: the buttons must stay shown while the
        # pointer is still over the bar. Watched on the button to the left,
        # which the menu (opening down and right) never covers.
        l = self.launcher(ini="[Mode]\nStealth=1\n", files={"QuillbrookPath.txt": self.mixed_group()})
        x, y = button_centre(1)
        watched = (button_centre(0)[0] - 4, button_centre(0)[1] - 4, 8, 8)
        self.desktop.xdotool("mousemove", x, y)
        time.sleep(0.8)
        icon = self.desktop.mean_colour(*watched)
        plate = self.desktop.mean_colour(1100, 80, 8, 8)
        check(colour_distance(icon, plate) > 40, f"the icon shown, unlike the plate {plate}", icon)
        self.desktop.xdotool("click", 3)
        time.sleep(1.2)
        shown = self.desktop.mean_colour(*watched)
        self.shot("stealth-menu-open.png", crop=(600, 0, 640, 200))
        self.desktop.xdotool("key", "Escape")
        check(colour_distance(shown, icon) < 12, f"the icon still shown as {icon} with the menu open", shown)
        check(l.running(), "the launcher still running", l.proc.returncode)

    def window_named(self, launcher, title):
        def find():
            for wid in self.desktop.run(["xdotool", "search", "--all", "--onlyvisible", "--pid", str(launcher.proc.pid),
                                         "--name", f"^{title}$"]).split():
                return wid
        return wait_for(find, what=f"the window {title}")

    def client_origin(self, wid):
        out = self.desktop.run(["xwininfo", "-id", wid])
        values = {}
        for line in out.splitlines():
            if ":" in line:
                key, value = line.split(":", 1)
                values[key.strip()] = value.strip()
        return int(values["Absolute upper-left X"]), int(values["Absolute upper-left Y"])

    def type_into(self, origin, at, text):
        x, y = origin[0] + at[0], origin[1] + at[1]
        self.desktop.xdotool("mousemove", x, y)
        self.desktop.xdotool("click", 1)
        time.sleep(0.1)
        self.desktop.xdotool("key", "ctrl+a")
        self.desktop.xdotool("type", "--", text)
        self.desktop.xdotool("key", "Tab")
        time.sleep(0.1)

    def case_dialogs(self):
        l = self.launcher(files={"QuillbrookPath.txt": self.mixed_group()})
        l.key("F12")
        dialog = self.window_named(l, "設定")
        time.sleep(0.4)
        origin = self.client_origin(dialog)
        self.type_into(origin, (8 + 112 + 20, 224 + 44 + 12), "32")  # アイコン大きさ
        self.desktop.xdotool("mousemove", origin[0] + 8 + 16 + 8, origin[1] + 96 + 58 + 12)
        self.desktop.xdotool("click", 1)  # グラジエント
        time.sleep(0.3)
        self.shot("settings-dialog.png")
        self.desktop.xdotool("mousemove", origin[0] + 360 + 50, origin[1] + 496 + 16)
        self.desktop.xdotool("click", 1)  # Exit
        wait_for(lambda: l.exists("Quillbrook.ini") and b"Width=32" in l.read("Quillbrook.ini")
                 and b"Gradient=1" in l.read("Quillbrook.ini"), what="the settings written at closing")
        time.sleep(0.3)
        # Buttons rebuilt at 32 + 14: the red PNG now stands second at 46 a side.
        self.pointer_away()
        time.sleep(0.3)
        self.shot("bar-small-icons.png", crop=(600, 0, 640, 130))
        red = self.desktop.mean_colour(684 + 46 + 2 + 20, 14 + 20, 6, 6)
        check(red[0] > 180 and red[1] < 90, "red at the second button's place", red)

        # The parameter editor, from the first button's context menu.
        self.desktop.xdotool("mousemove", 684 + 23, 14 + 23)
        time.sleep(0.2)
        self.desktop.xdotool("click", 3)
        time.sleep(0.4)
        for key in ("Down", "Down", "Down", "Return"):
            self.desktop.xdotool("key", key)
            time.sleep(0.1)
        editor = self.window_named(l, "パラメータ編集")
        time.sleep(0.4)
        origin = self.client_origin(editor)
        self.type_into(origin, (24 + 100, 88 + 12), "--new 'a b'")
        self.shot("parameter-editor.png")
        self.desktop.xdotool("mousemove", origin[0] + 32 + 50, origin[1] + 192 + 16)
        self.desktop.xdotool("click", 1)  # 変更
        expected = entry(self.fx("terminal.desktop"), "--new 'a b'", "terminal").encode()
        wait_for(lambda: l.read("QuillbrookPath.txt").split(b"\r\n")[0] == expected,
                 what="the edited entry saved")

    def case_settings_escape(self):
        # Escape closes the settings dialog as its Exit button does: what was
        # changed is saved.
        l = self.launcher(files={"QuillbrookPath.txt": self.mixed_group()})
        l.key("F12")
        dialog = self.window_named(l, "設定")
        time.sleep(0.4)
        origin = self.client_origin(dialog)
        self.desktop.xdotool("mousemove", origin[0] + 8 + 16 + 8, origin[1] + 96 + 58 + 12)
        self.desktop.xdotool("click", 1)  # グラジエント
        time.sleep(0.2)
        self.desktop.xdotool("key", "Escape")
        wait_for(lambda: l.exists("Quillbrook.ini") and b"Gradient=1" in l.read("Quillbrook.ini"),
                 what="the settings written when Escape closed the dialog")
        shown = ["xdotool", "search", "--all", "--onlyvisible", "--pid", str(l.proc.pid), "--name", "^設定$"]
        wait_for(lambda: not self.desktop.run(shown).split(), what="the settings dialog closed")
        check(l.running(), "the launcher still running", l.proc.returncode)

    def case_one_per_folder(self):
        l = self.launcher(files={"QuillbrookPath.txt": entry(self.fx("notes.txt")) + "\r\n"})
        other = self.launcher()  # another folder: runs beside it
        other.focus()
        before = l.files()
        started = time.monotonic()
        second = subprocess.run([l.binary], cwd=l.dir, env=l.env, capture_output=True, timeout=5)
        took = time.monotonic() - started
        check(second.returncode == 0 and took < 1.0, "the second start to end at once with code 0",
              (second.returncode, took, second.stderr))
        check(l.running() and other.running(), "both launchers still running",
              (l.proc.returncode, other.proc.returncode))
        wait_for(lambda: self.desktop.run(["xdotool", "getactivewindow"]).strip() == l.window,
                 what="the first bar to come forward")
        check_equal(before, l.files(), "the first launcher's files")
        # A launcher killed outright does not stop the next start.
        l.proc.kill()
        l.proc.wait()
        l.log.close()
        l.start()
        check(l.running(), "the launcher started again", l.proc.returncode)
        check_equal(before, l.files(), "the launcher's files after a restart")

    def active_window(self):
        return self.desktop.run(["xdotool", "getactivewindow"]).strip()

    def top_of_stack(self):
        """The window the window manager stacks above all others (_NET_CLIENT_LIST_STACKING)."""
        out = self.desktop.run(["xprop", "-root", "_NET_CLIENT_LIST_STACKING"])
        return int(out.split()[-1], 16) if "#" in out else None

    def cover_bar(self):
        """A window of another program over the bar's first buttons, holding the focus."""
        proc = self.desktop.spawn([self.args.droptarget, "--at", "690,5"])
        self.extra_procs.append(proc)
        wid = wait_for(lambda: (self.desktop.run(["xdotool", "search", "--onlyvisible", "--name", "^droptarget$"])
                                .split() or [None])[0], what="the covering window")
        self.desktop.xdotool("windowactivate", "--sync", wid)
        wait_for(lambda: self.active_window() == wid, what="the covering window to have the focus")
        return wid

    def check_summoned(self, l, how):
        wait_for(lambda: self.active_window() == l.window, what=f"the bar to have the focus ({how})")
        check_equal(self.top_of_stack(), int(l.window), f"the bar above the other window ({how})")
        # The focus is on the first button: Enter opens its entry.
        self.clear_records()
        self.desktop.xdotool("key", "Return")
        wait_for(lambda: self.records(), what=f"the first button's entry to start ({how})")

    def case_summon(self):
        self.extra_procs = []
        group = entry(self.recorder, "first") + "\r\n" + entry(self.fx("red.png")) + "\r\n"
        l = self.launcher(files={"QuillbrookPath.txt": group})
        try:
            cover = self.cover_bar()
            check(self.top_of_stack() != int(l.window), "the bar covered before the key", self.top_of_stack())
            self.shot("summon-before.png", crop=(600, 0, 640, 160))
            self.desktop.xdotool("key", "ctrl+alt+space")
            self.check_summoned(l, "the key")
            self.shot("summon-after.png", crop=(600, 0, 640, 160))
            self.desktop.xdotool("key", "ctrl+alt+space")
            wait_for(lambda: self.active_window() == cover, what="the focus back to the other window (the key)")

            for option in ("--toggle", "--show"):
                started = subprocess.run([l.binary, option], cwd=l.dir, env=l.env, capture_output=True, timeout=5)
                check(started.returncode == 0, f"{option} handed over and ended", started)
                self.check_summoned(l, option)
                self.desktop.xdotool("windowactivate", "--sync", cover)
            subprocess.run([l.binary, "--toggle"], cwd=l.dir, env=l.env, capture_output=True, timeout=5)
            self.check_summoned(l, "--toggle again")
            subprocess.run([l.binary, "--toggle"], cwd=l.dir, env=l.env, capture_output=True, timeout=5)
            wait_for(lambda: self.active_window() == cover, what="the focus back to the other window (--toggle)")
            check(not l.exists("Quillbrook.ini") or b"[Keys]" not in l.read("Quillbrook.ini"),
                  "no summoning key written while it is the default", l.files())

            # A second launcher cannot have the key the first holds: it says so and runs on.
            other = self.launcher()
            wait_for(lambda: self.desktop.run(["xdotool", "search", "--onlyvisible", "--pid",
                                                         str(other.proc.pid), "--name", "^Quillbrook$"]).split(),
                               what="the message that the key is taken")
            check(other.running(), "the second launcher runs on", other.proc.returncode)
            self.shot("summon-key-taken.png")
        finally:
            for proc in self.extra_procs:
                proc.kill()
                proc.wait()

    def case_compositor_switch(self):
        # A coloured desktop shows what lies behind the bar; green plate.
        background = (192, 128, 48)
        # (display reports a failure even when it has set the background.)
        self.desktop.run(["display", "-size", f"{Desktop.WIDTH}x{Desktop.HEIGHT}", "-window", "root",
                          "xc:#c08030"])
        self.desktop.stop_compositor()
        try:
            l = self.launcher(ini="[Back]\nColor0=-16744448\n",
                              files={"QuillbrookPath.txt": entry(self.fx("notes.txt")) + "\r\n"})
            self.pointer_away()
            x, y, w, h = BAR
            plate_inside = (x + 400, 80)
            green = (0, 128, 0)

            def pixel(px, py):
                return self.desktop.pixels(px, py, 1, 1)[0][0]

            def without_compositor(name):
                self.shot(name, crop=(600, 0, 640, 130))
                # Cut, not black: the rounded corner and the shadow strip show
                # the desktop; the plate's edge is its own colour to the pixel.
                for px, py in ((x, y), (x + w - 5, 30), (x + 200, h - 4)):
                    seen = pixel(px, py)
                    check(colour_distance(seen, background) < 8, f"{name}: the desktop at ({px}, {py})", seen)
                for px, py in ((x + 8, 0), (x, 50), (x + w - 11, 50), (x + 200, h - 11), plate_inside):
                    seen = pixel(px, py)
                    check(colour_distance(seen, green) < 8, f"{name}: the plate's green at ({px}, {py})", seen)

            without_compositor("no-compositor.png")
            self.desktop.start_compositor()
            # Translucent again: what picom draws behind shows through the
            # plate (black: picom ignores a root background without a pixmap
            # property).
            wait_for(lambda: colour_distance(pixel(*plate_inside), green) > 8, timeout=5,
                     what="the plate to turn translucent")
            self.shot("compositor-started.png", crop=(600, 0, 640, 130))
            self.desktop.stop_compositor()
            wait_for(lambda: colour_distance(pixel(*plate_inside), green) < 8, timeout=5,
                     what="the plate to turn solid")
            without_compositor("compositor-stopped.png")
        finally:
            if self.desktop.compositor not in self.desktop.procs:
                self.desktop.start_compositor()

    def case_drag_follows_pointer(self):
        l = self.launcher(files={"QuillbrookPath.txt": entry(self.fx("notes.txt")) + "\r\n"})
        d = self.desktop
        start = (1100, 50)
        d.xdotool("mousemove", *start)
        time.sleep(0.1)
        d.xdotool("mousedown", 1)
        time.sleep(0.1)
        # Past the drag threshold every step moves the window by exactly as
        # much as the pointer has travelled since the press.
        d.xdotool("mousemove", start[0] + 2, start[1] + 2)
        time.sleep(0.1)
        for dx, dy in ((10, 5), (-40, 30), (-100, 100)):
            d.xdotool("mousemove", start[0] + dx, start[1] + dy)
            want = (BAR[0] + dx, BAR[1] + dy)
            wait_for(lambda: l.geometry()[:2] == want, timeout=2, what=f"the bar at {want}")
        d.xdotool("mouseup", 1)
        time.sleep(0.3)
        check_equal((570, 100), l.geometry()[:2], "the bar's place after the drag")
        l.key("ctrl+x")
        wait_for(lambda: not l.running(), what="the launcher to end")
        ini = l.read("Quillbrook.ini")
        check(b"Left=570\r\n" in ini and b"Top=100\r\n" in ini, "Left=570 and Top=100 saved", ini)

    # --- Other desktops -----------------------------------------------------

    SWAY_INI = "[Form]\nLeft=300\nTop=200\nWidth=500\nHeight=100\n"

    def sway_bar(self, native):
        """The bar under headless sway: through XWayland, or natively on
        Wayland (no X server, QT_QPA_PLATFORM unset)."""
        try:
            sway = Sway().start()
        except Unavailable as e:
            raise Skip(str(e))
        folder = tempfile.mkdtemp(prefix="qb-e2e-sway-bar-")
        try:
            shutil.copy2(self.args.bin, os.path.join(folder, "Quillbrook"))
            with open(os.path.join(folder, "Quillbrook.ini"), "wb") as f:
                f.write(self.SWAY_INI.replace("\n", "\r\n").encode())
            sway.chown(folder)
            unset = "-u DISPLAY -u QT_QPA_PLATFORM" if native else "-u QT_QPA_PLATFORM"
            sway.run_client(f"cd {folder} && exec env {unset} ./Quillbrook >stderr.txt 2>&1")

            def bar():
                return next((v for v in sway.views() if v.get("name") == "Quillbrook"), None)
            try:
                view = wait_for(bar, timeout=15, what="the bar under sway")
            except Timeout:
                print(open(os.path.join(folder, "stderr.txt"), errors="replace").read())
                raise
            check_equal("xdg_shell" if native else "xwayland", view["shell"], "the bar's shell")
            # Floating, without a title bar, at its own size.
            check(view["floating"], "the bar floating", view)
            check(view["deco_rect"]["height"] == 0 and view["border"] in ("csd", "none"), "no title bar and no border",
                  (view["deco_rect"], view["border"]))
            if native:
                time.sleep(0.5)
            else:
                # Centred at first; sway's IPC then puts it where it was.
                view = wait_for(lambda: (lambda v: v and (v["rect"]["x"], v["rect"]["y"]) == (300, 200) and v)(bar()),
                                timeout=5, what="the bar at its stored place")
            check_equal((500, 100), (view["rect"]["width"], view["rect"]["height"]), "the bar's size under sway")
            time.sleep(0.3)
            sway.screenshot(os.path.join(self.shots, "sway-native.png" if native else "sway-xwayland.png"))
            sway.msg(f"[pid={view['pid']}] kill")
            wait_for(lambda: bar() is None, what="the bar to close")
            time.sleep(0.5)
            with open(os.path.join(folder, "Quillbrook.ini"), "rb") as f:
                ini = f.read()
            for line in ("Left=300", "Top=200", "Width=500", "Height=100"):
                check(f"{line}\r\n".encode() in ini, f"{line} in the settings", ini)
        finally:
            sway.stop()
            shutil.rmtree(folder, ignore_errors=True)

    def case_sway_xwayland(self):
        self.sway_bar(native=False)

    def case_wayland_native(self):
        self.sway_bar(native=True)

    PLACED_INI = "[Form]\nLeft=300\nTop=200\nWidth=500\nHeight=100\n[Mode]\nTop=1\n"

    def check_placed_bar(self, desktop, name, more=None):
        """The bar on another X desktop: at its stored place and size,
        undecorated, above, off the taskbar, and its place kept at closing.
        `more` checks what the desktop adds, given the running launcher."""
        l = Launcher(desktop, self.args.bin, ini=self.PLACED_INI)
        try:
            l.start()
            wait_for(lambda: l.geometry() == (300, 200, 500, 100), timeout=3,
                     what=f"the bar at its stored place (at {l.geometry()})")
            extents = desktop.run(["xprop", "-id", l.window, "_NET_FRAME_EXTENTS"])
            check("not found" in extents or "= 0, 0, 0, 0" in extents, "no frame", extents)
            state = l.net_wm_state()
            check("_NET_WM_STATE_SKIP_TASKBAR" in state and "_NET_WM_STATE_ABOVE" in state,
                  "the bar above and off the taskbar", state)
            if more:
                more(l)
            else:
                desktop.screenshot(os.path.join(self.shots, f"{name}.png"))
            l.key("ctrl+x")
            wait_for(lambda: not l.running(), what="the launcher to end")
            ini = l.read("Quillbrook.ini")
            for line in ("Left=300", "Top=200", "Width=500", "Height=100"):
                check(f"{line}\r\n".encode() in ini, f"{line} in the settings", ini)
        except Exception:
            if os.path.exists(l.path("stderr.txt")):
                sys.stdout.write(open(l.path("stderr.txt"), errors="replace").read())
            raise
        finally:
            l.cleanup()

    def xfwm4_bar(self, compositor):
        # xfwm4 reads its settings through xfconf, which needs a session bus.
        for tool in ("xfwm4", "dbus-run-session"):
            if not shutil.which(tool):
                raise Skip(f"{tool} is not installed")
        desktop = Desktop(["dbus-run-session", "--", "xfwm4", f"--compositor={'on' if compositor else 'off'}"],
                          compositor=False)
        try:
            try:
                desktop.start()
            except Timeout as e:
                raise Skip(f"xfwm4 did not start: {e}")
            self.check_placed_bar(desktop, "xfwm4-compositor" if compositor else "xfwm4")
        finally:
            desktop.stop()

    def case_xfwm4(self):
        self.xfwm4_bar(compositor=False)

    def case_xfwm4_compositor(self):
        self.xfwm4_bar(compositor=True)

    def case_kwin(self):
        try:
            kwin = KWin().start()
        except Unavailable as e:
            raise Skip(str(e))
        try:
            def out_of_switcher(l):
                # KWin's own view of the window, from a script it runs.
                states = wait_for(lambda: kwin.window_states("Quillbrook"), timeout=5, what="KWin's window list")
                check_equal({"skipSwitcher": True, "skipTaskbar": True, "keepAbove": True, "noBorder": True},
                            {k: states.get(k) for k in ("skipSwitcher", "skipTaskbar", "keepAbove", "noBorder")},
                            "KWin's states of the bar")
            self.check_placed_bar(kwin.desktop(), "kwin", more=out_of_switcher)
        finally:
            kwin.stop()

    def case_mutter(self):
        try:
            mutter = Mutter().start()
        except Unavailable as e:
            raise Skip(str(e))
        try:
            # Plain mutter's XWayland has no root image to take a picture of.
            self.check_placed_bar(mutter.desktop(), "mutter", more=lambda l: None)
        finally:
            mutter.stop()

    def case_screen_reader(self):
        """Through the AT-SPI bus, as Orca would: the buttons are found by
        name and a press through the action interface starts the entry."""
        python = "/usr/bin/python3"  # Debian's, which python3-pyatspi serves
        launcher = "/usr/libexec/at-spi-bus-launcher"
        if not os.path.exists(launcher):
            raise Skip("at-spi-bus-launcher is not installed (at-spi2-core)")
        if subprocess.run([python, "-c", "import pyatspi"], capture_output=True).returncode != 0:
            raise Skip("python3-pyatspi is not installed")
        if not shutil.which("dbus-daemon"):
            raise Skip("dbus-daemon is not installed")
        bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address"],
                               stdout=subprocess.PIPE, text=True, start_new_session=True)
        helpers = [bus]
        try:
            address = bus.stdout.readline().strip()
            if not address:
                raise Skip("no session bus could be started")
            env = dict(self.desktop.env, DBUS_SESSION_BUS_ADDRESS=address)
            helpers.append(subprocess.Popen([launcher, "--launch-immediately"], env=env,
                                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                            start_new_session=True))
            time.sleep(0.5)
            self.clear_records()
            group = (entry(self.fx("notes.txt"), "", "") + "\r\n"
                     + entry(self.recorder, "screen reader", "Rec") + "\r\n")
            self.launcher(files={"QuillbrookPath.txt": group},
                          env={"DBUS_SESSION_BUS_ADDRESS": address, "QT_ACCESSIBILITY": "1",
                               "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"})
            script = os.path.join(os.path.dirname(os.path.abspath(__file__)), "atspi_press.py")
            out = subprocess.run([python, script, "notes.txt", "Rec"], env=env, capture_output=True,
                                 text=True, timeout=40)
            check(out.returncode == 0, "the buttons found on the AT-SPI bus", out.stdout + out.stderr)
            seen = json.loads(out.stdout)
            check_equal([["notes.txt", self.fx("notes.txt")], ["Rec", self.recorder + " screen reader"]],
                        seen["buttons"], "the buttons' names and descriptions")
            check(seen["pressed"], "the press action done", seen)
            recs = wait_for(self.records, what="the recorder to run from the press")
            check_equal(["screen", "reader"], recs[0]["argv"][1:], "the recorder's arguments")
        finally:
            for p in reversed(helpers):
                try:
                    os.killpg(p.pid, signal.SIGTERM)
                except ProcessLookupError:
                    pass
                p.wait(timeout=5)

    # --- Runner -------------------------------------------------------------

    def cases(self):
        return [(n[5:], getattr(self, n)) for n in dir(self) if n.startswith("case_")]

    def run(self):
        passed, failed, skipped = 0, 0, 0
        self.desktop = Desktop().start()
        try:
            for name, case in self.cases():
                if self.args.k and self.args.k not in name:
                    continue
                started = time.monotonic()
                signal.alarm(CASE_SECONDS)
                self.desktop.clear()
                try:
                    case()
                    passed += 1
                    print(f"PASS {name} ({time.monotonic() - started:.1f}s)", flush=True)
                except Skip as e:
                    skipped += 1
                    print(f"SKIP {name}: {e}", flush=True)
                except Exception as e:
                    failed += 1
                    print(f"FAIL {name}: {e}", flush=True)
                    traceback.print_exc(file=sys.stdout)
                    for l in self.launchers:
                        if os.path.exists(l.path("stderr.txt")):
                            sys.stdout.write(open(l.path("stderr.txt"), errors="replace").read())
                finally:
                    signal.alarm(0)
                    for l in self.launchers:
                        l.cleanup()
                    self.launchers.clear()
        finally:
            self.desktop.stop()
            shutil.rmtree(self.fixtures, ignore_errors=True)
        print(f"{passed} passed, {failed} failed, {skipped} skipped")
        return failed == 0


def on_alarm(signum, frame):
    raise Timeout("case took too long")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bin", required=True)
    parser.add_argument("--dragsource", required=True)
    parser.add_argument("--droptarget", required=True)
    parser.add_argument("--recorder", required=True)
    parser.add_argument("--screenshots", required=True)
    parser.add_argument("-k", help="run only the cases whose name contains this")
    args = parser.parse_args()
    signal.signal(signal.SIGALRM, on_alarm)
    return 0 if Suite(args).run() else 1


if __name__ == "__main__":
    sys.exit(main())
