#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Runs every benchmark on a throwaway X desktop and prints the figures.

  run_bench.py --build BUILD [--quick] [--runs N] [--idle-seconds S]
               [--only startup,switch,filter,idle,launch,summon] [--update-readme]

BUILD is a build folder where `cmake --build BUILD --target bench` has run.
The desktop is the end-to-end suite's (Xvfb, openbox, a compositor), with a
D-Bus session bus of its own as a real session has. Start-up and memory are
measured from outside on the real programs, interleaved with a bare Qt window
and with wbar and Plank holding the same entries; the group switch, typing to
filter, the click handler and the stealth tick by the in-process programs
in bench/.
"""
import argparse
import datetime
import json
import os
import platform
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)



def install_bench_packages():
    with open(os.path.join(HERE, "packages.txt")) as f:
        packages = f.read().split()
    subprocess.run(["bash", os.path.join(ROOT, ".ci", "deps.sh"), *packages], check=True)
    os.environ["QB_BENCH_INSTALLED"] = "1"


try:
    from Xlib import X, display as xdisplay, error as xerror
    from Xlib.ext import xtest
except ImportError:
    # On a fresh machine python3-xlib comes with the bench packages; it is
    # installed for Debian's python3, which another python3 first on PATH
    # would not see.
    DEBIAN_PYTHON = "/usr/bin/python3"
    python = DEBIAN_PYTHON if os.path.exists(DEBIAN_PYTHON) else sys.executable
    if "--no-install" not in sys.argv and "QB_BENCH_INSTALLED" not in os.environ:
        install_bench_packages()
        os.execv(python, [python, *sys.argv])
    if os.path.realpath(sys.executable) != os.path.realpath(python):
        os.execv(python, [python, *sys.argv])
    raise

sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
from desktop import Desktop, Launcher, wait_for  # noqa: E402
from run_e2e import button_centre, entry, png  # noqa: E402

# Environment variable that marks every process this run starts, so that
# only those are ended at the close.
MARK = "QB_BENCH_RUN"


# --- Fixtures ----------------------------------------------------------------

THEME_ICONS = ["utilities-terminal", "accessories-text-editor", "system-file-manager",
               "help-browser", "preferences-system", "applications-graphics"]


def theme_icon_file(name):
    """A PNG of a theme icon for bars that take image files, not names."""
    for base in ("/usr/share/icons/Adwaita/48x48", "/usr/share/icons/hicolor/48x48"):
        for sub in ("legacy", "apps", "mimetypes", "places"):
            path = os.path.join(base, sub, name + ".png")
            if os.path.exists(path):
                return path
    return None


class Fixtures:
    """Files of every kind a user registers, made once per run: programs,
    desktop entries with theme icons, images, documents and folders, in
    turn, each entry a file of its own (as bench/MixedEntries.cpp makes)."""

    KIND_ICONS = {".sh": "application-x-executable", ".txt": "text-x-generic", ".pdf": "text-x-generic",
                  ".ods": "x-office-spreadsheet", "": "folder"}

    def __init__(self, folder):
        self.folder = folder

    def make(self, prefix, count):
        paths = []
        for i in range(count):
            base = os.path.join(self.folder, f"{prefix}{i}")
            kind = i % 7
            if kind == 0:
                path = base + ".sh"
                with open(path, "w") as f:
                    f.write("#!/bin/sh\nexit 0\n")
                os.chmod(path, 0o755)
            elif kind == 1:
                path = base + ".desktop"
                icon = THEME_ICONS[(i // 7) % len(THEME_ICONS)]
                with open(path, "w") as f:
                    f.write(f"[Desktop Entry]\nType=Application\nName=Tool {i}\nExec=true\nIcon={icon}\n")
            elif kind == 2:
                path = base + ".png"
                png(path, ((i * 37) % 256, (i * 91) % 256, (i * 53) % 256))
            elif kind in (3, 4, 5):
                path = base + (".txt", ".pdf", ".ods")[kind - 3]
                with open(path, "w") as f:
                    f.write("%PDF-1.4\n%%EOF\n" if kind == 4 else "notes\n")
            else:
                path = base
                os.makedirs(path, exist_ok=True)
            paths.append(path)
        return paths

    @staticmethod
    def group_file(paths):
        return "".join(entry(p, "", os.path.basename(p)) + "\r\n" for p in paths)

    @classmethod
    def icon_for(cls, path):
        """The picture a bar of image files shows for an entry."""
        root, ext = os.path.splitext(path)
        if ext == ".png":
            return path
        if ext == ".desktop":
            with open(path) as f:
                for line in f:
                    if line.startswith("Icon="):
                        found = theme_icon_file(line.strip()[5:])
                        if found:
                            return found
        return theme_icon_file(cls.KIND_ICONS.get(ext, "text-x-generic")) or theme_icon_file("folder")


# --- The screen, read through one X connection --------------------------------

class Screen:
    """Reads windows and pixels through a connection of its own: polling with
    xdotool or xwininfo would start a process every few milliseconds and take
    the processor from the program being measured."""

    def __init__(self, display_name):
        self.d = xdisplay.Display(display_name)
        self.root = self.d.screen().root
        geometry = self.root.get_geometry()
        self.width, self.height = geometry.width, geometry.height
        self.background = None

    def capture_background(self):
        rows = self.root.get_image(0, 0, self.width, self.height, X.ZPixmap, 0xFFFFFFFF).data
        self.background = bytes(rows)

    def top_windows(self):
        return {w.id for w in self.root.query_tree().children}

    def viewable_rect(self, wid):
        window = self.d.create_resource_object("window", wid)
        try:
            if window.get_attributes().map_state != X.IsViewable:
                return None
            g = window.get_geometry()
        except xerror.XError:
            return None
        return g.x, g.y, g.width, g.height

    def clip(self, rect):
        x, y, w, h = rect
        x0, y0 = max(0, x), max(0, y)
        x1, y1 = min(self.width, x + w), min(self.height, y + h)
        return (x0, y0, x1 - x0, y1 - y0) if x1 > x0 and y1 > y0 else None

    def changed_fraction(self, rect, rows=8, columns=80):
        """The share of sampled pixels in rect that differ from the empty
        desktop."""
        x, y, w, h = rect
        rows = min(rows, h)
        stride = 4 * max(1, w // columns)
        changed = total = 0
        for i in range(rows):
            ry = y + (2 * i + 1) * h // (2 * rows)
            row = self.root.get_image(x, ry, w, 1, X.ZPixmap, 0xFFFFFFFF).data
            start = (ry * self.width + x) * 4
            empty = self.background[start:start + 4 * w]
            differs = None
            for channel in range(3):
                d = [abs(a - b) > 16 for a, b in zip(row[channel::stride], empty[channel::stride])]
                differs = d if differs is None else [p or q for p, q in zip(differs, d)]
            changed += sum(differs)
            total += len(differs)
        return changed / total if total else 0.0

    def clean(self, rect):
        return rect is None or self.changed_fraction(rect) < 0.01

    def move_pointer(self, x, y):
        xtest.fake_input(self.d, X.MotionNotify, x=x, y=y)
        self.d.sync()

    def click(self, button=1):
        xtest.fake_input(self.d, X.ButtonPress, button)
        xtest.fake_input(self.d, X.ButtonRelease, button)
        self.d.sync()


def union(rects):
    x0 = min(r[0] for r in rects)
    y0 = min(r[1] for r in rects)
    x1 = max(r[0] + r[2] for r in rects)
    y1 = max(r[1] + r[3] for r in rects)
    return x0, y0, x1 - x0, y1 - y0


# --- Processes -------------------------------------------------------------------

def proc_status(pid):
    values = {}
    try:
        with open(f"/proc/{pid}/status") as f:
            for line in f:
                key, _, value = line.partition(":")
                values[key] = value.strip()
    except OSError:
        pass
    return values


def rss_mib(pid):
    value = proc_status(pid).get("VmRSS", "0 kB").split()[0]
    return int(value) / 1024


def cpu_sample(pid):
    """Processor time (utime + stime, clock ticks), on-processor nanoseconds
    and context switches per thread, of the process's threads now."""
    ticks = 0
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
        ticks = int(fields[11]) + int(fields[12])
    threads = {}
    for tid in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{tid}/schedstat") as f:
                runtime = int(f.read().split()[0])
            status = proc_status(f"{pid}/task/{tid}")
            switches = int(status["voluntary_ctxt_switches"]) + int(status["nonvoluntary_ctxt_switches"])
        except (OSError, KeyError):
            continue
        threads[tid] = (runtime, switches, status.get("Name", tid))
    return ticks, threads


