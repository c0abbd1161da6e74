"""A whole day, end to end, as a person would live it: Pesterly starts on a desktop with a
notification area, the day's review comes by itself, the questions are answered from the
keyboard, the nag mail reaches a real SMTP server, the window goes to the tray and back, and
the tray's Exit leaves the day's answers in the settings file."""

import datetime
import os
import unittest

from desktop import (EDITOR_CLIENT, MAIN_CLIENT, NAG_LIST, NAGGED, SHOTS, WEEKLY_REPORT,
                     DesktopTest, days_ago, ini, mail_env, review_since, us_date, wait_for)


class WholeDayTest(DesktopTest):
    tray = True

    def test_a_whole_day(self):
        mail = self.smtp_sink()
        today, yesterday = datetime.date.today(), days_ago(1)
        program = self.launch(ini([
            dict(Date=us_date(today), Repeat=0, Desc="Renew the car insurance",
                 Done=us_date(days_ago(370)), Email=False),
            dict(WEEKLY_REPORT, EmailBody='"Grüße from Pesterly.\\nThe report is due."'),
            dict(Date=us_date(yesterday), Repeat=0, Desc="Book the dentist",
                 Done=us_date(yesterday), Email=True, SEmail="dentist@example.org"),
        ], Categories={"Count": '" 0"'}, Options=review_since(yesterday), NagList=NAG_LIST),
            extra_env=mail_env(mail.port))
        main = program.wait_window("Pesterly")
        program.screenshot(main, os.path.join(SHOTS, "day-main-window.png"))

        # The review comes by itself; each box is answered from the keyboard.
        seen = set()
        box = program.next_box(main, seen)
        program.screenshot(box, os.path.join(SHOTS, "day-review-question.png"))
        program.keys(box, "alt+y")  # Renew the car insurance: done
        program.keys(program.next_box(main, seen), "alt+n")  # the weekly report: not done, nag
        sender, recipients, message = mail.message(0)
        program.keys(program.next_box(main, seen), "Escape")  # Book the dentist: put off
        wait_for(lambda: not program.boxes(main), what="the review to end")

        self.assertEqual(mail.count(), 1)  # No was answered once; Yes and Cancel mail nobody
        self.assertEqual(sender, "pesterly-user@example.org")
        self.assertEqual(recipients, NAGGED)
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
        self.assertEqual(events["EDone0"], WEEKLY_REPORT["Done"])  # No leaves it due
        self.assertEqual(events["ESEmail0"], "me@example.org")
        self.assertEqual(events["EDesc1"], "Book the dentist")
        self.assertEqual(events["EDate1"], us_date(yesterday))
        self.assertEqual(saved["Options"]["CheckDate"], us_date(datetime.date.today()))
        self.assertEqual(saved["NagList"]["ToAddress"], "team@example.org")


if __name__ == "__main__":
    unittest.main(verbosity=2)
