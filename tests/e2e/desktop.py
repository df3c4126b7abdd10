# SPDX-License-Identifier: MIT
"""A throwaway X desktop for the end-to-end tests, and the launcher run on it.

Desktop starts Xvfb on a free display with openbox and a compositor, and
stops all of them again. Launcher runs the real binary from its own copy in a
temporary folder (the launcher keeps its files next to its executable) and
drives it from outside with the ordinary X tools.
"""
import os
import shutil
import signal
import subprocess
import tempfile
import time


class Timeout(Exception):
    pass


def stop_processes(procs):
    """Ends each process group, the last started first; kills what lingers."""
    for proc in reversed(procs):
        if proc.poll() is None:
            try:
                os.killpg(proc.pid, signal.SIGTERM)
            except ProcessLookupError:
                pass
    for proc in procs:
        try:
            proc.wait(timeout=5)
        except subprocess.TimeoutExpired:
            os.killpg(proc.pid, signal.SIGKILL)
            proc.wait()
    procs.clear()


def wait_for(predicate, timeout=10.0, interval=0.05, what="condition"):
    """Polls until predicate() is truthy; returns its value."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Timeout(f"timed out waiting for {what}")
        time.sleep(interval)


class Desktop:
    WIDTH, HEIGHT = 1400, 800

    def __init__(self, window_manager=("openbox", "--sm-disable"), compositor=True):
        self.window_manager = list(window_manager)
        self.with_compositor = compositor
        self.procs = []
        self.display = None
        self.runtime = None
        self.env = None

    def start(self):
        read_fd, write_fd = os.pipe()
        xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-nolisten", "tcp",
             "-screen", "0", f"{self.WIDTH}x{self.HEIGHT}x24"],
            pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            start_new_session=True)
        os.close(write_fd)
        self.procs.append(xvfb)
        with os.fdopen(read_fd) as pipe:
            number = pipe.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        self.display = f":{number}"
        # The launchers' locks and sockets stay on this desktop too.
        self.runtime = tempfile.mkdtemp(prefix="qb-e2e-run-")
        self.env = dict(os.environ, DISPLAY=self.display, LC_ALL="C.UTF-8", XDG_RUNTIME_DIR=self.runtime)
        self.env.pop("QT_QPA_PLATFORM", None)
        self.env.pop("WAYLAND_DISPLAY", None)
        self.spawn(self.window_manager)
        wait_for(lambda: "_NET_SUPPORTING_WM_CHECK(WINDOW)" in self.run(["xprop", "-root"]),
                 what="the window manager")
        if self.with_compositor:
            self.start_compositor()
        return self

    def start_compositor(self):
        argv = shutil.which("picom") and ["picom", "--backend", "xrender"] or ["xcompmgr"]
        self.compositor = self.spawn(argv)
        time.sleep(0.5)

    def stop_compositor(self):
        os.killpg(self.compositor.pid, signal.SIGTERM)
        self.compositor.wait(timeout=5)
        self.procs.remove(self.compositor)
        time.sleep(0.5)

    def clear(self):
        """Paints the desktop black again. The windows of earlier cases can
        leave their last pictures behind, and a translucent plate shows
        them: colours sampled through it would differ from place to place."""
        # display reports a failure even when it has set the background.
        self.run(["display", "-size", f"{self.WIDTH}x{self.HEIGHT}", "-window", "root", "xc:black"])

    def spawn(self, argv, **kwargs):
        proc = subprocess.Popen(argv, env=self.env, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL, start_new_session=True, **kwargs)
        self.procs.append(proc)
        return proc

    def run(self, argv, check=False, timeout=10):
        result = subprocess.run(argv, env=self.env, capture_output=True, text=True,
                                timeout=timeout, check=check)
        return result.stdout

    def xdotool(self, *args):
        return self.run(["xdotool", *map(str, args)], check=True)

    def stop(self):
        stop_processes(self.procs)
        if self.runtime:
            shutil.rmtree(self.runtime, ignore_errors=True)

    # --- Pixels -------------------------------------------------------------

    def screenshot(self, path, window="root"):
        self.run(["import", "-window", str(window), path], check=True)

    def pixels(self, x, y, w, h):
        """The screen's pixels in a rectangle, as rows of (r, g, b)."""
        data = subprocess.run(["import", "-window", "root", "-crop", f"{w}x{h}+{x}+{y}", "-depth", "8", "ppm:-"],
                              env=self.env, capture_output=True, check=True, timeout=10).stdout
        # P6 header: magic, width, height, maxval, each followed by whitespace.
        fields, pos = [], 0
        while len(fields) < 4:
            while data[pos:pos + 1].isspace():
                pos += 1
            end = pos
            while not data[end:end + 1].isspace():
                end += 1
            fields.append(data[pos:end])
            pos = end
        pos += 1
        width, height = int(fields[1]), int(fields[2])
        body = data[pos:]
        return [[tuple(body[(row * width + col) * 3:(row * width + col) * 3 + 3])
                 for col in range(width)] for row in range(height)]

    def mean_colour(self, x, y, w, h):
        rows = self.pixels(x, y, w, h)
        count = sum(len(r) for r in rows)
        return tuple(sum(p[i] for r in rows for p in r) / count for i in range(3))