def cpu_delta(before, after):
    """CPU milliseconds (by ticks and by nanoseconds), wake-ups, and wake-ups
    by thread name, between two samples."""
    ticks = after[0] - before[0]
    runtime = switches = 0
    by_thread = {}
    for tid, (rt, sw, name) in after[1].items():
        rt0, sw0, _ = before[1].get(tid, (0, 0, name))
        runtime += rt - rt0
        switches += sw - sw0
        if sw > sw0:
            by_thread[name] = by_thread.get(name, 0) + sw - sw0
    return ticks * 1000 / os.sysconf("SC_CLK_TCK"), runtime / 1e6, switches, by_thread


def stop(proc):
    if proc.poll() is None:
        try:
            os.killpg(proc.pid, signal.SIGTERM)
        except ProcessLookupError:
            pass
        try:
            proc.wait(timeout=5)
        except subprocess.TimeoutExpired:
            os.killpg(proc.pid, signal.SIGKILL)
            proc.wait()


def marked_processes(mark):
    """Processes carrying this run's mark in their environment."""
    found = []
    needle = f"{MARK}={mark}".encode()
    for name in os.listdir("/proc"):
        if not name.isdigit() or int(name) == os.getpid():
            continue
        try:
            with open(f"/proc/{name}/environ", "rb") as f:
                if needle in f.read().split(b"\0"):
                    found.append(int(name))
        except OSError:
            pass
    return found


def median(values):
    values = [v for v in values if v is not None]
    return statistics.median(values) if values else None


# --- The contenders for start-up and memory --------------------------------------

class Contender:
    def __init__(self, name, argv, cwd=None, env=None):
        self.name, self.argv, self.cwd, self.env = name, argv, cwd, env
        self.runs = []  # dicts of mapped_ms, painted_ms, rss_mib


