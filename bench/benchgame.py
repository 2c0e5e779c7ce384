"""Runs the real program on the benchmark pack (or the demo) under a display
with Mesa's software OpenGL, and reads back what it reports."""
import os
import re
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import threading
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
ENV = {"SDL_AUDIODRIVER": "dummy", "LIBGL_ALWAYS_SOFTWARE": "1", "BRINDLEWICK_NO_DIALOG": "1"}
FPS_LINE = re.compile(r"bench: .*: ([0-9.]+) fps")
STAMP_LINE = re.compile(r"first frame shown ([0-9.]+) ms after launch")


def ensure_display(argv):
    """Runs this script again under a virtual X display of its own (tools/with-display, as the
    tests), unless it already runs on one: figures do not depend on a desktop, and no window
    appears on it. A stop by a signal still removes the runs' folders."""
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    if os.environ.get("DISPLAY") and os.environ.get("DISPLAY") == os.environ.get("BW_VIRTUAL_DISPLAY"):
        return
    with_display = os.path.join(ROOT, "tools", "with-display")
    os.execv(with_display, [with_display, sys.executable] + argv)


def build(build_dir, targets):
    if not os.path.exists(os.path.join(build_dir, "CMakeCache.txt")):
        subprocess.run(["cmake", "-S", ROOT, "-B", build_dir, "-DCMAKE_BUILD_TYPE=Release"], check=True,
                       stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", build_dir, "-j4", "--target"] + targets, check=True,
                   stdout=subprocess.DEVNULL)


def bench_config(numbers):
    """The benchmark configuration with the "bench" numbers replaced."""
    with open(os.path.join(ROOT, "bench", "config.conf"), encoding="utf-8") as f:
        text = f.read()
    for name, value in numbers.items():
        text, count = re.subn(r'(<value name="%s" data=")[^"]*(")' % name, r"\g<1>%f\g<2>" % value, text)
        assert count == 1, name
    return text


class Game:
    """A copy of a game folder (program, pack, configuration) in a temporary
    folder, with an empty per-user folder, so runs never touch the build."""

    def __init__(self, folder):
        self.work = tempfile.mkdtemp(prefix="bw-bench-")
        self.folder = os.path.join(self.work, "game")
        shutil.copytree(folder, self.folder)
        self.home = os.path.join(self.work, "home")
        os.mkdir(self.home)

    def close(self):
        shutil.rmtree(self.work, ignore_errors=True)

    def write_config(self, text):
        with open(os.path.join(self.folder, "config.conf"), "w", encoding="utf-8") as f:
            f.write(text)

    def start(self, extra_env=None):
        env = run_env(self.home)
        env.update(extra_env or {})
        env["BRINDLEWICK_LAUNCH_NS"] = str(time.monotonic_ns())
        return subprocess.Popen([os.path.join(self.folder, "brindlewick")], cwd=self.folder, env=env,
                                stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)


def run_env(home):
    """The environment of every measured run: software OpenGL, no sound device, `home` as the per-user folder."""
    return dict(os.environ, XDG_DATA_HOME=home, **ENV)


def run_command(argv, cwd, env):
    """Runs a program to its end; its standard error, peak memory in MiB and wall seconds."""
    started = time.monotonic()
    process = subprocess.Popen(argv, cwd=cwd, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    return finish(process, started)


def figure(pattern, errors, what):
    """The number the pattern's first group finds in a run's standard error."""
    found = pattern.search(errors)
    if not found:
        sys.exit("no figure from %s:\n%s" % (what, errors))
    return float(found.group(1))


def finish(process, started):
    """Waits for the process; its standard error, peak memory in MiB and wall seconds."""
    errors = process.stderr.read()
    _, status, usage = os.wait4(process.pid, 0)
    process.returncode = os.waitstatus_to_exitcode(status)
    return errors, usage.ru_maxrss / 1024.0, time.monotonic() - started


def run_to_end(game, timeout=600):
    """Runs the game until it ends by itself (killed after `timeout` seconds)."""
    started = time.monotonic()
    process = game.start()
    watchdog = threading.Timer(timeout, process.kill)
    watchdog.start()
    try:
        return finish(process, started)
    finally:
        watchdog.cancel()


def median(values):
    return statistics.median(values) if values else float("nan")


def threads_note():
    return "LP_NUM_THREADS=%s" % os.environ.get("LP_NUM_THREADS", "default (one per processor)")
