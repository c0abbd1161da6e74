"""Two copies: a second start while one copy runs on the same settings file must not open a
second window on it, whether the two start at the same moment or the settings folder cannot
hold a lock file (full, mounted read-only, or read-only for its owner); when no lock can be
taken anywhere, the second start must say so and not run.
"""

import os
import time

from common import (FAR_FUTURE, NOBODY, cases_in_fresh_homes, Mount, Program, runtime_dir,
                    settings_text, wait, write)

SETTINGS = settings_text([{"Date": "3/14/2099", "Desc": "Dentist"}], Options=FAR_FUTURE)


def both_up(case, programs, what):
    """Waits until each copy shows its window or ends; two windows are a duplicate."""
    wait(lambda: all(p.main_window() or p.process.poll() is not None for p in programs), 15)
    time.sleep(1.5)
    shown = [p for p in programs if p.process.poll() is None and p.main_window()]
    case.check(len(shown) < 2, "twice", f"two copies run on one settings file ({what})")
    return shown


def race(suite, case, home):
    write(os.path.join(home, "config", "Pesterly", "Pesterly.ini"), SETTINGS)
    programs = [Program(suite, home), Program(suite, home)]
    try:
        both_up(case, programs, "started at the same moment")
        for program in programs:
            # The later one may end by itself, with status 1 when it could not reach the
            # other in time, saying so.
            ended = program.process.poll() is not None
            status = program.finish(case, expect=None if ended else 0)
            case.check(status in (0, None) or (status == 1 and program.output().strip()),
                       "crash", f"exit status {status}")
    finally:
        for program in programs:
            program.cleanup()


def no_lock_file(how, owner=0, anywhere=False):
    """A second start while the settings folder cannot hold a lock file (and, anywhere, nor
    the runtime and temporary folders); a start that ends by itself must say why."""
    def attack(suite, case, home):
        os.chown(home, owner, owner)
        folder = os.path.join(home, "config", "Pesterly")
        mounts = [] if how == "555" else [Mount(folder, owner)]
        programs = []
        try:
            write(os.path.join(folder, "Pesterly.ini"), SETTINGS, owner)
            env = {}
            if anywhere:
                mounts.append(Mount(runtime_dir(home, owner), owner))
                mounts[-1].read_only()
                env = {"TMPDIR": mounts[-1].path}
            if how == "555":
                os.chmod(folder, 0o555)
            else:
                mounts[0].fill() if how == "full" else mounts[0].read_only()
            words = []
            for _ in range(2):
                programs.append(Program(suite, home, env, as_user=owner))
                notices = case.notices
                programs[-1].settle(case, timeout=10)
                words.append(case.notices > notices)
            both_up(case, programs, f"settings folder {how}")
            for program, word in zip(programs, words):
                ended = program.process.poll() is not None
                program.finish(case, expect=None if ended else 0)
                case.check(not ended or word or program.output().strip(), "other",
                           "a start ended without a word")
        finally:
            for program in programs:
                program.cleanup()
            for mount in reversed(mounts):
                mount.close()
    return attack


def run(suite):
    cases = [(f"race {n + 1}", race) for n in range(suite.scaled(3, 10, 20))] + [
        ("settings folder full", no_lock_file("full")),
        ("settings folder mounted read-only", no_lock_file("read-only")),
        ("settings folder read-only for its owner", no_lock_file("555", NOBODY)),
        ("no lock anywhere", no_lock_file("read-only", anywhere=True)),
    ]
    yield from cases_in_fresh_homes(suite, cases)
