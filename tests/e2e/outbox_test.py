"""Nag mail that cannot go out waits in the outbox: the mail server is down when the review
sends, the program is killed, and at the next start the mail arrives once while a mail the
server refuses is told about once and set aside."""

import datetime
import os
import signal
import socket
import stat
import unittest

from desktop import (NAG_LIST, NAGGED, WEEKLY_REPORT, DesktopTest, days_ago, ini, mail_env,
                     review_since, wait_for)

REFUSED = "nobody@nowhere.example"


class OutboxTest(DesktopTest):
    tray = True

    def start(self, check_date, home=None):
        program = self.launch(ini([
            dict(WEEKLY_REPORT, EmailBody="The report is due."),
            dict(WEEKLY_REPORT, Desc="Ask the landlord", UseNagList=False, SEmail=REFUSED),
        ], Options=review_since(check_date), NagList=NAG_LIST), home=home,
            extra_env=mail_env(self.port))
        return program, program.wait_window("Pesterly")

    def test_a_mail_waits_for_the_server_and_arrives_once(self):
        with socket.socket() as probe:  # a port nobody listens on until the server starts
            probe.bind(("127.0.0.1", 0))
            self.port = probe.getsockname()[1]
        program, main = self.start(days_ago(1))
        outbox = os.path.join(program.home, "state", "Pesterly", "outbox")
        seen = set()
        for key in ("alt+n", "Return", "alt+n", "Return"):  # each No, then its failure message
            program.keys(program.next_box(main, seen), key)
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

        mail = self.smtp_sink("--port", str(self.port), "--reject", REFUSED)
        program, main = self.start(datetime.date.today(), home=program.home)
        seen = set()  # the X server may hand the killed program's window ids out again
        sender, recipients, message = mail.message(0)
        self.assertEqual(recipients, NAGGED)
        self.assertEqual(message["To"], "team@example.org")
        self.assertEqual(message["Subject"], "Send the weekly report")
        program.keys(program.next_box(main, seen), "Return")  # the refusal, told once
        failed = os.path.join(outbox, "failed")
        wait_for(lambda: os.path.isdir(failed) and os.listdir(failed), what="the refused mail")
        self.assertEqual(len(os.listdir(failed)), 1)
        self.assertEqual([n for n in os.listdir(outbox) if n.endswith(".mail")], [])
        self.assertEqual(mail.count(), 1)
        self.assertEqual(len(program.boxes(main)), 0)


if __name__ == "__main__":
    unittest.main(verbosity=2)
