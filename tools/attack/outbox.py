"""The outbox: mails the program kept while the server was down, then started again with the
server up; files cut short or put there by others; two copies on one outbox; a review that
is interrupted after its nag mail went out.

Whatever the program kept must arrive once; a file cut short must not arrive at all (and the
program must say so); a file it does not send must get a word.
"""

import os
import shutil
import signal
import time

from common import (FAR_FUTURE, attempt, NOBODY, Case, Program, SmtpSink, arrived, due, keep_mails,
                    mail_env, make_home, remove, review_from_yesterday, settings_text, wait)
from settings_files import written_form


def next_start(suite, case, home, sink, as_user=0, settle=3.0):
    """Starts the program again on home with the server up, waits for the outbox to empty or
    settle seconds, and ends it: the mails that arrived."""
    program = Program(suite, home, mail_env(sink.port), as_user)
    try:
        program.settle(case)
        wait(lambda: not [f for f in os.listdir(program.outbox) if f.endswith(".mail")]
             if os.path.isdir(program.outbox) else True, settle)
        program.settle(case, quiet=0.5)
        program.finish(case)
    finally:
        program.cleanup()
    return arrived(sink)


def quoted_local_part(suite, case, home, sink):
    kept = keep_mails(suite, case, home, [due("Call John", written_form('"john doe"@example.org'))])
    case.check(kept, "lost", "the mail was not kept while the server was down")
    mails = next_start(suite, case, home, sink)
    case.check(len(mails) == 1, "lost", f"{len(mails)} of 1 kept mails arrived")


def cut_short(where):
    def attack(suite, case, home, sink):
        body = written_form("First line of the text.\nSecond line ends here.")
        [kept] = keep_mails(suite, case, home, [due("Cut short", EmailBody=body)])
        with open(kept, "rb") as f:
            data = f.read()
        cut = data.index(b"Subject:") if where == "headers" else data.index(b"ends here") + 2
        with open(kept, "r+b") as f:
            f.truncate(cut)
        notices = case.notices
        mails = next_start(suite, case, home, sink)
        case.check(not mails, "other", f"the cut mail was sent: {mails[0].as_bytes()[-60:]!r}"
                   if mails else "")
        case.check(case.notices > notices, "other", "the cut mail got no word")
    return attack


def stray(make):
    """An entry of the outbox that is not one of the program's own mail files: make(kept)
    puts it beside the kept mail and returns its path."""
    def attack(suite, case, home, sink):
        [kept] = keep_mails(suite, case, home, [due("Stray entries")])
        path = make(kept)
        notices = case.notices
        mails = next_start(suite, case, home, sink)
        case.check(len(mails) <= 1, "twice", f"one kept mail arrived {len(mails)} times")
        case.check(case.notices > notices or (mails and not os.path.exists(path)), "other",
                   f"{os.path.basename(path)} got no word")
    return attack


def beside(kept, name):
    return os.path.join(os.path.dirname(kept), name)


def folder(kept):
    os.mkdir(beside(kept, "dir.mail"))
    return beside(kept, "dir.mail")


def dot_file(kept):
    return shutil.copy(kept, beside(kept, ".hidden.mail"))


def cut_before_rename(kept):
    """What a write cut short an hour ago left: the whole mail under its temporary name."""
    path = kept + ".Ab12Cd"
    os.rename(kept, path)
    os.utime(path, (time.time() - 3600, time.time() - 3600))
    return path


def unreadable(suite, case, home, sink):
    """A mail of the user's own that mode 0000 made unreadable: the word must say so, not
    call it a file that is no nag mail."""
    os.chown(home, NOBODY, NOBODY)
    [kept] = keep_mails(suite, case, home, [due("Mode 0000")], NOBODY)
    os.chmod(kept, 0)
    told = len(case.texts)
    next_start(suite, case, home, sink, NOBODY)
    said = "\n".join(case.texts[told:])
    case.check(said.strip(), "other", "an unreadable mail got no word")
    case.check("not a nag mail" not in said, "other", f"an unreadable mail was called "
               f"not a nag mail: {said[:160]!r}")


def shared(suite, case, home, sink):
    """Two copies with settings of their own and one state folder, as when the settings
    folder is given anew and the state folder is not."""
    count = suite.scaled(6, 12, 20)
    kept = keep_mails(suite, case, home, [due(f"Shared {n}") for n in range(count)])
    case.check(len(kept) == count, "lost", f"{len(kept)} of {count} mails kept")
    other = make_home()
    env = {**mail_env(sink.port), "XDG_STATE_HOME": os.path.join(home, "state")}
    programs = [Program(suite, h, env, settings=settings_text(Options=FAR_FUTURE))
                for h in (home, other)]
    try:
        wait(lambda: sink.count() >= count and
             not [f for f in os.listdir(programs[0].outbox) if f.endswith(".mail")], 60)
        time.sleep(2)
        for program in programs:
            program.settle(case, quiet=0.3)
            program.finish(case)
    finally:
        for program in programs:
            program.cleanup()
        remove(other)
    subjects = [str(m["Subject"]) for m in arrived(sink)]
    twice = len(subjects) - len(set(subjects))
    case.check(not twice, "twice", f"{twice} of {count} waiting mails sent twice")
    case.check(len(set(subjects)) == count, "lost", f"{len(set(subjects))} of {count} arrived")


def interrupted(sig):
    """No is answered and the nag mail goes out; the program ends before the review does;
    at the next start the same event is asked again, and No again must not mail again."""
    def attack(suite, case, home, sink):
        events = [due("Pay the rent"), due("Water the plants", Email=False)]
        program = Program(suite, home, mail_env(sink.port),
                          settings=settings_text(events, Options=review_from_yesterday()))
        try:
            first = wait(program.box, 15)
            program.keys(first, "alt+n")
            wait(lambda: sink.count() and (program.box() or first).id != first.id, 15)
            time.sleep(0.5)  # the next question is open
            program.finish(case, sig, expect=None)
        finally:
            program.cleanup()
        again = Program(suite, home, mail_env(sink.port))
        try:
            again.settle(case, ["alt+n", "Escape"], quiet=2.0)
            again.finish(case)
        finally:
            again.cleanup()
        count = sink.count()
        case.check(count == 1, "twice" if count > 1 else "lost",
                   f"the nag mail of one event arrived {count} times in one day")
    return attack


CASES = [
    ("quoted local part", quoted_local_part),
    ("cut in the headers", cut_short("headers")),
    ("cut in the text", cut_short("text")),
    ("a folder dir.mail", stray(folder)),
    ("a dot file .hidden.mail", stray(dot_file)),
    ("a leftover NAME.mail.XXXXXX", stray(cut_before_rename)),
    ("mode 0000", unreadable),
    ("one outbox, two copies", shared),
    ("review ended by SIGTERM", interrupted(signal.SIGTERM)),
    ("review ended by SIGKILL", interrupted(signal.SIGKILL)),
]


def run(suite):
    for name, attack in CASES:
        case = Case(name)
        home, sink = make_home(), SmtpSink()
        try:
            attempt(case, attack, suite, case, home, sink)
        finally:
            sink.stop()
            remove(home)
        yield case
