# SPDX-License-Identifier: MIT
"""sway, headless, as a second desktop for the end-to-end tests.

sway refuses to run as root, so as root it runs as the unprivileged user
`nobody` with a private runtime folder; clients are started through sway
itself (`swaymsg exec`), which hands them its WAYLAND_DISPLAY, DISPLAY (its
XWayland) and SWAYSOCK. State comes from `swaymsg -t get_tree`, pictures from
grim.
"""
import glob
import json
import os
import pwd
import shutil
import signal
import subprocess
import tempfile
import time

from desktop import wait_for


class Unavailable(Exception):
    """The desktop cannot start on this machine; the message says why."""


def _user():
    if os.geteuid() != 0:
        return None
    try:
        return pwd.getpwnam("nobody")
    except KeyError:
        raise Unavailable("running as root and there is no user 'nobody' to run sway as")


class Sway:
    def __init__(self):
        self.proc = None
        self.runtime = None
        self.sock = None
        self.user = None

    def start(self):
        for tool in ("sway", "swaymsg", "grim", "Xwayland"):
            if not shutil.which(tool):
                raise Unavailable(f"{tool} is not installed")
        self.user = _user()
        self.runtime = tempfile.mkdtemp(prefix="qb-e2e-sway-")
        os.chmod(self.runtime, 0o700)
        with open(os.path.join(self.runtime, "config"), "w") as f:
            # XWayland at once: the first X client need not wait for it.
            f.write("xwayland force\n")
        self.chown(self.runtime)
        env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "HOME": self.runtime,
               "XDG_RUNTIME_DIR": self.runtime, "LC_ALL": "C.UTF-8",
               "WLR_BACKENDS": "headless", "WLR_LIBINPUT_NO_DEVICES": "1", "WLR_RENDERER": "pixman"}
        argv = ["sway", "-c", os.path.join(self.runtime, "config")]
        if self.user:
            argv = ["setpriv", f"--reuid={self.user.pw_uid}", f"--regid={self.user.pw_gid}",
                    "--clear-groups", "--"] + argv
        self.log = open(os.path.join(tempfile.gettempdir(), f"qb-e2e-sway-{os.getpid()}.log"), "wb")
        self.proc = subprocess.Popen(argv, env=env, stdout=self.log, stderr=subprocess.STDOUT,
                                     start_new_session=True)
        try:
            self.sock = wait_for(lambda: self.proc.poll() is None and
                                 next(iter(glob.glob(os.path.join(self.runtime, "sway-ipc.*.sock"))), None)
                                 or (self.proc.poll() is not None and "exited"),
                                 timeout=10, what="sway's socket")
        except Exception as e:
            self.stop()
            raise Unavailable(f"sway did not start: {e}")
        if self.sock == "exited":
            self.stop()
            raise Unavailable(f"sway exited at once (code {self.proc.returncode})")
        self.env = dict(os.environ, SWAYSOCK=self.sock, XDG_RUNTIME_DIR=self.runtime,
                        WAYLAND_DISPLAY=os.path.join(self.runtime, "wayland-1"))
        wait_for(lambda: self.outputs(), what="sway's output")
        return self

    def chown(self, path):
        if not self.user:
            return
        for root, dirs, files in os.walk(path):
            for name in [root] + [os.path.join(root, n) for n in dirs + files]:
                os.chown(name, self.user.pw_uid, self.user.pw_gid)

    def msg(self, *args):
        out = subprocess.run(["swaymsg", *args], env=self.env, capture_output=True, text=True, timeout=10)
        return out.stdout

    def outputs(self):
        try:
            return json.loads(self.msg("-t", "get_outputs"))
        except ValueError:
            return None

    def views(self):
        """Every window sway manages, with its node."""
        found = []

        def walk(node, floating):
            if node.get("pid"):
                found.append(dict(node, floating=floating))
            for child in node.get("nodes", []):
                walk(child, floating)
            for child in node.get("floating_nodes", []):
                walk(child, True)
        try:
            walk(json.loads(self.msg("-t", "get_tree")), False)
        except ValueError:
            pass
        return found

    def run_client(self, command):
        """Starts a shell command as one of sway's own children."""
        return self.msg("exec", command)

    def screenshot(self, path):
        tmp = os.path.join(self.runtime, "shot.png")
        subprocess.run(["grim", tmp], env=self.env, capture_output=True, timeout=10, check=True)
        shutil.copy(tmp, path)

    def stop(self):
        if self.proc and self.proc.poll() is None:
            os.killpg(self.proc.pid, signal.SIGTERM)
            try:
                self.proc.wait(timeout=5)
            except subprocess.TimeoutExpired:
                os.killpg(self.proc.pid, signal.SIGKILL)
                self.proc.wait()
        if getattr(self, "log", None):
            self.log.close()
        if self.runtime:
            shutil.rmtree(self.runtime, ignore_errors=True)
