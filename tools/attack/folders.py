"""Full and read-only folders: the settings folder, and with it the state and temporary
folders, on a small tmpfs that is full or mounted read-only, or made read-only by its owner.

The program starts on three events after a review that changes the file and is ended by
SIGTERM, as at logout. Every event must then be in the settings file or in a rescue copy; when
nothing at all could be written, the program must end with a non-zero status and name the loss
on standard error; a folder its owner made read-only must stay so.
"""

import os
import stat

from common import (NOBODY, cases_in_fresh_homes, Mount, Program, review_from_yesterday,
                    settings_text, write)

EVENTS = [{"Date": "3/14/2099", "Desc": desc, "Done": "3/1/2026"}
          for desc in ("Dentist", "Put the bins out", "Gas bill")]
SETTINGS = settings_text(EVENTS, Options=review_from_yesterday())


def kept(folders):
    """The events that are in no file under folders (sockets and pipes left by the desktop
    services of a start are passed over)."""
    text = b""
    for folder in folders:
        for path in [os.path.join(d, f) for d, _, fs in os.walk(folder) for f in fs]:
            if not stat.S_ISREG(os.lstat(path).st_mode):
                continue
            with open(path, "rb") as f:
                text += f.read()
    return [e["Desc"] for e in EVENTS if e["Desc"].encode() not in text]


def on_tmpfs(suite, case, home, how, everything):
    data = os.path.join(home, "data")
    mount = Mount(data)
    env = {"XDG_CONFIG_HOME": os.path.join(data, "config"), "TMPDIR": os.path.join(data, "tmp"),
           "XDG_STATE_HOME": os.path.join(data if everything else home, "state")}
    try:
        write(os.path.join(data, "config", "Pesterly", "Pesterly.ini"), SETTINGS)
        os.makedirs(env["TMPDIR"])
        mount.fill() if how == "full" else mount.read_only()
        program = Program(suite, home, env)
        try:
            program.settle(case)
            status = program.finish(case, expect=None)
            output = program.output()
        finally:
            program.cleanup()
        lost = kept([data, os.path.join(home, "state")])
        if everything:
            told = [line for line in output.splitlines() if not line.startswith("QStandardPaths")]
            case.check(status not in (0, None) and told, "lost",
                       f"nothing could be saved, yet exit status {status} and "
                       f"{'a word' if told else 'no word'} on standard error")
        else:
            case.check(status == 0, "crash", f"exit status {status}")
            case.check(not lost, "lost", f"events in no file: {lost!r}")
    finally:
        mount.close()


def owner_made_read_only(suite, case, home):
    os.chown(home, NOBODY, NOBODY)
    folder = os.path.join(home, "config", "Pesterly")
    write(os.path.join(folder, "Pesterly.ini"), SETTINGS, NOBODY)
    os.chmod(folder, 0o555)
    program = Program(suite, home, as_user=NOBODY)
    try:
        program.settle(case)
        program.finish(case)
    finally:
        program.cleanup()
    mode = stat.S_IMODE(os.stat(folder).st_mode)
    case.check(mode == 0o555, "other", f"the folder's mode 555 became {mode:o}, without a word"
               if not case.notices else f"the folder's mode 555 became {mode:o}")
    lost = kept([home])
    case.check(not lost, "lost", f"events in no file: {lost!r}")


CASES = [
    ("settings folder full", lambda s, c, h: on_tmpfs(s, c, h, "full", False)),
    ("settings folder read-only", lambda s, c, h: on_tmpfs(s, c, h, "read-only", False)),
    ("settings, state and temporary folders full",
     lambda s, c, h: on_tmpfs(s, c, h, "full", True)),
    ("settings folder made 555 by its owner", owner_made_read_only),
]


def run(suite):
    yield from cases_in_fresh_homes(suite, CASES)
