"""Starts the real program under Xvfb, closes it as a window manager would, and reads what it
left in its settings file."""

import datetime
import os
import subprocess
import unittest

from desktop import BINARY, SHOTS, DesktopTest

HAND_WRITTEN = r"""[events]
eventcount=" 3"
EDATE0=3/14/2001
ERepeat0=1
EDesc0="  Mother's birthday  "
EDone0=3/14/2026
EEmail0=True
EUseNagList0=true
ESEmail0=me@example.org
ECategory0=1
EEmailBody0="Buy a present.\nAnd a card."
edate1=4/2/2027 10:30:00 AM
erepeat1=0
edesc1=Dentist
edone1=3/28/2026
eemail1=False
euseNagList1=False
esemail1=
ecategory1=0
eemailbody1=
EDate2=12/1/2026
ERepeat2=3
EDesc2=Put the bins out
EDone2=12/1/2026
ECategory2=2

[Categories]
Count=" 2"
Category0=Family

[Options]
CheckDate=12/31/2099
CheckTime=8:00:00AM
"""


class StartupTest(DesktopTest):
    def run_and_close(self, settings_text=None, shot=None):
        program = self.launch(settings_text)
        window = program.wait_window("Pesterly")
        if shot:
            program.screenshot(window, os.path.join(SHOTS, shot))
        program.close_window(window)
        self.assertEqual(program.wait_exit(), 0, program.output())
        return program.settings()

    def test_hand_written_file_is_saved_back_in_the_stored_forms(self):
        saved = self.run_and_close(HAND_WRITTEN, "main-window.png")
        events = saved["events"]  # the file's own spelling of the section is kept
        self.assertEqual(events["eventcount"], " 3")
        self.assertEqual(events["EDATE0"], "3/14/2001")
        self.assertEqual(events["EDesc0"], "Mother's birthday")
        self.assertEqual(events["EEmail0"], "True")
        self.assertEqual(events["EUseNagList0"], "False")  # only exactly "True" is true
        self.assertEqual(events["ESEmail0"], "me@example.org")
        self.assertEqual(events["EEmailBody0"], "Buy a present.\nAnd a card.")
        self.assertEqual(events["edate1"], "4/2/2027 10:30:00 AM")
        self.assertEqual(events["esemail1"], "")
        self.assertEqual(events["EDesc2"], "Put the bins out")
        self.assertEqual(events["ERepeat2"], "3")
        # Missing keys come back with their defaults, written in their stored forms.
        self.assertEqual(events["EEmail2"], "False")
        self.assertEqual(events["ESEmail2"], "")  # the default blank, trimmed on saving
        self.assertEqual(events["EEmailBody2"], "")
        self.assertEqual(saved["Categories"]["Count"], " 2")
        self.assertEqual(saved["Categories"]["Category1"], "Error")
        self.assertEqual(saved["Options"]["CheckTime"], "8:00:00 AM")
        self.assertEqual(saved["Options"]["CheckDate"], "12/31/2099")
        # No key got a twin in another case.
        lowered = [k.lower() for k in events]
        self.assertEqual(len(lowered), len(set(lowered)))

    def test_first_start_writes_defaults(self):
        saved = self.run_and_close(None, "first-start.png")
        today = datetime.date.today()
        self.assertEqual(saved["Events"]["EventCount"], " 0")
        self.assertEqual(saved["Categories"]["Count"], " 0")
        self.assertEqual(saved["Options"]["CheckTime"], "8:00:00 AM")
        self.assertEqual(saved["Options"]["CheckDate"],
                         f"{today.month}/{today.day}/{today.year}")

    def test_without_a_display_it_says_how_to_get_one(self):
        env = {k: v for k, v in os.environ.items()
               if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        result = subprocess.run([BINARY], env=env, capture_output=True, text=True, timeout=20)
        self.assertEqual(result.returncode, 1)
        self.assertIn("no display was found", result.stderr)
        self.assertIn("xvfb-run", result.stderr)
        self.assertNotIn("qt.qpa", result.stderr)


if __name__ == "__main__":
    unittest.main(verbosity=2)
