"""Exchange files: hostile .Pesterly files imported through File > Import Events.

The program starts on an empty table, imports the file through the file dialog and is ended
by SIGTERM. A file that can be read must leave each of its events in the saved table with its
text as written (UTF-8 stays UTF-8; bytes that are not UTF-8 are Windows-1252); a file the
program refuses must get a message.
"""

import os
import random

from common import FAR_FUTURE, Case, Program, make_home, remove, settings_text
from settings_files import table


def line(desc, body=""):
    return f'#2026-03-14#,0,"{desc}",#2026-03-01#,#FALSE#,"",0,"{body}"\n'.encode("utf-8")


def exchange(*lines):
    return str(len(lines)).encode() + b"\n" + b"".join(lines)


def cases():
    """(name, file, descriptions to find in the table, or None when it may be refused)."""
    yield "UTF-8", exchange(line("Grüße an Jörg"), line("Café crème")), ["Grüße an Jörg",
                                                                         "Café crème"]
    yield "Windows-1252", exchange(line("Caf\xe9").replace(b"\xc3\xa9", b"\xe9")), ["Café"]
    # One byte that is not UTF-8 beside correct UTF-8: only that byte is Windows-1252.
    bad = line("Bad \xff byte").replace(b"\xc3\xbf", b"\xff")
    yield "one bad byte", exchange(line("Café crème"), bad), ["Café crème", "Bad ÿ byte"]
    yield "one bad byte", exchange(bad, line("Grüße")), ["Bad ÿ byte", "Grüße"]
    yield "line ends", exchange(line("CR one"), line("CR two")).replace(b"\n", b"\r"), \
        ["CR one", "CR two"]
    yield "byte order mark", b"\xef\xbb\xbf" + exchange(line("After the mark")), \
        ["After the mark"]
    yield "huge", exchange(line("x" * 1_000_000), line("Small after huge")), None
    yield "counts", b"99999999999999999999\n" + line("One"), None
    yield "counts", b"-1\n" + line("One"), None
    yield "counts", exchange(*(line(f"Event {n}") for n in range(150))), \
        [f"Event {n}" for n in range(101)]
    yield "quotes", exchange(line('He said ""hi""'), b'"' * 5000 + b"\n"), None
    yield "control bytes", exchange(line("NUL\0inside"), line("bell\a")), None
    rnd = random.Random(9)
    for _ in range(6):
        yield "random bytes", bytes(rnd.randrange(256) for _ in range(rnd.randrange(1, 3000))), \
            None
    yield "not a file", "fifo", None


def mojibake(text):
    return text.encode("utf-8").decode("cp1252", errors="replace")


def attack(suite, case, content, expected):
    home = make_home()
    path = os.path.join(home, "attack.Pesterly")
    if content == "fifo":
        os.mkfifo(path)
    else:
        with open(path, "wb") as f:
            f.write(content)
    program = Program(suite, home, settings=settings_text(Options=FAR_FUTURE))
    try:
        if program.settle(case):
            program.import_file(case, path)
        program.finish(case)
        with open(program.ini, "rb") as f:
            saved = table(f.read())
        if expected is None:
            case.check(saved or case.notices, "other", "nothing imported, and no word of it")
            return
        for text in expected:
            if text in saved:
                continue
            garbled = mojibake(text) in saved
            case.fault("other" if garbled else "lost",
                       f"{text!r} " + ("garbled" if garbled else "not imported") +
                       f"; the table: {saved[:3]!r}")
    finally:
        program.cleanup()
        remove(home)


def run(suite):
    every = suite.scaled(3, 1, 1)
    for number, (name, content, expected) in enumerate(cases()):
        if number % every == 0 or name == "one bad byte":
            case = Case(name)
            attack(suite, case, content, expected)
            yield case
