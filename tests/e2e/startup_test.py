"""Starts the real program under Xvfb, closes it as a window manager would, and reads what it
left in its settings file; every kind of change on disk while it runs, so that a kill loses
nothing; the entry that starts it at login; and the program on settings files it cannot use as
they are: a damaged file whose notice is open when the desktop ends the program, and another
user's file."""

import datetime
import os
import pathlib
import shutil
import signal
import subprocess
import tempfile
import time
import unittest

from desktop import (BINARY, HERE, OK, DesktopTest, Pesterly, days_ago, ini, review_since, run,
                     us_date, wait_for)

# A file written by hand, in other spellings than the program's own.
with open(os.path.join(HERE, "..", "data", "settings", "hand-written.ini"), encoding="utf-8") as f:
    HAND_WRITTEN = f.read()
DAMAGED = '[Events]\nEventCount=" 1"\nEDesc0=Order 12" pizza\nthis line has no equals sign\n'


class StartupTest(DesktopTest):
    def run_and_close(self, settings_text, shot):
        program, window = self.start(settings_text)
        program.screenshot(window, shot)
        # Mail, calendars and the keyring load their libraries on first use, not at start, and
        # no picture shown at start makes Qt load its image plugins.
        with open(f"/proc/{program.process.pid}/maps", encoding="utf-8") as f:
            loaded = {line.rsplit("/", 1)[-1].strip() for line in f if "/" in line}
        self.assertEqual([name for name in loaded if name.startswith(
            ("libgmime", "libcurl", "libical", "libqt6keychain", "libqjpeg", "libqgif"))], [])
        program.close_window(window)
        program.assert_exits()
        return program.settings()

    def test_hand_written_file_is_saved_back_in_the_stored_forms(self):
        saved = self.run_and_close(HAND_WRITTEN, "main-window.png")
        events = saved["events"]  # the file's own spelling of the section is kept
        expected = {
            "eventcount": " 3", "EDATE0": "3/14/2001", "EDesc0": "Mother's birthday",
            "EEmail0": "True", "EUseNagList0": "False",  # only exactly "True" is true
            "ESEmail0": "me@example.org", "EEmailBody0": "Buy a present.\nAnd a card.",
            "edate1": "4/2/2027 10:30:00 AM", "esemail1": "", "EDesc2": "Put the bins out",
            "ERepeat2": "3",
            # Missing keys come back with their defaults, written in their stored forms;
            # the default blank of ESEmail is trimmed on saving.
            "EEmail2": "False", "ESEmail2": "", "EEmailBody2": ""}
        self.assertHolds(events, expected)
        self.assertHolds(saved["Categories"], {"Count": " 2", "Category1": "Error"})
        self.assertHolds(saved["Options"], {"CheckDate": "12/31/2099", "CheckTime": "8:00:00 AM"})
        # No key got a twin in another case.
        lowered = [k.lower() for k in events]
        self.assertEqual(len(lowered), len(set(lowered)))

    def test_first_start_writes_defaults(self):
        saved = self.run_and_close(None, "first-start.png")
        self.assertEqual(saved["Events"]["EventCount"], " 0")
        self.assertEqual(saved["Categories"]["Count"], " 0")
        self.assertHolds(saved["Options"], {"CheckDate": us_date(datetime.date.today()),
                                            "CheckTime": "8:00:00 AM"})

    def test_speaks_the_first_language_of_the_desktop_it_knows(self):
        # German where the desktop asks for it, also behind a language Pesterly lacks, with Qt's
        # own buttons in German too (Alt+J is "&Ja"); English as written otherwise.
        due = ini([dict(Date=us_date(datetime.date.today()), Repeat=0, Desc="Zahnarzt")],
                  Options=review_since(days_ago(1)))
        de, en, de_de = ("alt+j", "Pesterly-Hilfe"), ("alt+y", "Pesterly Help"), "de_DE.UTF-8"
        for env, (yes, help_title) in [
                (dict(LANGUAGE="de", LANG=de_de), de), (dict(LANG=de_de), de),
                (dict(LANGUAGE="fr:de", LANG="fr_FR.UTF-8"), de),
                (dict(LC_ALL="C", LANG=de_de), en), (dict(LANG="fr_FR.UTF-8"), en)]:
            with self.subTest(**env):
                program, main = self.start(due, extra_env={"LC_ALL": "", "LANGUAGE": "", **env})
                program.keys(program.next_box(main, set()), yes)  # done: the event goes
                wait_for(lambda: not program.boxes(main), what="the question to close")
                program.keys(main, "alt+h", "h")  # Help, Pesterly Help
                program.wait_window(help_title)
                program.close_window(main)
                program.assert_exits()
                self.assertEqual(program.settings()["Events"]["EventCount"], " 0")

    def test_every_change_is_on_disk_at_once_so_a_kill_loses_nothing(self):
        today = us_date(datetime.date.today())
        program, main = self.start(ini([dict(Date=today, Repeat=0, Desc="Renew the insurance"),
                                        dict(Date="1/5/2027", Desc="Alpha"),
                                        dict(Date=today, Repeat=0, Desc="Call the plumber")],
                                       Options=review_since(days_ago(1))))
        exchange = os.path.join(program.home, "new.Pesterly")
        with open(exchange, "w", encoding="utf-8", newline="") as f:
            f.write('1\r\n#2027-02-01#,0,"Imported",#2026-01-01#,#FALSE#," ",0,""\r\n')

        def after_two_seconds(section, expected):  # the file as a kill now would leave it
            time.sleep(2)
            self.assertHolds(program.settings()[section], expected)

        seen = set()
        program.keys(program.next_box(main, seen), "alt+y")  # the review: done at once
        plumber = program.next_box(main, seen)
        after_two_seconds("Events", {"EventCount": " 2", "EDesc0": "Alpha"})
        program.keys(plumber, "Escape")  # put off; the review ends
        after_two_seconds("Options", {"CheckDate": today})
        program.keys(main, "Tab", "space")  # Add New Event: after the grid in the tab order
        editor = program.wait_window("Edit Event")
        # From the repeat box past the date's three parts to the description, then on past OK,
        # Cancel and the category box to Add Category.
        program.type(editor, "Tab", "Tab", "Tab", "Tab", "ctrl+a", text="Water the roses")
        program.keys(editor, "Tab", "Tab", "Tab", "Tab", "space")
        adder = program.wait_window("Add a Category")
        program.type(adder, "shift+Tab", text="Garden")  # back from Cancel to the name
        program.keys(adder, "Tab", "Tab", "space")  # on to OK
        after_two_seconds("Categories", {"Count": " 1", "Category0": "Garden"})
        program.click_corner(editor, *OK)
        after_two_seconds("Events", {"EDesc2": "Water the roses"})
        program.keys(main, "shift+Tab", "Delete")  # back to the grid: the edited row goes
        after_two_seconds("Events", {"EventCount": " 2"})
        program.keys(main, "alt+f", "i")  # Import Events
        chooser = program.wait_window("Import Events")
        time.sleep(0.5)  # the file name box takes the focus once the dialog has settled
        program.type(chooser, text=exchange)
        program.keys(chooser, "Return")
        wait_for(lambda: not program.windows("Import Events"), what="the file dialog to close")
        after_two_seconds("Events", {"EventCount": " 3", "EDesc2": "Imported"})
        program.keys(main, "alt+o", "r")  # Reminder Options
        options = program.wait_window("Pesterly Options")
        program.keys(options, "Up")  # an hour later
        program.close_window(options)
        after_two_seconds("Options", {"CheckTime": "1:00:00 AM", "CheckDate": today})
        program.process.kill()
        program.process.wait()
        self.assertHolds(program.settings()["Events"], {"EventCount": " 3", "EDesc0": "Alpha"})

    def test_the_login_entry_follows_the_option_and_one_switched_off_stays_so(self):
        program, _ = self.start()
        entry = pathlib.Path(program.config, "autostart", "pesterly.desktop")
        checked = run("desktop-file-validate", str(entry))
        self.assertEqual((checked.returncode, checked.stdout), (0, ""))
        self.assertIn(f"\nExec={os.path.realpath(BINARY)} --hidden\n", entry.read_text())
        mine = "[Desktop Entry]\nType=Application\nName=Pesterly\nExec=pesterly --hidden\n"
        for start_at_login, before, kept in (
                ("False", mine, False), ("False", None, False),
                ("True", mine + "Hidden=true\n", True),
                ("True", mine + "X-GNOME-Autostart-enabled=false\n", True)):
            home = tempfile.mkdtemp(prefix="pesterly-e2e-")
            entry = pathlib.Path(home, "config", "autostart", "pesterly.desktop")
            if before:
                entry.parent.mkdir(parents=True)
                entry.write_text(before)
            program, _ = self.start(ini(Options={"StartAtLogin": start_at_login}), home=home)
            program.assert_exits(signal.SIGTERM)
            self.assertEqual(entry.read_text() if entry.exists() else None, before if kept else None)
        # The box shows the entry switched off; ticking it turns the entry on again.
        program, main = self.start(home=home)
        program.keys(main, "alt+o", "r")  # Reminder Options
        options = program.wait_window("Pesterly Options")
        program.keys(options, "shift+Tab", "space")  # from the time to "Start Pesterly when I log in"
        program.close_window(options)
        wait_for(lambda: "enabled" not in entry.read_text(), what="the entry to be switched on")

    def test_hidden_start_without_a_notification_area_shows_the_window_after_the_wait(self):
        started = time.monotonic()
        self.start(args=("--hidden",), extra_env={"PESTERLY_TRAY_WAIT_MS": "2000"})
        self.assertGreater(time.monotonic() - started, 1.5)

    def test_without_a_display_it_says_how_to_get_one(self):
        env = {k: v for k, v in os.environ.items()
               if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        result = run(BINARY, env=env)
        self.assertEqual(result.returncode, 1)
        self.assertIn("no display was found", result.stderr)
        self.assertIn("xvfb-run", result.stderr)
        self.assertNotIn("qt.qpa", result.stderr)

    def test_sigterm_while_the_damaged_file_notice_is_open_ends_without_saving_over(self):
        program, _ = self.start(DAMAGED)  # the notice: the main window comes after it
        with open(program.ini + ".damaged", encoding="utf-8") as kept:
            self.assertEqual(kept.read(), DAMAGED)
        program.assert_exits(signal.SIGTERM, 10)
        with open(program.ini, encoding="utf-8") as f:
            self.assertEqual(f.read(), DAMAGED)

    def nobodys_folders(self):
        """A folder of user nobody's with the settings folder Pesterly and the folders state,
        runtime and tmp; (its path, the options that start the program as nobody there)."""
        base = tempfile.mkdtemp(prefix="pesterly-nobody-")
        self.addCleanup(shutil.rmtree, base, ignore_errors=True)
        for name in ("", "Pesterly", "state", "runtime", "tmp"):
            os.makedirs(os.path.join(base, name), mode=0o700, exist_ok=True)
            os.chown(os.path.join(base, name), 65534, 65534)
        env = {"XDG_CONFIG_HOME": base, "HOME": base, **{key: os.path.join(base, name) for key, name
               in (("XDG_STATE_HOME", "state"), ("XDG_RUNTIME_DIR", "runtime"), ("TMPDIR", "tmp"))}}
        return base, dict(binary="setpriv", extra_env=env, args=(
            "--reuid=65534", "--regid=65534", "--clear-groups", BINARY))

    @unittest.skipUnless(os.geteuid() == 0, "needs root to run the program as another user")
    def test_another_users_file_is_never_written_over(self):
        base, as_nobody = self.nobodys_folders()
        ini = os.path.join(base, "Pesterly", "Pesterly.ini")
        before = b'[Events]\nEventCount=" 1"\nEDesc0=Old event\n'
        with open(ini, "wb") as f:  # root's, mode 600: unreadable to nobody
            f.write(before)
        os.chmod(ini, 0o600)
        program, notice = self.start(**as_nobody)
        program.keys(notice, "Return")  # the notice: the main window comes after it
        wait_for(lambda: program.windows("Pesterly") and
                 program.windows("Pesterly")[0].id != notice.id, what="the main window")
        os.chmod(ini, 0o644)  # mended while the program runs
        program.assert_exits(signal.SIGTERM, 10)
        with open(ini, "rb") as f:
            self.assertEqual(f.read(), before)
        with open(ini + ".unsaved", encoding="utf-8") as f:
            self.assertIn("[Events]", f.read())

    # The user made the settings folder read-only: a second start still finds the first copy,
    # and the folder stays read-only. When at the end the desktop ends the program and nothing
    # can be written anywhere, the exit status says so, and standard error names the events.
    @unittest.skipUnless(os.geteuid() == 0, "needs root to run the program as another user")
    def test_a_read_only_settings_folder_keeps_a_second_copy_out_and_stays_read_only(self):
        base, as_nobody = self.nobodys_folders()
        ini = os.path.join(base, "Pesterly", "Pesterly.ini")
        with open(ini, "wb") as f:
            f.write(b"[Events]\nEventCount=1\nEDesc0=Water the plants\n")  # saved as " 1"
        os.chmod(os.path.dirname(ini), 0o555)
        program, _ = self.start(**as_nobody)
        env = {**os.environ, "DISPLAY": self.screen.name, **as_nobody["extra_env"]}
        second = subprocess.run(["setpriv", *as_nobody["args"]], capture_output=True, text=True,
                                timeout=30, env=env)
        self.assertEqual((second.returncode, second.stdout[:27]),
                         (0, "Pesterly is already running"), second.stderr)
        state = os.path.join(base, "state")
        for folder in [os.path.join(base, "tmp"), *(f for f, _, _ in os.walk(state))]:
            os.chmod(folder, 0o555)  # the state and temporary folders fill up
        program.process.send_signal(signal.SIGTERM)
        self.assertEqual(program.process.wait(timeout=20), 1, program.output())
        self.assertIn("Water the plants", program.output())
        self.assertEqual(os.stat(os.path.dirname(ini)).st_mode & 0o777, 0o555)

if __name__ == "__main__":
    unittest.main(verbosity=2)
