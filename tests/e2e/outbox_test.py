"""Nag mail that cannot go out waits in the outbox: the mail server is down when the review
sends, the program is killed, and at the next start the mail arrives once while a mail the
server refuses is told about once and set aside."""

import datetime
import os
import signal
import socket
import stat
import unittest

from desktop import Pesterly, TrayHost, Xvfb, wait_for
from whole_day_test import BINARY, SmtpSink, us_date

REFUSED = "nobody@nowhere.example"


def settings(check_date):
    last_week = datetime.date.today() - datetime.timedelta(days=8)
    return f"""[Events]
EventCount=" 2"
EDate0=3/14/2001
ERepeat0=3
EDesc0=Send the weekly report
EDone0={us_date(last_week)}
EEmail0=True
EUseNagList0=True
ESEmail0=me@example.org
EEmailBody0=The report is due.
EDate1=3/14/2001
ERepeat1=3
EDesc1=Ask the landlord
EDone1={us_date(last_week)}
EEmail1=True
ESEmail1={REFUSED}

[Options]
CheckDate={us_date(check_date)}
CheckTime=12:00:00 AM

[NagList]
EmailCount=2
Email0=alice@example.org
Email1=bob@example.org
UseTO=False
ToAddress=team@example.org
"""


class OutboxTest(unittest.TestCase):
    def setUp(self):
        self.screen = Xvfb()
        self.addCleanup(self.screen.stop)
        tray = TrayHost(self.screen)
        self.addCleanup(tray.stop)
        with socket.socket() as probe:  # a port nobody listens on until the server starts
            probe.bind(("127.0.0.1", 0))
            self.port = probe.getsockname()[1]

    def start(self, check_date, home=None):
        program = Pesterly(BINARY, self.screen, settings(check_date), home=home, extra_env={
            "PESTERLY_MAIL_URL": f"smtp://127.0.0.1:{self.port}",
            "EMAIL": "pesterly-user@example.org"})
        self.addCleanup(program.cleanup)
        return program, program.wait_window("Pesterly")

    def answer_next_box(self, program, main, seen, key):
        def box():
            boxes = [w for w in program.windows("Pesterly") if w.id != main.id and w.id not in seen]
            return boxes[0] if boxes else None
        window = wait_for(box, what="the next message box")
        seen.add(window.id)
        program.keys(window, key)

    def test_a_mail_waits_for_the_server_and_arrives_once(self):
        program, main = self.start(datetime.date.today() - datetime.timedelta(days=1))
        outbox = os.path.join(program.home, "state", "Pesterly", "outbox")
        seen = set()
        for key in ("alt+n", "Return", "alt+n", "Return"):  # each No, then its failure message
            self.answer_next_box(program, main, seen, key)
        waiting = wait_for(lambda: [n for n in os.listdir(outbox) if n.endswith(".mail")],
                           what="the mails to be kept")
        self.assertEqual(len(waiting), 2)
        for name in waiting:
            with open(os.path.join(outbox, name), encoding="utf-8") as f:
                text = f.read()
            self.assertEqual(stat.S_IMODE(os.stat(os.path.join(outbox, name)).st_mode), 0o600)
            headers = text.split("\n\n")[1]  # the message's own headers
            for hidden in ("alice@", "bob@", "me@"):
                self.assertNotIn(hidden, headers)
        program.process.send_signal(signal.SIGKILL)
        program.process.wait()

        mail = SmtpSink("--port", str(self.port), "--reject", REFUSED)
        self.addCleanup(mail.stop)
        program, main = self.start(datetime.date.today(), home=program.home)
        seen = set()  # the X server may hand the killed program's window ids out again
        sender, recipients, message = mail.message(0)
        self.assertEqual(recipients, ["alice@example.org", "bob@example.org", "me@example.org",
                                      "team@example.org"])
        self.assertEqual(message["To"], "team@example.org")
        self.assertEqual(message["Subject"], "Send the weekly report")
        self.answer_next_box(program, main, seen, "Return")  # the refusal, told once
        failed = os.path.join(outbox, "failed")
        wait_for(lambda: os.path.isdir(failed) and os.listdir(failed), what="the refused mail")
        self.assertEqual(len(os.listdir(failed)), 1)
        self.assertEqual([n for n in os.listdir(outbox) if n.endswith(".mail")], [])
        self.assertEqual(mail.count(), 1)
        self.assertEqual(len([w for w in program.windows("Pesterly") if w.id != main.id]), 0)


if __name__ == "__main__":
    unittest.main(verbosity=2)
