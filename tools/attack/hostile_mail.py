"""Hostile mail: nag mails built from hostile descriptions, addresses, texts and nag lists,
answered No in the review and sent to a real SMTP server on 127.0.0.1 (one on ::1).

A mail may go only to addresses the user entered, at most once, with no header the user did
not ask for (no Bcc line, no blind address in any header), and its subject and text as typed;
a mail that is not sent must get a message.
"""

import glob
import os

from common import (Case, Program, SmtpSink, attempt, due, mail_env, make_home, remove,
                    review_from_yesterday, settings_text)
from settings_files import written_form

EVIL = "evil@example.net"
INJECTED = f"\r\nX-Injected: yes\r\nBcc: {EVIL}"
BLIND = [f"blind{n}@example.org" for n in range(20)]


def nag_list(addresses, to="team@example.org", count=None):
    keys = {f"Email{n}": a for n, a in enumerate(addresses)}
    return {"EmailCount": len(addresses) if count is None else count, **keys, "UseTO": False,
            "ToAddress": written_form(to)}


# (name, event, other sections, the addresses entered, subject and text to arrive or None)
CASES = [
    ("line break in the description", due(written_form("Pay the rent" + INJECTED)), {},
     ["someone@example.org"], None),
    ("line break in the address", due("Pay the rent", written_form("someone@example.org" +
                                                                   INJECTED)), {},
     ["someone@example.org"], None),
    ("two addresses in one", due("Pay the rent", "a@example.org, b@example.org"), {},
     ["a@example.org", "b@example.org"], None),
    ("an address that starts with a dash", due("Pay the rent", "-oQ/tmp/x@example.org"), {},
     ["-oQ/tmp/x@example.org"], None),
    ("letters outside ASCII before the @", due("Pay the rent", "jörg@example.org"), {}, [],
     None),
    ("letters outside ASCII in the domain", due("Pay the rent", "someone@bücher.example"), {},
     ["someone@xn--bcher-kva.example", "someone@bücher.example"], None),
    ("an encoded word in the description",
     due(f"=?utf-8?q?Hidden=0D=0ABcc:_{EVIL}?="), {}, ["someone@example.org"],
     (f"=?utf-8?q?Hidden=0D=0ABcc:_{EVIL}?=", None)),
    ("NUL in the description", due(written_form("Pay\0 the rent")), {},
     ["someone@example.org"], ("Pay the rent", None)),
    ("a 5000-letter description", due("Long " + "x" * 5000), {}, ["someone@example.org"],
     ("Long " + "x" * 5000, None)),
    ("a line of one dot in the text",
     due("Dots", EmailBody=written_form("First\n.\nAfter the dot\n..\nEnd")), {},
     ["someone@example.org"], ("Dots", "First\n.\nAfter the dot\n..\nEnd\n")),
    ("text and subject outside ASCII",
     due("Grüße, Jörg 🎂", EmailBody=written_form("Schöne Grüße\nvon Pesterly")), {},
     ["someone@example.org"], ("Grüße, Jörg 🎂", "Schöne Grüße\nvon Pesterly\n")),
    ("a blind nag list of 20", due("Team meeting", UseNagList=True),
     {"NagList": nag_list(BLIND)}, BLIND + ["someone@example.org", "team@example.org"], None),
    ("a nag list with an entry missing", due("Team meeting", UseNagList=True),
     {"NagList": nag_list(BLIND[:2], count=4)},
     BLIND[:2] + ["someone@example.org", "team@example.org"], None),
    ("a line break in the To address", due("Team meeting", UseNagList=True),
     {"NagList": nag_list(BLIND[:2], to="team@example.org" + INJECTED)},
     BLIND[:2] + ["someone@example.org", "team@example.org"], None),
    ("a line break in the sender", due("Pay the rent"),
     {"Mail": {"From": written_form("me@example.org" + INJECTED)}}, ["someone@example.org"],
     None),
    ("a server on ::1", due("Pay the rent"), {}, ["someone@example.org"], ("Pay the rent", None)),
]


def attack(suite, case, event, sections, entered, content):
    host = "::1" if "::1" in case.name else "127.0.0.1"
    home, sink = make_home(), SmtpSink("--host", host)
    try:
        program = Program(suite, home, mail_env(sink.port, host), settings=settings_text(
            [event], Options=review_from_yesterday(), **sections))
        try:
            program.settle(case, ["alt+n"], quiet=3.0)
            program.finish(case)
        finally:
            program.cleanup()
        count = sink.count()
        case.check(count <= 1, "twice", f"{count} mails for one No")
        if count == 0:
            waiting = glob.glob(os.path.join(program.outbox, "*.mail"))
            case.check(case.notices or waiting, "lost", "no mail, and no word why")
            case.check(not content, "lost", "the mail did not arrive")
            return
        _, recipients, message = sink.message(0)
        allowed = {a.lower() for a in entered}
        stray = [r for r in recipients if r.lower() not in allowed]
        case.check(not stray, "other", f"mailed addresses never entered: {stray!r}")
        names = [name.lower() for name in message.keys()]
        case.check("x-injected" not in names and "bcc" not in names, "other",
                   f"a header the user did not ask for: {names!r}")
        head = " ".join(str(v) for k, v in message.items() if k.lower() != "subject")
        leaked = [a for a in BLIND + [EVIL] if a in head]
        case.check(not leaked, "other", f"blind addresses in the headers: {leaked[:3]!r}")
        if content:
            subject, text = content
            case.check(str(message["Subject"]) == subject, "other",
                       f"subject {str(message['Subject'])[:60]!r} for {subject[:60]!r}")
            if text is not None:
                got = message.get_content().replace("\r\n", "\n")
                case.check(got == text, "other", f"text {got!r} for {text!r}")
    finally:
        sink.stop()
        remove(home)


def run(suite):
    for name, event, sections, entered, content in CASES:
        case = Case(name)
        attempt(case, attack, suite, case, event, sections, entered, content)
        yield case
