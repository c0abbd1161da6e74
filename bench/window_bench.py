#!/usr/bin/python3
"""Measures the real program's window against a bare Qt window of the same size, side by side
on one Xvfb server, and prints them with the core benchmark figures as one table.

    window_bench.py --build DIR --core-json FILE [--runs 5] [--idle 120]

- Start-up: from starting the process to the main window being mapped (MapNotify on the root
  window), the median of --runs starts of each, taken in turn; beside it the CPU time the
  program's threads had used by then, which a busy machine disturbs far less.
- Peak memory: VmHWM once the window is shown and has gone idle, and the shared libraries
  mapped by then.
- Idle: CPU time (schedstat) and wakeups (context switches) over --idle seconds with both
  windows hidden, the two programs idling at the same time. Only threads alive at both
  samples count: Qt's pooled threads end after 30 s idle and take their counters with them.

Pesterly runs with a private HOME on the full sample table, its last review dated far in the
future so that it asks nothing; a tray host (trayer) runs so that its Hide button works, and
it is hidden by clicking that button. The bare window hides itself. Both find a session bus
and a runtime folder of their own, as in a desktop session: without a bus every Qt program
would start dbus-launch on its way up, a cost that would hide the programs' own.

Every process started here is ended on the way out, whatever happens.
"""

import argparse
import os
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time

from Xlib import X

# The X server, the tray host and where the Hide button sits are the end-to-end tests'.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from desktop import HIDE, SCREEN, TrayHost, Xvfb  # noqa: E402

from bench_table import core_results, print_table  # noqa: E402

# How long after its window is mapped a program counts as settled (Pesterly docks its tray
# icon and enables Hide half a second after start).
SETTLE_S = 1.5
# The bare window hides itself this long after it is shown, once its memory has been read.
BARE_HIDE_AFTER_MS = 3000
DEADLINE_S = 180  # the whole measurement, start-up runs included, besides the idle window



