"""Kills during saves: the program on 101 long events, ended by SIGTERM (which saves) and
then SIGKILL a few milliseconds later, again and again on one settings folder.

After every kill the settings file must hold all 101 events; a start must remove what a
killed save left behind (a planted "Pesterly.ini.XXXXXX" too); and an answer given more than
a second before a SIGKILL must be on disk.
"""

import glob
import os
import signal
import time

from common import (cases_in_fresh_homes, days_ago, Program, remove, review_from_yesterday,
                    settings_text, us_date, write)
from settings_files import table

DESCRIPTIONS = [f"Event {n:03} " + "long text " * 300 for n in range(101)]
SETTINGS = settings_text([{"Date": "3/14/2099", "Desc": d} for d in DESCRIPTIONS],
                         Options=review_from_yesterday())
OURS = (".lock", ".damaged", ".unsaved")


def ini_of(home):
    return os.path.join(home, "config", "Pesterly", "Pesterly.ini")


def leftovers(home):
    return [p for p in glob.glob(ini_of(home) + ".*") if not p.endswith(OURS)]


def whole(case, home, after):
    with open(ini_of(home), "rb") as f:
        text = f.read()
    missing = [d for d in DESCRIPTIONS if d.encode() not in text]
    case.check(not missing, "lost", f"{len(missing)} events missing {after}")


def killed_saves(suite, case, home):
    case.runs = 0
    for _ in range(suite.scaled(20, 60, 210)):
        case.runs += 1
        write(ini_of(home), SETTINGS)  # a review from yesterday: the end has to save
        program = Program(suite, home)
        try:
            if not program.settle(case, quiet=0.2):
                break
            program.process.send_signal(signal.SIGTERM)
            time.sleep(suite.random.uniform(0, 0.03))
            program.finish(case, signal.SIGKILL, expect=None)
        finally:
            program.cleanup()
        whole(case, home, "after a kill during the save")
        if case.faults:
            break
    left = len(leftovers(home))
    started_again(suite, case, home)
    remaining = leftovers(home)
    case.check(not remaining, "other", f"{len(remaining)} copies a killed save left behind "
               f"(of {left} after the last kill) stay after a start")


def started_again(suite, case, home):
    program = Program(suite, home)
    try:
        program.settle(case)
        program.finish(case)
    finally:
        program.cleanup()


def planted(suite, case, home):
    write(ini_of(home), SETTINGS)
    stale = ini_of(home) + ".Ab12Cd"
    write(stale, SETTINGS[:5000])
    os.utime(stale, (time.time() - 3600, time.time() - 3600))
    started_again(suite, case, home)
    case.check(not leftovers(home), "other", "a stale Pesterly.ini.XXXXXX stays after a start")


def answer_then_kill(suite, case, home):
    """Yes to a one-time event, then SIGKILL 1.5 s later: the event must not be asked again."""
    day = us_date(days_ago(1))
    write(ini_of(home), settings_text([{"Date": day, "Desc": "Collect the parcel",
                                        "Done": us_date(days_ago(2))}],
                                      Options=review_from_yesterday()))
    program = Program(suite, home)
    try:
        program.settle(case, ["alt+y"])
        time.sleep(1.5)
        program.finish(case, signal.SIGKILL, expect=None)
    finally:
        program.cleanup()
    with open(ini_of(home), "rb") as f:
        case.check("Collect the parcel" not in table(f.read()), "lost",
                   "the answer Yes given 1.5 s before a SIGKILL is not on disk")


def run(suite):
    yield from cases_in_fresh_homes(suite, (
        ("SIGTERM, then SIGKILL during the save", killed_saves),
        ("a planted stale copy", planted),
        ("an answer, then SIGKILL", answer_then_kill),
    ))
