# SPDX-License-Identifier: MIT
"""KWin, headless on Wayland with XWayland, as a desktop for the end-to-end tests.

The installed kwin_wayland carries a file capability (CAP_SYS_NICE) that
stops it starting as root; a plain copy of it, without the capability,
starts. KWin runs on a session bus of its own, through which a KWin script
reports the states KWin keeps for each window (skipSwitcher among them,
which no X property shows).
"""
import glob
import json
import os
import shutil
import signal
import subprocess
import tempfile
import time

from desktop import Desktop, wait_for
from sway import Unavailable

SCRIPT = """
for (const w of workspace.clientList())
    print("QB-WINDOW " + JSON.stringify({caption: w.caption, skipSwitcher: w.skipSwitcher,
        skipTaskbar: w.skipTaskbar, keepAbove: w.keepAbove, noBorder: w.noBorder}));
"""


class KWin:
    WIDTH, HEIGHT = Desktop.WIDTH, Desktop.HEIGHT

    def __init__(self):
        self.procs = []
        self.runtime = None
        self.display = None

    def start(self):
        for tool in ("kwin_wayland", "Xwayland", "dbus-daemon", "dbus-send"):
            if not shutil.which(tool):
                raise Unavailable(f"{tool} is not installed")
        self.runtime = tempfile.mkdtemp(prefix="qb-e2e-kwin-")
        os.chmod(self.runtime, 0o700)
        binary = os.path.join(self.runtime, "kwin_wayland")
        shutil.copy(shutil.which("kwin_wayland"), binary)
        env = dict(os.environ, XDG_RUNTIME_DIR=self.runtime, HOME=self.runtime, LC_ALL="C.UTF-8",
                   QT_LOGGING_RULES="js.debug=true;kwin_scripting.debug=true")
        for name in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"):
            env.pop(name, None)
        bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"], env=env,
                               stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True, start_new_session=True)
        self.procs.append(bus)
        env["DBUS_SESSION_BUS_ADDRESS"] = bus.stdout.readline().strip()
        self.env = env
        before = set(glob.glob("/tmp/.X11-unix/X*"))
        self.log_path = os.path.join(self.runtime, "kwin.log")
        self.log = open(self.log_path, "wb")
        self.procs.append(subprocess.Popen(
            [binary, "--virtual", "--xwayland", "--width", str(self.WIDTH), "--height", str(self.HEIGHT),
             "--socket", "qb-kwin"], env=env, stdout=self.log, stderr=subprocess.STDOUT, start_new_session=True))
        try:
            socket = wait_for(lambda: self.procs[-1].poll() is None and
                              next(iter(set(glob.glob("/tmp/.X11-unix/X*")) - before), None)
                              or (self.procs[-1].poll() is not None and "exited"),
                              timeout=15, what="KWin's XWayland")
        except Exception as e:
            self.stop()
            raise Unavailable(f"KWin did not start: {e}")
        if socket == "exited":
            self.stop()
            raise Unavailable("KWin exited at once")
        self.display = ":" + os.path.basename(socket)[1:]
        return self

    def desktop(self):
        """A Desktop on KWin's XWayland, for Launcher; it owns no process."""
        d = Desktop()
        d.display = self.display
        d.env = dict(self.env, DISPLAY=self.display)
        d.env.pop("QT_LOGGING_RULES", None)
        wait_for(lambda: "_NET_SUPPORTING_WM_CHECK(WINDOW)" in d.run(["xprop", "-root"]),
                 what="KWin's X11 window manager")
        return d

    def dbus(self, *args):
        return subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.kde.KWin", *args],
                              env=self.env, capture_output=True, text=True, timeout=10).stdout

    def window_states(self, caption):
        """KWin's states of the window titled `caption`, as its script sees them."""
        path = os.path.join(self.runtime, "states.js")
        with open(path, "w") as f:
            f.write(SCRIPT)
        self.dbus("/Scripting", "org.kde.kwin.Scripting.unloadScript", "string:qb-states")
        reply = self.dbus("/Scripting", "org.kde.kwin.Scripting.loadScript", f"string:{path}", "string:qb-states")
        if "int32" not in reply:
            return None
        # Runs the scripts loaded and not yet running.
        self.dbus("/Scripting", "org.kde.kwin.Scripting.start")
        time.sleep(0.3)
        self.log.flush()
        with open(self.log_path, errors="replace") as f:
            lines = [l.split("QB-WINDOW ", 1)[1] for l in f if "QB-WINDOW " in l]
        for line in reversed(lines):
            try:
                window = json.loads(line.strip().rstrip('"'))
            except ValueError:
                continue
            if window.get("caption") == caption:
                return window
        return None

    def stop(self):
        for proc in reversed(self.procs):
            if proc.poll() is None:
                try:
                    os.killpg(proc.pid, signal.SIGTERM)
                except ProcessLookupError:
                    pass
        for proc in self.procs:
            try:
                proc.wait(timeout=5)
            except subprocess.TimeoutExpired:
                os.killpg(proc.pid, signal.SIGKILL)
                proc.wait()
        self.procs.clear()
        if getattr(self, "log", None):
            self.log.close()
        if self.runtime:
            shutil.rmtree(self.runtime, ignore_errors=True)