class Bench:
    def __init__(self, args):
        self.args = args
        self.build = os.path.abspath(args.build)
        self.tmp = tempfile.mkdtemp(prefix="qb-bench-")
        self.fixtures = Fixtures(os.path.join(self.tmp, "files"))
        os.makedirs(self.fixtures.folder)
        self.mark = str(os.getpid())
        self.desktop = None
        self.bus = None
        self.screen = None
        self.results = {}
        self.launchers = []

    def binary(self, *parts):
        path = os.path.join(self.build, *parts)
        if not os.path.exists(path):
            sys.exit(f"{path} is missing: run `cmake --build {self.args.build} --target bench` first")
        return path

    # --- Desktop -------------------------------------------------------------

    def start_desktop(self):
        os.environ[MARK] = self.mark
        # A session bus, as every desktop session has: Plank and GTK need one,
        # and Qt looks for the accessibility bus on it.
        self.bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                                    stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True,
                                    start_new_session=True)
        os.environ["DBUS_SESSION_BUS_ADDRESS"] = self.bus.stdout.readline().strip()
        # Kept before it starts, so that a start that fails is still stopped.
        self.desktop = Desktop()
        self.desktop.start()
        self.screen = Screen(self.desktop.display)
        self.screen.move_pointer(5, self.screen.height - 5)
        time.sleep(0.5)
        self.screen.capture_background()

    def stop_desktop(self):
        for launcher in self.launchers:
            launcher.cleanup()
        if self.desktop:
            self.desktop.stop()
        if self.bus:
            stop(self.bus)
        # Services the bus started for Plank (bamfdaemon, dconf, the
        # accessibility bus) outlive it otherwise.
        for pid in marked_processes(self.mark):
            try:
                os.kill(pid, signal.SIGTERM)
            except ProcessLookupError:
                pass
        shutil.rmtree(self.tmp, ignore_errors=True)

    def launcher(self, entries=(), ini=None, env=None):
        files = {"QuillbrookPath.txt": Fixtures.group_file(entries)} if entries else {}
        launcher = Launcher(self.desktop, self.binary("Quillbrook"), files=files, ini=ini, env=env)
        self.launchers.append(launcher)
        return launcher

    # --- Start-up and memory -------------------------------------------------

    def contenders(self):
        out = [Contender("bare Qt window", [self.binary("bench", "bare_window")])]
        for n in (0, 100, 1000) + ((self.args.large,) if self.args.large else ()):
            entries = self.fixtures.make(f"start{n}-", n)
            launcher = self.launcher(entries)
            out.append(Contender(f"Quillbrook, {n} entries", [launcher.binary], cwd=launcher.dir))
        others = self.fixtures.make("others-", self.args.others_entries)
        if shutil.which("wbar"):
            out.append(Contender(f"wbar, {len(others)} entries", *self.wbar_setup(others)))
        if shutil.which("plank"):
            out.append(Contender(f"Plank, {len(others)} entries", *self.plank_setup(others)))
        return out

    def wbar_setup(self, paths):
        config = os.path.join(self.tmp, "wbar.cfg")
        font = next((f for f in ("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
                                 "/usr/share/fonts/truetype/freefont/FreeSans.ttf") if os.path.exists(f)), "")
        with open(config, "w") as f:
            f.write(f"i: /usr/share/pixmaps/wbar/dock.png\nc: wbar\nt: {font}/10\n\n")
            for path in paths:
                f.write(f"i: {Fixtures.icon_for(path)}\nc: xdg-open {path}\nt: {os.path.basename(path)}\n\n")
        return ["wbar", "--config", config, "--pos", "top-left", "--isize", "48", "--idist", "2"], None, None

    def plank_setup(self, paths):
        home = os.path.join(self.tmp, "plank-home")
        launchers = os.path.join(home, ".config", "plank", "dock1", "launchers")
        os.makedirs(launchers)
        for i, path in enumerate(paths):
            with open(os.path.join(launchers, f"{i:04d}.dockitem"), "w") as f:
                f.write(f"[PlankDockItemPreferences]\nLauncher=file://{path}\n")
        env = dict(HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
                   XDG_DATA_HOME=os.path.join(home, ".local", "share"), XDG_CACHE_HOME=os.path.join(home, ".cache"))
        return ["plank"], None, env

    def measure_start(self, contender, timeout=20.0):
        """exec -> first new top-level window viewable (mapped) and its area
        painted on screen (90 % of the pixels it finally changes)."""
        env = dict(self.desktop.env, **(contender.env or {}))
        before = self.screen.top_windows()
        log = open(os.path.join(self.tmp, "start.log"), "ab")
        cpu0 = time.process_time()
        t0 = time.monotonic()
        proc = subprocess.Popen(contender.argv, cwd=contender.cwd, env=env, stdout=log, stderr=log,
                                start_new_session=True)
        samples, mapped, rect = [], None, None
        try:
            while True:
                now = time.monotonic()
                rects = [r for r in (self.screen.viewable_rect(w) for w in self.screen.top_windows() - before)
                         if r and r[2] >= 20 and r[3] >= 20]
                if rects:
                    mapped = mapped or now
                    rect = self.screen.clip(union(rects))
                    if rect:
                        samples.append((now, self.screen.changed_fraction(rect)))
                if mapped and now - mapped > 0.7:
                    recent = [f for t, f in samples if now - t < 0.25]
                    if recent and max(recent) - min(recent) < 0.01:
                        break
                if now - t0 > timeout or proc.poll() is not None:
                    return None, rect
                time.sleep(0.001)
            final = samples[-1][1]
            if final <= 0.02:
                first = painted = None
            else:
                # Some bars fade their icons in: the first pixels and the
                # finished picture are both of interest.
                first = next(t for t, f in samples if f >= 0.1 * final)
                painted = next(t for t, f in samples if f >= 0.9 * final)
            return {"mapped_ms": (mapped - t0) * 1000,
                    "first_ms": (first - t0) * 1000 if first else None,
                    "painted_ms": (painted - t0) * 1000 if painted else None,
                    "rss_mib": rss_mib(proc.pid),
                    # How much of a core the polling itself took meanwhile.
                    "poller_load": (time.process_time() - cpu0) / (time.monotonic() - t0)}, rect
        finally:
            stop(proc)
            log.close()

    def run_startup(self):
        contenders = self.contenders()
        runs = self.args.runs
        print(f"start-up: {len(contenders)} programs, {runs} interleaved runs each (+1 warm-up)", flush=True)
        last_rect = None
        for round_no in range(runs + 1):
            shift = round_no % len(contenders)
            for contender in contenders[shift:] + contenders[:shift]:
                wait_for(lambda: self.screen.clean(last_rect), timeout=5, interval=0.05,
                         what="the previous window to go")
                time.sleep(0.2)
                result, last_rect = self.measure_start(contender)
                if round_no > 0:
                    contender.runs.append(result)
                if result is None:
                    print(f"  {contender.name}: no window", flush=True)
        bare = None
        rows = []
        for c in contenders:
            ok = [r for r in c.runs if r]
            row = {"name": c.name, "runs": len(ok),
                   "mapped_ms": median([r["mapped_ms"] for r in ok]),
                   "first_ms": median([r["first_ms"] for r in ok]),
                   "painted_ms": median([r["painted_ms"] for r in ok]),
                   "rss_mib": median([r["rss_mib"] for r in ok])}
            if bare is None:
                bare = row
            rows.append(row)
        for row in rows:
            row["ratio"] = (row["painted_ms"] / bare["painted_ms"]
                            if row["painted_ms"] and bare["painted_ms"] else None)
            row["rss_over_bare_mib"] = (row["rss_mib"] - bare["rss_mib"]
                                        if row["rss_mib"] is not None and bare["rss_mib"] is not None else None)
        self.results["startup"] = rows
        self.print_startup(rows)
        load = median([r["poller_load"] for c in contenders for r in c.runs if r])
        print(f"  (the polling took {100 * (load or 0):.0f} % of one core meanwhile)", flush=True)

    @staticmethod
    def print_startup(rows):
        print(f"  {'program':28} {'mapped':>10} {'first px':>10} {'painted':>10} {'x bare':>8} {'RSS MiB':>8}")
        for r in rows:
            print(f"  {r['name']:28} {fmt(r['mapped_ms'], 'ms')} {fmt(r['first_ms'], 'ms')} {fmt(r['painted_ms'], 'ms')} "
                  f"{fmt(r['ratio'], 'x', 2)} {fmt(r['rss_mib'], '', 1):>8}")

    # --- In-process benchmarks ------------------------------------------------

    def run_program(self, argv, timeout=600):
        out = subprocess.run(argv, env=self.desktop.env, capture_output=True, text=True, timeout=timeout)
        if out.returncode != 0:
            print(out.stdout + out.stderr, file=sys.stderr)
            raise RuntimeError(f"{os.path.basename(argv[0])} failed")
        for line in out.stdout.splitlines():
            if line.startswith("RESULT "):
                return json.loads(line[len("RESULT "):])
        raise RuntimeError(f"{os.path.basename(argv[0])} printed no result")

    def run_switch(self):
        program = self.binary("bench", "bench_group_switch")
        processes = 2 if self.args.quick else 5
        switches = 7 if self.args.quick else 21
        print(f"group switch: {processes} processes per size, {switches} switches each", flush=True)
        per_size = {n: [] for n in (100, 1000) + ((self.args.large,) if self.args.large else ())}
        for _ in range(processes):
            for n in per_size:
                per_size[n].append(self.run_program([program, "--entries", str(n), "--switches", str(switches)]))
        rows = []
        for n, results in per_size.items():
            row = {"entries": n,
                   "keys": all(r["keys"] for r in results),
                   "cold_ms": median([r["cold_painted_ms"] for r in results]),
                   "cold_handler_ms": median([r["cold_handler_ms"] for r in results]),
                   "warm_ms": median([r["warm_painted_ms"] for r in results]),
                   "warm_max_ms": max(r["warm_painted_max_ms"] for r in results),
                   "warm_handler_ms": median([r["warm_handler_ms"] for r in results]),
                   "ini_write_ms": median([r["ini_write_ms"] for r in results]),
                   "repaint_ms": median([r["repaint_ms"] for r in results]),
                   "notch_ms": median([r.get("notch_ms", -1) for r in results]),
                   "notch_frame_max_ms": max(r.get("notch_frame_max_ms", -1) for r in results)}
            rows.append(row)
            print(f"  {n:5} entries: cold {row['cold_ms']:.1f} ms (handler {row['cold_handler_ms']:.1f}), "
                  f"warm {row['warm_ms']:.1f} ms (handler {row['warm_handler_ms']:.1f}, max {row['warm_max_ms']:.1f}); "
                  f"settings write {row['ini_write_ms']:.2f} ms, window repaint {row['repaint_ms']:.2f} ms"
                  + (f"; wheel notch {row['notch_ms']:.1f} ms, longest glide frame {row['notch_frame_max_ms']:.1f} ms"
                     if row["notch_ms"] >= 0 else ""),
                  flush=True)
        self.results["switch"] = rows

    def run_summon(self):
        program = self.binary("bench", "bench_summon")
        rounds = 7 if self.args.quick else 21
        print(f"summon: {rounds} rounds per case", flush=True)
        rows = []
        for entries, stealth in ((100, False), (100, True), (1000, False)):
            r = self.run_program([program, "--entries", str(entries), "--rounds", str(rounds),
                                  *(["--stealth"] if stealth else [])])
            rows.append(r)
            print(f"  {entries:5} entries{', stealth' if stealth else ''}: median {r['median_ms']:.1f} ms, "
                  f"max {r['max_ms']:.1f} ms", flush=True)
        self.results["summon"] = rows

    def run_filter(self):
        program = self.binary("bench", "bench_filter")
        processes = 2 if self.args.quick else 5
        rounds = 7 if self.args.quick else 21
        print(f"filter: {processes} processes, {rounds} rounds of typing each", flush=True)
        for n, key in ((1000, "filter"),) + (((self.args.large, "filter_large"),) if self.args.large else ()):
            results = [self.run_program([program, "--entries", str(n), "--rounds", str(rounds)])
                       for _ in range(processes)]
            row = {"entries": n,
                   "cold_ms": median([r["cold_ms"] for r in results]),
                   "warm_first_key_ms": median([r["warm_first_key_ms"] for r in results]),
                   "warm_ms": median([r["warm_key_ms"] for r in results]),
                   "warm_max_ms": max(r["warm_key_max_ms"] for r in results),
                   "escape_ms": median([r["escape_ms"] for r in results])}
            print(f"  5 groups of {n}: cold first key {row['cold_ms']:.1f} ms, warm key {row['warm_ms']:.1f} ms "
                  f"(max {row['warm_max_ms']:.1f}), Escape {row['escape_ms']:.1f} ms", flush=True)
            self.results[key] = row

    def run_tick(self):
        r = self.run_program([self.binary("bench", "bench_stealth_tick"), "--ticks", "200" if self.args.quick else "2000"])
        self.results["tick"] = r
        print(f"stealth tick: away {r['away_us']:.1f} us, {r['away_allocations']:.2f} allocations; "
              f"inside {r['inside_us']:.1f} us, {r['inside_allocations']:.2f} allocations", flush=True)

    # --- Idle ----------------------------------------------------------------

    def run_idle(self):
        seconds = self.args.idle_seconds
        others = self.fixtures.make("idle-", 100)
        # Two bars side by side, stealth off and on; the pointer rests away from
        # both, then inside each in turn (on the plate's margin, on no button).
        places = {0: (100, 200), 1: (100, 450)}
        bars = {}
        for stealth, (left, top) in places.items():
            launcher = self.launcher(others, ini=f"[Form]\nLeft={left}\nTop={top}\n[Mode]\nStealth={stealth}\n")
            launcher.start()
            bars[stealth] = launcher
        extra = {"bare Qt window": self.desktop.spawn([self.binary("bench", "bare_window")])}
        if shutil.which("wbar"):
            argv, _, _ = self.wbar_setup(others)
            extra[f"wbar, {len(others)} entries"] = self.desktop.spawn(argv)
        if shutil.which("plank"):
            argv, _, env = self.plank_setup_idle(others)
            extra[f"Plank, {len(others)} entries"] = subprocess.Popen(
                argv, env=dict(self.desktop.env, **env), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                start_new_session=True)
        time.sleep(3.0)  # Plank writes its settings for a while after it starts
        away = (self.screen.width - 5, self.screen.height // 2)
        phases = [("pointer away", away, None), ("pointer inside", None, 0), ("pointer inside", None, 1)]
        print(f"idle: {len(phases)} phases of {seconds} s", flush=True)
        rows = []
        for label, point, inside in phases:
            if inside is not None:
                x, y, _, _ = bars[inside].geometry()
                point = (x + 5, y + 5)
            self.screen.move_pointer(*point)
            time.sleep(2.0)  # a fade runs out; a hover settles
            watched = {f"Quillbrook, stealth {'on' if s else 'off'}": l.proc for s, l in bars.items()
                       if inside is None or s == inside}
            if inside is None:
                watched.update(extra)
            before = {name: cpu_sample(p.pid) for name, p in watched.items()}
            time.sleep(seconds)
            for name, p in watched.items():
                ticks_ms, cpu_ms, switches, by_thread = cpu_delta(before[name], cpu_sample(p.pid))
                threads = ", ".join(f"{t} {n / seconds:.2f}" for t, n in sorted(by_thread.items(), key=lambda i: -i[1]))
                rows.append({"name": name, "pointer": label.split()[1], "seconds": seconds,
                             "cpu_ms": cpu_ms, "cpu_ticks_ms": ticks_ms, "wakeups_per_s": switches / seconds,
                             "threads": threads})
                print(f"  {name:28} {label:15} CPU {cpu_ms:7.2f} ms (utime+stime {ticks_ms:4.0f} ms), "
                      f"{switches / seconds:6.2f} wake-ups/s{' (' + threads + ')' if threads else ''}", flush=True)
        for p in extra.values():
            stop(p)
        for launcher in bars.values():
            launcher.stop()
        self.results["idle"] = rows

    def plank_setup_idle(self, paths):
        # A dock of its own, so that the start-up runs' settings stay apart.
        saved, self.tmp = self.tmp, os.path.join(self.tmp, "idle")
        os.makedirs(self.tmp, exist_ok=True)
        try:
            return self.plank_setup(paths)
        finally:
            self.tmp = saved

    # --- Launch --------------------------------------------------------------

    def run_launch(self):
        stamp = self.binary("bench", "stamp")
        stamps = os.path.join(self.tmp, "stamps")
        os.makedirs(stamps)
        desktop_entry = os.path.join(self.tmp, "stamp.desktop")
        with open(desktop_entry, "w") as f:
            f.write(f"[Desktop Entry]\nType=Application\nName=Stamp\nExec={stamp}\nIcon=utilities-terminal\n")
        seen = set()

        def next_stamp(timeout=5.0):
            deadline = time.monotonic() + timeout
            while time.monotonic() < deadline:
                for name in os.listdir(stamps):
                    if name.startswith("stamp-") and name not in seen:
                        seen.add(name)
                        with open(os.path.join(stamps, name)) as f:
                            return int(f.read())
                time.sleep(0.001)
            return None

        # The floor: a process started straight from here.
        floor = []
        env = dict(self.desktop.env, QB_STAMP_OUT=stamps)
        for _ in range(20):
            t0 = time.time_ns()
            pid = os.posix_spawn(stamp, [stamp], env)
            started = next_stamp()
            os.waitpid(pid, 0)
            if started:
                floor.append((started - t0) / 1e6)

        launcher = self.launcher([stamp, desktop_entry], env={"QB_STAMP_OUT": stamps})
        launcher.start()
        clicks = 10 if self.args.quick else 40
        latency = {0: [], 1: []}
        for i in range(clicks):
            kind = i % 2
            self.screen.move_pointer(*button_centre(kind))
            time.sleep(0.15)
            t0 = time.time_ns()
            self.screen.click()
            started = next_stamp()
            if started:
                latency[kind].append((started - t0) / 1e6)
            time.sleep(0.1)
        self.screen.move_pointer(5, self.screen.height - 5)
        launcher.stop()

        inproc = self.run_program([self.binary("bench", "bench_click"), "--clicks", "40" if self.args.quick else "200"])
        self.results["launch"] = {
            "exec_floor_ms": median(floor),
            "click_program_ms": median(latency[0]), "click_program_max_ms": max(latency[0], default=None),
            "click_desktop_ms": median(latency[1]), "click_desktop_max_ms": max(latency[1], default=None),
            "lost": clicks - len(latency[0]) - len(latency[1]),
            "inprocess": inproc,
        }
        r = self.results["launch"]
        print(f"launch: X click -> program {fmt(r['click_program_ms'], 'ms')} (max {fmt(r['click_program_max_ms'], 'ms')}), "
              f"-> desktop entry {fmt(r['click_desktop_ms'], 'ms')}; exec floor {fmt(r['exec_floor_ms'], 'ms')}; "
              f"handler {inproc['handler_us']:.0f} us (max {inproc['handler_max_us']:.0f})", flush=True)


def fmt(value, unit, digits=1):
    """A figure for the console, right-aligned, or a dash when it is missing."""
    text = "--" if value is None else f"{value:.{digits}f}"
    return f"{text:>7}{unit}" if unit in ("x", "") else f"{text:>7} {unit}"


# --- Goals and the report ----------------------------------------------------------

def goals(results):
    """(goal, measured, met) for each goal whose figures were measured."""
    out = []
    start = {r["name"]: r for r in results.get("startup", [])}
    bare = start.get("bare Qt window")
    plank = next((r for n, r in start.items() if n.startswith("Plank")), None)
    large = [int(n.split()[1]) for n in start if n.startswith("Quillbrook, ") and int(n.split()[1]) > 1000]
    # The bar as the parts compose it: less made at start, rows out of sight without buttons.
    limits = ((0, 1.25), (100, 1.25), (100, 1.0), (1000, 1.6), (1000, 1.25)) + tuple((n, 1.5) for n in large)
    for entries, limit in limits:
        ours = start.get(f"Quillbrook, {entries} entries")
        if bare and ours and ours["ratio"]:
            out.append((f"start-up, {entries} entries ≤ {limit} × bare window", f"{ours['ratio']:.2f} ×",
                        ours["ratio"] <= limit))
    ours100 = start.get("Quillbrook, 100 entries")
    if plank and ours100 and plank["first_ms"] and ours100["painted_ms"]:
        # Against Plank's first pixels, not the end of its fade-in.
        ratio = ours100["painted_ms"] / plank["first_ms"]
        out.append((f"start-up, 100 entries ≤ 0.5 × {plank['name']} (its first pixels)", f"{ratio:.2f} ×",
                    ratio <= 0.5))
    for row in results.get("switch", []):
        cold_limit = 50 if row["entries"] >= 1000 else 100
        out.append((f"group switch, {row['entries']} entries, warm ≤ 16 ms", f"{row['warm_ms']:.1f} ms",
                    row["warm_ms"] <= 16))
        out.append((f"group switch, {row['entries']} entries, cold ≤ {cold_limit} ms", f"{row['cold_ms']:.1f} ms",
                    row["cold_ms"] <= cold_limit))
        if row.get("notch_ms", -1) >= 0:
            out.append((f"wheel notch, {row['entries']} entries: to the first frame and every glide frame ≤ 16 ms",
                        f"{row['notch_ms']:.1f} ms, longest frame {row['notch_frame_max_ms']:.1f} ms",
                        max(row["notch_ms"], row["notch_frame_max_ms"]) <= 16))
    for row in results.get("summon", []):
        out.append((f"summon, {row['entries']} entries{', stealth' if row['stealth'] else ''}: key to bar shown, "
                    f"focused and painted ≤ 50 ms", f"{row['median_ms']:.1f} ms (max {row['max_ms']:.1f})",
                    row["max_ms"] <= 50))
    for f in (results.get("filter"), results.get("filter_large")):
        if f:
            out.append((f"filter, 5 groups of {f['entries']} entries, key press to painted, warm ≤ 16 ms",
                        f"{f['warm_ms']:.1f} ms (max {f['warm_max_ms']:.1f})", f["warm_ms"] <= 16))
    for row in results.get("idle", []):
        if not row["name"].startswith("Quillbrook"):
            continue
        per60 = row["cpu_ms"] * 60 / row["seconds"]
        if "off" in row["name"]:
            # No CPU at all: nothing of ours wakes up (the odd X event aside).
            met = row["cpu_ms"] < 1 and row["wakeups_per_s"] < 0.1
            out.append((f"idle, stealth off, pointer {row['pointer']}: no CPU",
                        f"{row['cpu_ms']:.2f} ms, {row['wakeups_per_s']:.2f} wake-ups/s", met))
        else:
            out.append((f"idle, stealth on, pointer {row['pointer']}: ≤ 0.5 ms CPU per 60 s, ≤ 0.1 wake-ups/s",
                        f"{per60:.2f} ms per 60 s, {row['wakeups_per_s']:.2f} wake-ups/s",
                        per60 <= 0.5 and row["wakeups_per_s"] <= 0.1))
    tick = results.get("tick")
    if tick:
        worst = max(tick["away_allocations"], tick["inside_allocations"])
        out.append(("stealth tick: no allocation", f"{tick['away_allocations']:.2f} away, "
                    f"{tick['inside_allocations']:.2f} inside per tick", worst == 0))
    for entries, limit in ((0, 5), (100, 5), (100, 4), (1000, 5)):
        ours = start.get(f"Quillbrook, {entries} entries")
        if bare and ours and ours["rss_over_bare_mib"] is not None:
            out.append((f"memory, {entries} entries ≤ bare window + {limit} MiB",
                        f"+{ours['rss_over_bare_mib']:.1f} MiB", ours["rss_over_bare_mib"] <= limit))
    launch = results.get("launch")
    if launch:
        handler = launch["inprocess"]["handler_us"] / 1000
        out.append(("click handler ≤ 1 ms", f"{handler:.3f} ms (max {launch['inprocess']['handler_max_us'] / 1000:.3f})",
                    handler <= 1))
        if launch["click_program_ms"] is not None:
            out.append(("program started ≤ 20 ms after the click", f"{launch['click_program_ms']:.1f} ms",
                        launch["click_program_ms"] <= 20))
    return out


def markdown(results, command, quick):
    lines = []
    when = datetime.datetime.now().strftime("%Y-%m-%d %H:%M")
    lines.append(f"Run {when} on {platform.machine()}, {os.cpu_count()} cores, Xvfb + openbox + picom"
                 f"{' (quick run: fewer runs, shorter idle)' if quick else ''}:")
    lines.append("")
    lines.append("```sh")
    lines.append(command)
    lines.append("```")
    if "startup" in results:
        lines += ["", "Start-up (exec to window mapped, and painted on screen) and resident memory after start, "
                  "medians of interleaved runs:", "",
                  "| program | runs | mapped | first pixels | painted | painted × bare | RSS | RSS − bare |",
                  "| --- | ---: | ---: | ---: | ---: | ---: | ---: | ---: |"]
        for r in results["startup"]:
            lines.append(f"| {r['name']} | {r['runs']} | {cell(r['mapped_ms'], ' ms')} | {cell(r['first_ms'], ' ms')} "
                         f"| {cell(r['painted_ms'], ' ms')} "
                         f"| {cell(r['ratio'], ' ×', 2)} | {cell(r['rss_mib'], ' MiB')} "
                         f"| {cell(r['rss_over_bare_mib'], ' MiB', signed=True)} |")
    if "switch" in results:
        lines += ["", "Group switch, key press to the new group painted (medians over processes):", "",
                  "| entries | cold | cold handler | warm | warm handler | warm max | settings write | window repaint "
                  "| wheel notch | longest glide frame |",
                  "| ---: | ---: | ---: | ---: | ---: | ---: | ---: | ---: | ---: | ---: |"]
        for r in results["switch"]:
            notch = r.get("notch_ms", -1) >= 0
            lines.append(f"| {r['entries']} | {cell(r['cold_ms'], ' ms')} | {cell(r['cold_handler_ms'], ' ms')} "
                         f"| {cell(r['warm_ms'], ' ms')} | {cell(r['warm_handler_ms'], ' ms')} "
                         f"| {cell(r['warm_max_ms'], ' ms')} | {cell(r['ini_write_ms'], ' ms', 2)} "
                         f"| {cell(r['repaint_ms'], ' ms', 2)} "
                         f"| {cell(r['notch_ms'], ' ms') if notch else '–'} "
                         f"| {cell(r['notch_frame_max_ms'], ' ms') if notch else '–'} |")
    if "summon" in results:
        lines += ["", "Summoning key (XTEST press) to the covered bar on top, focused and painted:", "",
                  "| entries | stealth | median | max |", "| ---: | --- | ---: | ---: |"]
        for r in results["summon"]:
            lines.append(f"| {r['entries']} | {'on' if r['stealth'] else 'off'} | {cell(r['median_ms'], ' ms')} "
                         f"| {cell(r['max_ms'], ' ms')} |")
    for f in (results.get("filter"), results.get("filter_large")):
        if not f:
            continue
        lines += ["", f"Typing to filter, five groups of {f['entries']} entries, key press to the matches painted "
                  "(medians over processes):", "",
                  "| cold first key | warm first key | warm key | warm max | Escape to the group |",
                  "| ---: | ---: | ---: | ---: | ---: |",
                  f"| {cell(f['cold_ms'], ' ms')} | {cell(f['warm_first_key_ms'], ' ms')} | {cell(f['warm_ms'], ' ms')} "
                  f"| {cell(f['warm_max_ms'], ' ms')} | {cell(f['escape_ms'], ' ms')} |"]
    if "idle" in results:
        lines += ["", "Idle, CPU time and wake-ups (context switches of all threads) over the period:", "",
                  "| program | pointer | seconds | CPU | utime+stime | wake-ups/s | by thread |",
                  "| --- | --- | ---: | ---: | ---: | ---: | --- |"]
        for r in results["idle"]:
            lines.append(f"| {r['name']} | {r['pointer']} | {r['seconds']} | {cell(r['cpu_ms'], ' ms', 2)} "
                         f"| {cell(r['cpu_ticks_ms'], ' ms', 0)} | {cell(r['wakeups_per_s'], '', 2)} "
                         f"| {r['threads'] or '–'} |")
    if "tick" in results:
        t = results["tick"]
        lines += ["", f"Stealth tick, in-process ({t['ticks']} ticks): pointer away {t['away_us']:.1f} µs "
                  f"(max {t['away_max_us']:.0f}), {t['away_allocations']:.2f} allocations, "
                  f"{t['away_paints']:.2f} repaints per tick; pointer inside {t['inside_us']:.1f} µs "
                  f"(max {t['inside_max_us']:.0f}), {t['inside_allocations']:.2f} allocations, "
                  f"{t['inside_paints']:.2f} repaints per tick."]
    if "launch" in results:
        l = results["launch"]
        i = l["inprocess"]
        lines += ["", "Launch latency, to the started program's first instruction:", "",
                  "| measure | program | desktop entry |", "| --- | ---: | ---: |",
                  f"| X click → started (median) | {cell(l['click_program_ms'], ' ms')} | {cell(l['click_desktop_ms'], ' ms')} |",
                  f"| X click → started (max) | {cell(l['click_program_max_ms'], ' ms')} | {cell(l['click_desktop_max_ms'], ' ms')} |",
                  f"| handler call → started (median) | {cell(i['program_start_ms'], ' ms')} | {cell(i['desktop_start_ms'], ' ms')} |",
                  f"| click handler (median) | {cell(i['program_handler_us'], ' µs', 0)} | {cell(i['desktop_handler_us'], ' µs', 0)} |",
                  "",
                  f"Click handler over all {i['clicks']} clicks: median {i['handler_us']:.0f} µs, max {i['handler_max_us']:.0f} µs. "
                  f"Floor (a process started straight from the benchmark): {cell(l['exec_floor_ms'], ' ms')}."]
    rows = goals(results)
    if rows:
        lines += ["", "Goals:", "", "| goal | measured | |", "| --- | --- | --- |"]
        for goal, measured, met in rows:
            lines.append(f"| {goal} | {measured} | {'met' if met else '**missed**'} |")
    return "\n".join(lines) + "\n"


def cell(value, unit, digits=1, signed=False):
    if value is None:
        return "–"
    return f"{value:+.{digits}f}{unit}" if signed else f"{value:.{digits}f}{unit}"


def update_readme(text):
    path = os.path.join(HERE, "README.md")
    with open(path) as f:
        readme = f.read()
    begin, end = "<!-- figures -->", "<!-- /figures -->"
    if begin not in readme or end not in readme:
        sys.exit("bench/README.md has no figures markers")
    head, rest = readme.split(begin, 1)
    _, tail = rest.split(end, 1)
    with open(path, "w") as f:
        f.write(f"{head}{begin}\n{text}{end}{tail}")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default=os.path.join(ROOT, "build"))
    parser.add_argument("--quick", action="store_true", help="fewer runs and 10 s idle phases, while developing")
    parser.add_argument("--runs", type=int, help="interleaved start-up runs per program (default 7, quick 3)")
    parser.add_argument("--idle-seconds", type=float, help="length of each idle phase (default 60, quick 10)")
    parser.add_argument("--others-entries", type=int, default=100, help="entries given to wbar and Plank")
    parser.add_argument("--large", type=int, default=0,
                        help="also start and switch groups with this many entries (10000 for the large-group figures)")
    parser.add_argument("--only", default="startup,switch,filter,idle,launch,summon",
                        help="comma-separated: startup (with memory), switch (with the stealth tick), filter, idle, "
                             "launch, summon")
    parser.add_argument("--json", help="also write the figures as JSON to this file")
    parser.add_argument("--update-readme", action="store_true", help="write the figures into bench/README.md")
    parser.add_argument("--no-install", action="store_true", help="do not install the bench packages")
    args = parser.parse_args()
    args.runs = args.runs or (3 if args.quick else 7)
    args.idle_seconds = args.idle_seconds or (10 if args.quick else 60)
    if args.idle_seconds == int(args.idle_seconds):
        args.idle_seconds = int(args.idle_seconds)
    only = set(args.only.split(","))

    if not args.no_install and "QB_BENCH_INSTALLED" not in os.environ:
        install_bench_packages()

    # The figures' command, without the options that only say where they go.
    shown, skip = [], False
    for arg in sys.argv[1:]:
        if skip or arg == "--update-readme" or arg.startswith("--json="):
            skip = False
            continue
        if arg == "--json":
            skip = True
            continue
        shown.append(arg)
    command = " ".join(["python3 bench/run_bench.py", *shown])
    bench = Bench(args)
    # A stop from outside still takes the desktop down.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    try:
        bench.start_desktop()
        if "startup" in only or "memory" in only:
            bench.run_startup()
        if "switch" in only:
            bench.run_switch()
            bench.run_tick()
        if "filter" in only:
            bench.run_filter()
        if "idle" in only:
            bench.run_idle()
        if "launch" in only:
            bench.run_launch()
        if "summon" in only:
            bench.run_summon()
    finally:
        bench.stop_desktop()

    text = markdown(bench.results, command, args.quick)
    print()
    print(text)
    if args.json:
        with open(args.json, "w") as f:
            json.dump(bench.results, f, indent=1)
    if args.update_readme:
        update_readme(text)


if __name__ == "__main__":
    main()
