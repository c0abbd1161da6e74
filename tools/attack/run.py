#!/usr/bin/python3
"""Attacks the real Pesterly, class by class, each under an X server of its own and against
real SMTP servers on 127.0.0.1 and ::1, and prints one table of what went wrong: crashes,
hangs, silent losses (events or mails gone without a word), duplicates (a second copy running
on one file, a mail sent twice), logins in clear, and other faults (what else the case
checks, such as a leftover file or a header that should not be there). Each fault is named on
standard error as it is found. The exit status is 1 when any fault was found.

    tools/attack/run.py [--quick | --full] [--only CLASS]... [path/to/pesterly]

The default binary is build/src/pesterly; --quick runs fewer generated cases, --full more.
Needs root (mounts and another user), Xvfb, xdotool, aiosmtpd and gnome-keyring.
"""

import argparse
import importlib
import os
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
from common import KINDS, Suite  # noqa: E402
from desktop import Xvfb  # noqa: E402

CLASSES = [  # (name in the table, module)
    ("settings files", "settings_files"),
    ("exchange files", "exchange_files"),
    ("kills during saves", "kills"),
    ("full and read-only folders", "folders"),
    ("two copies", "two_copies"),
    ("hostile mail", "hostile_mail"),
    ("the outbox", "outbox"),
    ("secrets", "secrets"),
    ("idle", "idle"),
]
HEADINGS = ("Class", "Cases", "Crashes", "Hangs", "Silent losses", "Duplicates",
            "Logins in clear", "Other faults", "Notices")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("binary", nargs="?", help="the program (default build/src/pesterly)",
                        default=os.path.join(HERE, "..", "..", "build", "src", "pesterly"))
    size = parser.add_mutually_exclusive_group()
    size.add_argument("--quick", dest="size", action="store_const", const="quick",
                      help="fewer generated cases (a few minutes)")
    size.add_argument("--full", dest="size", action="store_const", const="full",
                      help="more generated cases: 210 kills, 20 races, two idle minutes")
    parser.add_argument("--only", action="append", choices=[m for _, m in CLASSES], default=[],
                        metavar="CLASS", help="run this class only (may be repeated): " +
                        ", ".join(m for _, m in CLASSES))
    args = parser.parse_args()
    binary = os.path.abspath(args.binary)
    os.environ["PYTHONWARNINGS"] = "ignore"  # the test servers' deprecation notes
    rows = []
    for name, module in CLASSES:
        if args.only and module not in args.only:
            continue
        started = time.monotonic()
        screen = Xvfb()
        row = dict.fromkeys(("cases", "notices") + KINDS, 0)
        try:
            suite = Suite(binary, screen, args.size or "default")
            for case in importlib.import_module(module).run(suite):
                row["cases"] += case.runs
                row["notices"] += case.notices
                for kind, what in case.faults:
                    row[kind] += 1
                    print(f"{name} / {case.name}: {kind}: {what}", file=sys.stderr, flush=True)
        finally:
            screen.stop()
        print(f"{name}: {row['cases']} cases in {time.monotonic() - started:.0f} s",
              file=sys.stderr, flush=True)
        rows.append([name] + [row[k] for k in ("cases",) + KINDS + ("notices",)])
    rows.append(["All"] + [sum(r[i] for r in rows) for i in range(1, len(HEADINGS))])
    print("| " + " | ".join(HEADINGS) + " |")
    print("| --- |" + " ---: |" * (len(HEADINGS) - 1))
    for row in rows:
        print("| " + " | ".join(str(cell) for cell in row) + " |")
    return 1 if any(rows[-1][2:-1]) else 0


if __name__ == "__main__":
    sys.exit(main())