class Desktop:
    """An Xvfb server with a tray host, and every program started on it."""

    def __init__(self):
        self.processes = []
        self.home = tempfile.mkdtemp(prefix="pesterly-bench-")
        self.screen = Xvfb()
        self.name, self.x = self.screen.name, self.screen.x
        self.root = self.x.screen().root
        self.root.change_attributes(event_mask=X.SubstructureNotifyMask)
        self.x.sync()
        self.pid_atom = self.x.intern_atom("_NET_WM_PID")
        config = os.path.join(self.home, "config")
        self.env = {k: v for k, v in os.environ.items()
                    if not k.startswith(("QT_", "DBUS_", "XDG_", "WAYLAND_"))}
        # The runtime folder on a memory file system where there is one, as a session has.
        self.runtime = tempfile.mkdtemp(prefix="pesterly-bench-run-",
                                        dir="/dev/shm" if os.path.isdir("/dev/shm") else None)
        self.env.update(DISPLAY=self.name, HOME=self.home, XDG_CONFIG_HOME=config,
                        XDG_RUNTIME_DIR=self.runtime, LANG="C.UTF-8", LC_ALL="C.UTF-8")
        address, pid = subprocess.run(
            ["dbus-daemon", "--session", "--fork", "--print-address=1", "--print-pid=1"],
            capture_output=True, text=True, check=True, env=self.env).stdout.split()
        self.bus_pid = int(pid)
        self.env["DBUS_SESSION_BUS_ADDRESS"] = address
        self.ini = os.path.join(config, "Pesterly", "Pesterly.ini")
        self.tray = TrayHost(self.screen, self.env)

    def _keep(self, process):
        self.processes.append(process)
        return process

    def start(self, argv):
        return self._keep(subprocess.Popen(argv, env=self.env, stdout=subprocess.DEVNULL,
                                           stderr=subprocess.DEVNULL))

    def stop(self, process):
        """Ends a program as a desktop would (SIGTERM), killing it if it does not go."""
        if process.poll() is None:
            process.terminate()
            try:
                process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
        if process in self.processes:
            self.processes.remove(process)

    def close(self):
        for process in reversed(self.processes):
            if process.poll() is None:
                process.terminate()
        for process in reversed(self.processes):
            try:
                process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
        self.processes.clear()
        for part in (self.tray, self.screen):
            try:
                part.stop()
            except Exception:  # gone already, or never came up
                pass
        try:
            os.kill(self.bus_pid, signal.SIGTERM)
        except ProcessLookupError:
            pass
        shutil.rmtree(self.home, ignore_errors=True)
        shutil.rmtree(self.runtime, ignore_errors=True)

    def _events(self, timeout):
        """X events as they arrive, until timeout seconds have passed."""
        deadline = time.monotonic() + timeout
        while True:
            while self.x.pending_events():
                yield self.x.next_event()
            left = deadline - time.monotonic()
            if left <= 0:
                return
            select.select([self.x.fileno()], [], [], left)
            # Reading the socket happens inside pending_events().

    def _pid_of(self, window):
        try:
            prop = window.get_full_property(self.pid_atom, X.AnyPropertyType)
        except Exception:  # the window went away meanwhile
            return None
        return prop.value[0] if prop else None

    def wait_mapped(self, process, timeout=20.0):
        """The moment (monotonic), window and geometry of the first large top-level window
        of the process to be mapped; small windows (the tray icon) are passed over."""
        for event in self._events(timeout):
            if event.type != X.MapNotify or self._pid_of(event.window) != process.pid:
                continue
            geometry = event.window.get_geometry()
            if geometry.width > 64 and geometry.height > 64:
                return time.monotonic(), event.window, geometry
        raise RuntimeError(f"no window of {process.args[0]} was mapped in {timeout:.0f} s")

    def wait_unmapped(self, window, timeout):
        if window.get_attributes().map_state == X.IsUnmapped:
            return True
        for event in self._events(timeout):
            if event.type == X.UnmapNotify and event.window.id == window.id:
                return True
        return window.get_attributes().map_state == X.IsUnmapped

    def xdotool(self, *args):
        subprocess.run(["xdotool", *map(str, args)], env=self.env, check=True, timeout=10,
                       stdout=subprocess.DEVNULL)

    def click_hide_button(self, window):
        """Clicks Pesterly's Hide button, in the window's bottom right corner."""
        g = window.get_geometry()
        x = g.x + g.width - HIDE[0]
        y = g.y + g.height - HIDE[1]
        self.xdotool("mousemove", "--sync", x, y, "click", "1")
        # Leave the pointer where no window of either program is.
        self.xdotool("mousemove", SCREEN[0] - 1, SCREEN[1] - 1)


