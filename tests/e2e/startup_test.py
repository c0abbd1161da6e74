"""Starts the real program under Xvfb, closes it as a window manager would, and reads what it
left in its settings file; and the program on settings files it cannot use as they are: a
damaged file whose notice is open when the desktop ends the program, a pipe where the file
should be, and another user's file."""

import datetime
import os
import shutil
import signal
import stat
import subprocess
import tempfile
import unittest

from desktop import BINARY, SHOTS, DesktopTest, wait_for

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

DAMAGED = '[Events]\nEventCount=" 1"\nEDesc0=Order 12" pizza\nthis line has no equals sign\n'


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


    def test_sigterm_while_the_damaged_file_notice_is_open_ends_without_saving_over(self):
        program = self.launch(DAMAGED)
        program.wait_window("Pesterly")  # the notice: the main window comes after it
        with open(program.ini + ".damaged", encoding="utf-8") as kept:
            self.assertEqual(kept.read(), DAMAGED)
        program.process.send_signal(signal.SIGTERM)
        self.assertEqual(program.wait_exit(10), 0, program.output())
        with open(program.ini, encoding="utf-8") as f:
            self.assertEqual(f.read(), DAMAGED)

    def test_a_pipe_as_the_settings_file_gets_a_message_and_is_left_alone(self):
        config = tempfile.mkdtemp(prefix="pesterly-fifo-")
        self.addCleanup(shutil.rmtree, config, ignore_errors=True)
        ini = os.path.join(config, "Pesterly", "Pesterly.ini")
        os.makedirs(os.path.dirname(ini))
        os.mkfifo(ini)
        program = self.launch(extra_env={"XDG_CONFIG_HOME": config})
        notice = program.wait_window("Pesterly")  # no hang on the pipe
        self.dismiss_notice(program, notice)
        program.process.send_signal(signal.SIGTERM)
        self.assertEqual(program.wait_exit(10), 0, program.output())
        self.assertTrue(stat.S_ISFIFO(os.stat(ini).st_mode))
        with open(ini + ".unsaved", encoding="utf-8") as f:
            self.assertIn("[Events]", f.read())

    def dismiss_notice(self, program, notice):
        program.keys(notice, "Return")
        wait_for(lambda: program.windows("Pesterly") and
                 program.windows("Pesterly")[0].id != notice.id, what="the main window")

    @unittest.skipUnless(os.geteuid() == 0, "needs root to run the program as another user")
    def test_another_users_file_is_never_written_over(self):
        base = tempfile.mkdtemp(prefix="pesterly-other-")
        self.addCleanup(shutil.rmtree, base, ignore_errors=True)
        os.chmod(base, 0o755)
        folder = os.path.join(base, "Pesterly")
        os.makedirs(folder)
        for path in (base, folder):
            os.chown(path, 65534, 65534)
        ini = os.path.join(folder, "Pesterly.ini")
        with open(ini, "w", encoding="utf-8") as f:  # root's, mode 600: unreadable to nobody
            f.write('[Events]\nEventCount=" 1"\nEDesc0=Old event\n')
        os.chmod(ini, 0o600)
        with open(ini, "rb") as f:
            before = f.read()
        program = self.launch(binary="setpriv",
                              args=("--reuid=65534", "--regid=65534", "--clear-groups", BINARY),
                              extra_env={"XDG_CONFIG_HOME": base, "XDG_STATE_HOME": base,
                                         "HOME": base})
        self.dismiss_notice(program, program.wait_window("Pesterly"))
        os.chmod(ini, 0o644)  # mended while the program runs
        program.process.send_signal(signal.SIGTERM)
        self.assertEqual(program.wait_exit(10), 0, program.output())
        with open(ini, "rb") as f:
            self.assertEqual(f.read(), before)
        with open(ini + ".unsaved", encoding="utf-8") as f:
            self.assertIn("[Events]", f.read())


if __name__ == "__main__":
    unittest.main(verbosity=2)
