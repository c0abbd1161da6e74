"""Idle: the program left alone on a full table, once with an empty outbox and once with a
mail waiting for a server that is down, measured over a bounded time after it settled: CPU
time, and wakeups (context switches of the threads alive at both ends of the span).
"""

import os
import sys
import time

from common import (FAR_FUTURE, cases_in_fresh_homes, due, free_port, keep_mails, mail_env, Program,
                    settings_text)

EVENTS = [{"Date": "3/14/2099", "Desc": f"Event {n}"} for n in range(101)]
MOST_CPU_MS, MOST_WAKEUPS = 30.0, 6.0  # a minute


def sample(pid):
    """(CPU seconds, {thread: context switches})."""
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    cpu = (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")
    switches = {}
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/status") as f:
                switches[task] = sum(int(line.split()[1]) for line in f
                                     if "ctxt_switches:" in line)
        except OSError:
            pass
    return cpu, switches


def measure(suite, case, home, env):
    # As on a desktop where no screen reader runs.
    program = Program(suite, home, {**env, "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "0"},
                      settings=settings_text(EVENTS, Options=FAR_FUTURE))
    try:
        if not program.settle(case):
            return
        time.sleep(3)
        span = suite.scaled(10, 20, 120)
        cpu0, switches0 = sample(program.process.pid)
        time.sleep(span)
        cpu1, switches1 = sample(program.process.pid)
        program.finish(case)
    finally:
        program.cleanup()
    per_minute = 60.0 / span
    cpu = (cpu1 - cpu0) * 1000 * per_minute
    wakeups = sum(switches1[t] - switches0[t] for t in switches0 if t in switches1) * per_minute
    print(f"idle / {case.name}: {cpu:.1f} ms CPU and {wakeups:.1f} wakeups a minute over "
          f"{span} s", file=sys.stderr)
    case.check(cpu <= MOST_CPU_MS, "other", f"{cpu:.1f} ms CPU a minute")
    case.check(wakeups <= MOST_WAKEUPS, "other", f"{wakeups:.1f} wakeups a minute")


def waiting_mail(suite, case, home):
    port = free_port()
    keep_mails(suite, case, home, [due("Waiting")])
    os.remove(os.path.join(home, "config", "Pesterly", "Pesterly.ini"))
    measure(suite, case, home, mail_env(port))


def run(suite):
    yield from cases_in_fresh_homes(suite, (
        ("101 events", lambda s, c, h: measure(s, c, h, {})),
        ("a mail waiting, server down", waiting_mail),
    ))
