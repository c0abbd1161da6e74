"""A whole day, end to end, as a person would live it: Pesterly starts on a desktop with a
notification area, the day's review comes by itself, the questions are answered from the
keyboard, the window goes to the tray, and the tray's Exit leaves the day's answers in the
settings file. The mail server is down while the review sends: the review goes on, the
failure is told, the nag mail waits in the outbox, and at the next start it reaches a real
SMTP server once, while a mail the server refuses is told about once and set aside."""

import datetime
import glob
import os
import socket
import stat
import unittest

from desktop import (CANCEL, NAG_LIST, NAGGED, WEEKLY_REPORT, DesktopTest,
                     days_ago, ini, mail_env, review_since, us_date, wait_for)

REFUSED = "nobody@nowhere.example"


class WholeDayTest(DesktopTest):
    tray = True

    def test_a_whole_day(self):
        with socket.socket() as probe:  # a port nobody listens on until the server starts
            probe.bind(("127.0.0.1", 0))
            port = probe.getsockname()[1]
        today, yesterday = datetime.date.today(), days_ago(1)
        program, main = self.start(ini([
            dict(Date=us_date(today), Repeat=0, Desc="Renew the car insurance",
                 Done=us_date(days_ago(370)), Email=False),
            dict(WEEKLY_REPORT, EmailBody='"Grüße from Pesterly.\\nThe report is due."'),
            dict(Date=us_date(yesterday), Repeat=0, Desc="Book the dentist",
                 Done=us_date(yesterday), Email=True, SEmail="dentist@example.org"),
            dict(WEEKLY_REPORT, Desc="Ask the landlord", UseNagList=False, SEmail=REFUSED),
        ], Categories={"Count": '" 0"'}, Options=review_since(yesterday), NagList=NAG_LIST),
            extra_env=mail_env(port))
        program.screenshot(main, "day-main-window.png")

        # The review comes by itself; each box is answered from the keyboard.
        seen = set()
        box = program.next_box(main, seen)
        program.screenshot(box, "day-review-question.png")
        program.keys(box, "alt+y")  # Renew the car insurance: done
        # The weekly report: not done, nag. The review goes on at once: the mail's failure
        # message comes over the next question (the dentist: put off), the newer box on top.
        # The landlord: not done, nag, then its failure message.
        program.keys(program.next_box(main, seen), "alt+n")
        question, failure = wait_for(lambda: new if len(
            new := [w for w in program.boxes(main) if w.id not in seen]) == 2 else None)
        seen.update((question.id, failure.id))
        program.keys(failure, "Return")
        program.keys(question, "Escape")
        for key in ("alt+n", "Return"):
            program.keys(program.next_box(main, seen), key)
        wait_for(lambda: not program.boxes(main), what="the review to end")
        outbox = os.path.join(program.home, "state", "Pesterly", "outbox")
        waiting = wait_for(lambda: glob.glob(os.path.join(outbox, "*.mail")), what="the mails")
        self.assertEqual(len(waiting), 2)  # No was answered twice; Yes and Cancel mail nobody
        headers = []  # of the kept mails, then of the mail as it arrived: no blind address
        for path in waiting:
            self.assertEqual(stat.S_IMODE(os.stat(path).st_mode), 0o600)
            with open(path, encoding="utf-8") as f:
                headers.append(f.read().split("\n\n")[1])  # the message's own headers

        # A look at the editor, left with Cancel.
        program.keys(main, "Down", "Return")  # the first event row, opened from the keyboard
        editor = program.wait_window("Edit Event")
        program.screenshot(editor, "day-editor.png")
        program.click_corner(editor, *CANCEL)
        wait_for(lambda: not program.windows("Edit Event"), what="the editor to close")

        # Off to the tray, then Exit from the tray's menu.
        program.hide(main)
        program.tray_menu_exit()
        program.assert_exits()
        saved = program.settings()
        self.assertHolds(saved["Events"], {
            "EventCount": " 3", "EDesc0": "Send the weekly report",
            "EDone0": WEEKLY_REPORT["Done"],  # No leaves it due
            "ESEmail0": "me@example.org", "EDesc1": "Book the dentist",
            "EDate1": us_date(yesterday)})
        self.assertEqual(saved["Options"]["CheckDate"], us_date(datetime.date.today()))
        self.assertEqual(saved["NagList"]["ToAddress"], "team@example.org")

        # The next start, with the server up.
        mail = self.smtp_sink("--port", str(port), "--reject", REFUSED)
        program, main = self.start(home=program.home, extra_env=mail_env(port))
        seen = set()  # the X server may hand the ended program's window ids out again
        sender, recipients, message = mail.message(0)
        self.assertEqual((sender, recipients, message["To"], message["Bcc"]),
                         ("pesterly-user@example.org", NAGGED, "team@example.org", None))
        for text in headers + [str(message).split("\n\n", 1)[0]]:
            self.assertEqual([h for h in ("alice@", "bob@", "me@") if h in text], [], text)
        self.assertEqual(message["Subject"], "Send the weekly report")
        self.assertEqual(message.get_content().replace("\r\n", "\n"),
                         "Grüße from Pesterly.\nThe report is due.\n")
        program.keys(program.next_box(main, seen), "Return")  # the refusal, told once
        failed = os.path.join(outbox, "failed")
        wait_for(lambda: os.path.isdir(failed) and os.listdir(failed), what="the refused mail")
        self.assertEqual(len(os.listdir(failed)), 1)
        self.assertEqual(glob.glob(os.path.join(outbox, "*.mail")), [])
        self.assertEqual(mail.count(), 1)
        self.assertEqual(len(program.boxes(main)), 0)


if __name__ == "__main__":
    unittest.main(verbosity=2)
