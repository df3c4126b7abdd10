# SPDX-License-Identifier: MIT
"""Wayland compositors with XWayland, headless, as desktops for the
end-to-end tests: KWin and GNOME's mutter.

Each runs on a session bus of its own and a private runtime folder; the bar
runs on its XWayland, found as the X socket that appears.
"""
import glob
import json
import os
import shutil
import subprocess
import tempfile
import time

from desktop import Desktop, stop_processes, wait_for
from sway import Unavailable

SCRIPT = """
for (const w of workspace.clientList())
    print("QB-WINDOW " + JSON.stringify({caption: w.caption, skipSwitcher: w.skipSwitcher,
        skipTaskbar: w.skipTaskbar, keepAbove: w.keepAbove, noBorder: w.noBorder}));
"""


class XWaylandSession:
    NAME = None
    WIDTH, HEIGHT = Desktop.WIDTH, Desktop.HEIGHT

    def __init__(self):
        self.procs = []
        self.runtime = None
        self.display = None

    def argv(self):
        raise NotImplementedError

    def client_env(self):
        return {}

    def start(self):
        for tool in (self.NAME, "Xwayland", "dbus-daemon", "dbus-send"):
            if not shutil.which(tool):
                raise Unavailable(f"{tool} is not installed")
        self.runtime = tempfile.mkdtemp(prefix=f"qb-e2e-{self.NAME}-")
        os.chmod(self.runtime, 0o700)
        env = dict(os.environ, XDG_RUNTIME_DIR=self.runtime, HOME=self.runtime, LC_ALL="C.UTF-8",
                   QT_LOGGING_RULES="js.debug=true;kwin_scripting.debug=true")
        for name in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"):
            env.pop(name, None)
        bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"], env=env,
                               stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True, start_new_session=True)
        self.procs.append(bus)
        env["DBUS_SESSION_BUS_ADDRESS"] = bus.stdout.readline().strip()
        self.env = env
        self.log_path = os.path.join(self.runtime, "compositor.log")
        self.log = open(self.log_path, "wb")
        self.procs.append(subprocess.Popen(self.argv(), env=env, stdout=self.log, stderr=subprocess.STDOUT,
                                           start_new_session=True))
        try:
            number = wait_for(lambda: self.procs[-1].poll() is None and self.own_display()
                              or (self.procs[-1].poll() is not None and "exited"),
                              timeout=15, what=f"{self.NAME}'s XWayland")
        except Exception as e:
            self.log.flush()
            with open(self.log_path, errors="replace") as f:
                tail = f.read()[-600:]
            self.stop()
            raise Unavailable(f"{self.NAME} did not start: {e}; its log ends: {tail}")
        if number == "exited":
            self.stop()
            raise Unavailable(f"{self.NAME} exited at once")
        self.display = ":" + number
        return self

    def own_display(self):
        """The number of the X display the compositor or its child serves.
        Other X servers may start beside it, and a killed one leaves its
        socket behind for the next to take, so the lock file's process is
        what tells."""
        compositor = self.procs[-1].pid
        for lock in glob.glob("/tmp/.X*-lock"):
            try:
                with open(lock) as f:
                    pid = int(f.read().strip())
                with open(f"/proc/{pid}/stat") as f:
                    parent = int(f.read().rsplit(")", 1)[1].split()[1])
            except (OSError, ValueError, IndexError):
                continue
            # mutter opens the sockets and writes the lock itself.
            if compositor in (pid, parent):
                return os.path.basename(lock)[2:-5]
        return None

    def desktop(self):
        """A Desktop on the XWayland, for Launcher; it owns no process."""
        d = Desktop()
        d.display = self.display
        d.env = dict(self.env, DISPLAY=self.display)
        d.env.pop("QT_LOGGING_RULES", None)
        d.env.update(self.client_env())
        wait_for(lambda: "_NET_SUPPORTING_WM_CHECK(WINDOW)" in d.run(["xprop", "-root"]),
                 what=f"{self.NAME}'s X11 window manager")
        return d

    def stop(self):
        stop_processes(self.procs)
        if getattr(self, "log", None):
            self.log.close()
        if self.runtime:
            shutil.rmtree(self.runtime, ignore_errors=True)


class KWin(XWaylandSession):
    """KWin 5.27. The installed kwin_wayland carries a file capability
    (CAP_SYS_NICE) that stops it starting as root; a plain copy of it starts.
    A KWin script reports the states KWin keeps for each window
    (skipSwitcher among them, which no X property shows)."""
    NAME = "kwin_wayland"

    def argv(self):
        binary = os.path.join(self.runtime, "kwin_wayland")
        shutil.copy(shutil.which("kwin_wayland"), binary)
        return [binary, "--virtual", "--xwayland", "--width", str(self.WIDTH), "--height", str(self.HEIGHT),
                "--socket", "qb-kwin"]

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


class Mutter(XWaylandSession):
    """GNOME's window manager, mutter 43; it starts its XWayland at once and
    gives clients an X authority file in the runtime folder."""
    NAME = "mutter"

    def argv(self):
        return ["mutter", "--headless", "--wayland", "--virtual-monitor", f"{self.WIDTH}x{self.HEIGHT}"]

    def client_env(self):
        auth = glob.glob(os.path.join(self.runtime, ".mutter-Xwaylandauth.*"))
        return {"XAUTHORITY": auth[0]} if auth else {}