def peak_memory_kib(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    raise RuntimeError("no VmHWM")


def shared_libraries(pid):
    """How many shared libraries (and plugins) the process has mapped."""
    with open(f"/proc/{pid}/maps") as f:
        return len({line.split()[-1] for line in f if ".so" in line.rsplit("/", 1)[-1]})


def thread_counters(pid):
    """{thread id: (ns on CPU, context switches)} for every thread of the process."""
    counters = {}
    for tid in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{tid}/schedstat") as f:
                cpu_ns = int(f.read().split()[0])
            switches = 0
            with open(f"/proc/{pid}/task/{tid}/status") as f:
                for line in f:
                    if line.startswith(("voluntary_ctxt_switches", "nonvoluntary_ctxt_switches")):
                        switches += int(line.split()[1])
        except FileNotFoundError:  # the thread ended meanwhile
            continue
        counters[tid] = (cpu_ns, switches)
    return counters


def idle_cost(before, after, seconds):
    """CPU milliseconds and wakeups a minute, over the threads alive at both samples."""
    common = before.keys() & after.keys()
    cpu_ns = sum(after[t][0] - before[t][0] for t in common)
    wakeups = sum(after[t][1] - before[t][1] for t in common)
    per_minute = 60.0 / seconds
    return {"cpu_ms": cpu_ns / 1e6 * per_minute, "wakeups": wakeups * per_minute,
            "threads": len(common), "threads_gone": len(before.keys() - after.keys())}


def measure(build, runs, idle_seconds):
    pesterly = os.path.join(build, "src", "pesterly")
    bare = os.path.join(build, "bench", "bare_window")
    desktop = Desktop()
    try:
        pristine = os.path.join(desktop.home, "Pesterly.ini")
        subprocess.run([os.path.join(build, "bench", "sample_settings"), pristine], check=True,
                       env=desktop.env)

        def start_pesterly():
            # Every start sees the same file: the previous run saved on its way out.
            os.makedirs(os.path.dirname(desktop.ini), exist_ok=True)
            shutil.copyfile(pristine, desktop.ini)
            return desktop.start([pesterly])

        def timed_start(start):
            begun = time.monotonic()
            process = start()
            mapped, _, geometry = desktop.wait_mapped(process)
            cpu_ns = sum(cpu for cpu, _ in thread_counters(process.pid).values())
            desktop.stop(process)
            return mapped - begun, geometry, cpu_ns / 1e9

        # A first start of each warms the caches and gives the main window's size.
        _, geometry, _ = timed_start(start_pesterly)
        width, height = geometry.width, geometry.height

        def start_bare(*extra):
            return desktop.start([bare, str(width), str(height), *map(str, extra)])

        timed_start(start_bare)
        startup = {"pesterly": [], "bare": []}
        startup_cpu = {"pesterly": [], "bare": []}
        for _ in range(runs):
            for name, start in (("pesterly", start_pesterly), ("bare", start_bare)):
                wall, _, cpu = timed_start(start)
                startup[name].append(wall)
                startup_cpu[name].append(cpu)

        # Memory and idle cost, both programs at once. The bare window goes first so that
        # Pesterly's window lies on top, where its Hide button can be clicked.
        bare_process = start_bare(BARE_HIDE_AFTER_MS)
        _, bare_window, _ = desktop.wait_mapped(bare_process)
        pesterly_process = start_pesterly()
        _, main_window, _ = desktop.wait_mapped(pesterly_process)
        time.sleep(SETTLE_S)
        memory = {"pesterly": peak_memory_kib(pesterly_process.pid),
                  "bare": peak_memory_kib(bare_process.pid)}
        libraries = {"pesterly": shared_libraries(pesterly_process.pid),
                     "bare": shared_libraries(bare_process.pid)}
        for _ in range(3):
            desktop.click_hide_button(main_window)
            if desktop.wait_unmapped(main_window, 2.0):
                break
        else:
            raise RuntimeError("Pesterly's window did not hide when Hide was clicked")
        if not desktop.wait_unmapped(bare_window, BARE_HIDE_AFTER_MS / 1000 + 5):
            raise RuntimeError("the bare window did not hide itself")
        time.sleep(2.0)  # let whatever hiding set off die down
        pids = {"pesterly": pesterly_process.pid, "bare": bare_process.pid}
        before = {name: thread_counters(pid) for name, pid in pids.items()}
        started = time.monotonic()
        time.sleep(idle_seconds)
        after = {name: thread_counters(pid) for name, pid in pids.items()}
        elapsed = time.monotonic() - started
        for name, process in (("pesterly", pesterly_process), ("bare", bare_process)):
            if process.poll() is not None:
                raise RuntimeError(f"{name} ended while idling")
        for window in (main_window, bare_window):
            if window.get_attributes().map_state != X.IsUnmapped:
                raise RuntimeError("a window was shown again while idling")
        idle = {name: idle_cost(before[name], after[name], elapsed) for name in pids}
        return {"startup": startup, "startup_cpu": startup_cpu, "memory": memory,
                "libraries": libraries, "idle": idle, "size": (width, height),
                "idle_seconds": elapsed}
    finally:
        desktop.close()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", required=True)
    parser.add_argument("--core-json", required=True)
    parser.add_argument("--runs", type=int, default=5)
    # Two minutes: Qt ends its pooled threads once, about 30 s after start, and that one wakeup of
    # each program must not weigh as much as a minute's idling.
    parser.add_argument("--idle", type=float, default=120.0)
    args = parser.parse_args()

    def give_up(signum, _frame):
        raise SystemExit(f"window_bench: stopped by signal {signum}")

    signal.signal(signal.SIGTERM, give_up)
    signal.signal(signal.SIGALRM, give_up)
    signal.alarm(DEADLINE_S + int(args.idle))
    core = core_results(args.core_json)
    windows = measure(args.build, args.runs, args.idle)
    signal.alarm(0)
    print_table(core, windows)  # a missed target is reported, not an error
    return 0


if __name__ == "__main__":
    sys.exit(main())
