"""A whole day, end to end, as a person would live it: Pesterly starts on a desktop with a
notification area, the day's review comes by itself, the questions are answered from the
keyboard, the nag mail reaches a real SMTP server, the window goes to the tray and back, and
the tray's Exit leaves the day's answers in the settings file."""

import datetime
import email
import email.policy
import os
import subprocess
import tempfile
import unittest

from desktop import BINARY, EDITOR_CLIENT, MAIN_CLIENT, SHOTS, Pesterly, TrayHost, Xvfb, wait_for
HERE = os.path.dirname(os.path.abspath(__file__))


def us_date(day):
    return f"{day.month}/{day.day}/{day.year}"


class SmtpSink:
    """The test's own SMTP server on 127.0.0.1."""

    def __init__(self, *options):
        self.folder = tempfile.mkdtemp(prefix="pesterly-mail-")
        self.process = subprocess.Popen(
            ["/usr/bin/python3", os.path.join(HERE, "smtp_sink.py"), "--out", self.folder,
             "--lifetime", "170", *options],
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        line = self.process.stdout.readline().split()
        if len(line) != 2 or line[0] != "port":
            raise RuntimeError("the SMTP server did not start")
        self.port = int(line[1])

    def message(self, number):
        envelope_path = os.path.join(self.folder, f"{number}.envelope")
        wait_for(lambda: os.path.exists(envelope_path), what=f"mail {number} to arrive")
        with open(envelope_path, encoding="utf-8") as f:
            lines = f.read().split("\n")
        with open(os.path.join(self.folder, f"{number}.eml"), "rb") as f:
            message = email.message_from_bytes(f.read(), policy=email.policy.default)
        sender = lines[0].removeprefix("from ")
        recipients = sorted(line.removeprefix("rcpt ") for line in lines[1:] if line)
        return sender, recipients, message

    def count(self):
        return len([n for n in os.listdir(self.folder) if n.endswith(".envelope")])

    def stop(self):
        self.process.stdin.close()
        self.process.wait(timeout=10)


class WholeDayTest(unittest.TestCase):
    def setUp(self):
        self.screen = Xvfb()
        self.addCleanup(self.screen.stop)
        tray = TrayHost(self.screen)
        self.addCleanup(tray.stop)
        self.mail = SmtpSink()
        self.addCleanup(self.mail.stop)

    def test_a_whole_day(self):
        today = datetime.date.today()
        yesterday = today - datetime.timedelta(days=1)
        last_week = today - datetime.timedelta(days=8)
        settings = f"""[Events]
EventCount=" 3"
EDate0={us_date(today)}
ERepeat0=0
EDesc0=Renew the car insurance
EDone0={us_date(today - datetime.timedelta(days=370))}
EEmail0=False
EDate1=3/14/2001
ERepeat1=3
EDesc1=Send the weekly report
EDone1={us_date(last_week)}
EEmail1=True
EUseNagList1=True
ESEmail1=me@example.org
EEmailBody1="Grüße from Pesterly.\\nThe report is due."
EDate2={us_date(yesterday)}
ERepeat2=0
EDesc2=Book the dentist
EDone2={us_date(yesterday)}
EEmail2=True
ESEmail2=dentist@example.org

[Categories]
Count=" 0"

[Options]
CheckDate={us_date(yesterday)}
CheckTime=12:00:00 AM

[NagList]
EmailCount=2
Email0=alice@example.org
Email1=bob@example.org
UseTO=False
ToAddress=team@example.org
"""
        program = Pesterly(BINARY, self.screen, settings, extra_env={
            "PESTERLY_MAIL_URL": f"smtp://127.0.0.1:{self.mail.port}",
            "EMAIL": "pesterly-user@example.org"})
        self.addCleanup(program.cleanup)
        main = program.wait_window("Pesterly")
        program.screenshot(main, os.path.join(SHOTS, "day-main-window.png"))

        def question():
            boxes = [w for w in program.windows("Pesterly") if w.id != main.id]
            return boxes[0] if boxes else None

        # The review comes by itself; each box is answered from the keyboard.
        box = wait_for(question, what="the first question")
        program.screenshot(box, os.path.join(SHOTS, "day-review-question.png"))
        program.keys(box, "alt+y")  # Renew the car insurance: done
        box = wait_for(lambda: question() if question() and question().id != box.id else None,
                       what="the second question")
        program.keys(box, "alt+n")  # Send the weekly report: not done, nag
        sender, recipients, message = self.mail.message(0)
        box = wait_for(lambda: question() if question() and question().id != box.id else None,
                       what="the third question")
        program.keys(box, "Escape")  # Book the dentist: put off
        wait_for(lambda: question() is None, what="the review to end")

        self.assertEqual(self.mail.count(), 1)  # No was answered once; Yes and Cancel mail nobody
        self.assertEqual(sender, "pesterly-user@example.org")
        self.assertEqual(recipients, ["alice@example.org", "bob@example.org",
                                      "me@example.org", "team@example.org"])
        self.assertEqual(message["To"], "team@example.org")
        self.assertIsNone(message["Bcc"])
        raw_headers = str(message).split("\n\n", 1)[0]
        for hidden in ("alice@", "bob@", "me@"):
            self.assertNotIn(hidden, raw_headers)
        self.assertEqual(message["Subject"], "Send the weekly report")
        self.assertEqual(message.get_content().replace("\r\n", "\n"),
                         "Grüße from Pesterly.\nThe report is due.\n")

        # A look at the editor, left with Cancel.
        program.click_twips(main, MAIN_CLIENT, 6000, 480, repeat=2)  # the first event row
        editor = program.wait_window("Edit Event")
        program.screenshot(editor, os.path.join(SHOTS, "day-editor.png"))
        program.click_twips(editor, EDITOR_CLIENT, 4560, 5820)  # Cancel
        wait_for(lambda: not program.windows("Edit Event"), what="the editor to close")

        # Off to the tray and back, then Exit from the tray's menu.
        program.hide(main)
        program.click_at(*program.tray_icon())
        main = program.wait_window("Pesterly")
        program.hide(main)
        program.tray_menu_exit()
        self.assertEqual(program.wait_exit(), 0, program.output())

        saved = program.settings()
        events = saved["Events"]
        self.assertEqual(events["EventCount"], " 2")
        self.assertEqual(events["EDesc0"], "Send the weekly report")
        self.assertEqual(events["EDone0"], us_date(last_week))  # No leaves it due
        self.assertEqual(events["ESEmail0"], "me@example.org")
        self.assertEqual(events["EDesc1"], "Book the dentist")
        self.assertEqual(events["EDate1"], us_date(yesterday))
        self.assertEqual(saved["Options"]["CheckDate"], us_date(datetime.date.today()))
        self.assertEqual(saved["NagList"]["ToAddress"], "team@example.org")


if __name__ == "__main__":
    unittest.main(verbosity=2)