def colour_distance(a, b):
    return max(abs(x - y) for x, y in zip(a, b))


class Launcher:
    """The launcher binary started from a folder of its own."""

    def __init__(self, desktop, binary, files=None, ini=None, env=None):
        self.desktop = desktop
        self.dir = tempfile.mkdtemp(prefix="qb-e2e-")
        self.binary = os.path.join(self.dir, "Quillbrook")
        shutil.copy2(binary, self.binary)
        for name, content in (files or {}).items():
            with open(os.path.join(self.dir, name), "wb") as f:
                f.write(content.encode("utf-8") if isinstance(content, str) else content)
        if ini is not None:
            self.write("Quillbrook.ini", ini)
        self.env = dict(desktop.env, **(env or {}))
        self.proc = None
        self.window = None

    def path(self, name):
        return os.path.join(self.dir, name)

    def write(self, name, text):
        with open(self.path(name), "wb") as f:
            f.write(text.replace("\n", "\r\n").encode("utf-8"))

    def read(self, name):
        with open(self.path(name), "rb") as f:
            return f.read()

    def files(self):
        """The launcher's own files in its folder and their contents."""
        return {name: self.read(name) for name in sorted(os.listdir(self.dir))
                if name.startswith("Quillbrook") and name != "Quillbrook"}

    def exists(self, name):
        return os.path.exists(self.path(name))

    def start(self):
        self.log = open(self.path("stderr.txt"), "wb")
        self.proc = subprocess.Popen([self.binary], cwd=self.dir, env=self.env,
                                     stdout=self.log, stderr=subprocess.STDOUT,
                                     start_new_session=True)
        self.window = wait_for(self._find_window, what="the launcher's window")
        time.sleep(0.3)
        return self

    def _find_window(self):
        out = self.desktop.run(["xdotool", "search", "--all", "--onlyvisible", "--pid", str(self.proc.pid),
                                "--class", "Quillbrook"])
        for wid in out.split():
            g = self._geometry(wid)
            if g and g[2] >= 70 and g[3] >= 70:
                return wid
        return None

    def _geometry(self, wid):
        out = self.desktop.run(["xdotool", "getwindowgeometry", "--shell", str(wid)])
        values = dict(line.split("=", 1) for line in out.split() if "=" in line)
        try:
            return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])
        except KeyError:
            return None

    def geometry(self):
        return self._geometry(self.window)

    def net_wm_state(self):
        return self.desktop.run(["xprop", "-id", self.window, "_NET_WM_STATE"])

    def focus(self):
        self.desktop.xdotool("windowactivate", "--sync", self.window)
        time.sleep(0.1)

    def key(self, *keys):
        self.focus()
        for k in keys:
            self.desktop.xdotool("key", "--clearmodifiers", k)
            time.sleep(0.15)

    def click(self, x, y, button=1):
        self.desktop.xdotool("mousemove", x, y)
        time.sleep(0.05)
        self.desktop.xdotool("click", button)

    def drag(self, start, end, steps=6, button=1):
        d = self.desktop
        d.xdotool("mousemove", *start)
        time.sleep(0.1)
        d.xdotool("mousedown", button)
        time.sleep(0.1)
        # A small first step, as a hand makes.
        d.xdotool("mousemove", start[0] + (2 if end[0] > start[0] else -2),
                  start[1] + (2 if end[1] > start[1] else -2))
        time.sleep(0.1)
        for i in range(1, steps + 1):
            x = start[0] + (end[0] - start[0]) * i // steps
            y = start[1] + (end[1] - start[1]) * i // steps
            d.xdotool("mousemove", x, y)
            time.sleep(0.05)
        d.xdotool("mouseup", button)
        time.sleep(0.3)

    def running(self):
        return self.proc is not None and self.proc.poll() is None

    def children_states(self):
        out = subprocess.run(["ps", "-o", "stat=", "--ppid", str(self.proc.pid)],
                             capture_output=True, text=True).stdout
        return [s.strip() for s in out.splitlines() if s.strip()]

    def stop(self):
        if self.running():
            self.proc.terminate()
            try:
                self.proc.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
        if getattr(self, "log", None):
            self.log.close()

    def cleanup(self):
        self.stop()
        shutil.rmtree(self.dir, ignore_errors=True)
