"""The real program with a real notification area (trayer) under Xvfb: hiding to the tray and
coming back, starting hidden as at login, ending by the icon, one copy at a time, and a review
while hidden announced by a real notification server (dunst) on a private session bus."""

import datetime
import os
import pathlib
import subprocess
import tempfile
import time
import unittest

from Xlib import X

from desktop import (BINARY, OK, DesktopTest, Pesterly, days_ago, end, ini, run, session_bus,
                     us_date, wait_for)

TWO_EVENTS = ini([dict(Date="1/5/2027", Desc="Alpha"), dict(Date="2/5/2027", Desc="Bravo")],
                 Options={"CheckDate": "12/31/2099"})


class TrayTest(DesktopTest):
    tray = True

    def test_keyboard_and_mouse_on_a_filled_table(self):
        program, window = self.start(TWO_EVENTS)
        program.tray_icon()
        # Right after start no event is chosen: the Delete key on the grid removes nothing.
        program.keys(window, "Delete")
        self.assertEqual(program.highlighted_bands(window), [])
        # Tab leaves the filled grid for "Add New Event", then "Hide", then "Delete Event".
        program.keys(window, "Tab", "space")
        editor = program.wait_window("Edit Event")
        program.close_window(editor)  # the new event "?" stays, as after Cancel
        wait_for(lambda: not program.windows("Edit Event"), what="the editor to close")
        # The window repaints a moment after the editor closes.
        new_row = wait_for(lambda: program.highlighted_bands(window), what="a selected row")
        self.assertEqual(len(new_row), 1, "the new event's row is shown selected")
        program.keys(window, "Tab", "space")
        wait_for(lambda: not program.windows("Pesterly"), what="Hide to act")
        program.click_at(*program.tray_icon())
        window = program.wait_window("Pesterly")
        # Delete Event removes the selected "?"; the row it would remove next is shown.
        program.keys(window, "Tab", "space")
        last_row = wait_for(lambda: [b for b in [program.highlighted_bands(window)]
                                     if b and b != new_row], what="the grid to refill")[0]
        self.assertEqual(len(last_row), 1)
        height = new_row[0][1] - new_row[0][0] + 1
        self.assertAlmostEqual(last_row[0][0], new_row[0][0] - height, delta=2,
                               msg="one row higher: Bravo's")
        program.screenshot(window, "after-delete.png")
        program.keys(window, "space")
        program.close_window(window)
        program.assert_exits()
        self.assertHolds(program.settings()["Events"], {"EventCount": " 1", "EDesc0": "Alpha"})

    def test_a_second_start_shows_the_copy_that_runs_a_right_double_click_ends_it(self):
        # Started as at login: only the icon, also once the wait for a panel is over.
        program = Pesterly(BINARY, self.screen, args=("--hidden",),
                           extra_env={"PESTERLY_TRAY_WAIT_MS": "500"})
        self.addCleanup(program.cleanup)
        program.tray_icon()
        time.sleep(1.5)
        self.assertEqual(program.windows("Pesterly"), [])
        program.click_at(*program.tray_icon())
        window = program.wait_window("Pesterly")
        program.keys(window, "Tab", "space")  # Add New Event: after the grid in the tab order
        editor = program.wait_window("Edit Event")
        # From the repeat box past the date's three parts to the description.
        program.type(editor, "Tab", "Tab", "Tab", "Tab", "ctrl+a", text="Feed the cat")
        program.click_corner(editor, *OK)
        wait_for(lambda: not program.windows("Edit Event"), what="the editor to close")
        program.hide(window)
        second = run(BINARY, "--hidden", env={**os.environ, "DISPLAY": self.screen.name,
                                  "HOME": program.home, "XDG_CONFIG_HOME": program.config})
        self.assertEqual(second.returncode, 0)
        self.assertIn("already running", second.stdout)
        program.hide(program.wait_window("Pesterly"))
        self.assertIsNone(program.process.poll())
        program.click_at(*program.tray_icon(), button=3, repeat=2)
        program.assert_exits()
        self.assertHolds(program.settings()["Events"],
                         {"EventCount": " 1", "EDesc0": "Feed the cat"})

    def test_a_review_while_hidden_is_announced_by_the_notification_server(self):
        # The bus cannot start a notification server by itself: it has no display to give one.
        bus = session_bus(self, {k: v for k, v in os.environ.items() if k != "DISPLAY"})
        env = {**os.environ, "DBUS_SESSION_BUS_ADDRESS": bus, "DISPLAY": self.screen.name}
        calls = tempfile.NamedTemporaryFile()
        self.addCleanup(end, subprocess.Popen(
            ["dbus-monitor", "--address", bus, "member='Notify'"], stdout=calls))
        dunst = subprocess.Popen(["dunst"], env=env, stderr=subprocess.DEVNULL)
        wait_for(lambda: run("dunstctl", "count", env=env).returncode == 0, what="dunst")
        for server in (True, False):
            soon = datetime.datetime.now() + datetime.timedelta(seconds=10)
            program, window = self.start(ini(
                [dict(Date=us_date(days_ago(0)), Desc="Feed the cat")],
                Options={"CheckDate": us_date(days_ago(1)),
                         "CheckTime": soon.strftime("%I:%M:%S %p").lstrip("0")}),
                extra_env={"DBUS_SESSION_BUS_ADDRESS": bus})
            program.tray_icon()
            program.hide(window)
            question = program.wait_window("Pesterly")
            if server:
                notify = pathlib.Path(calls.name).read_text
                wait_for(lambda: 'string "Feed the cat"' in notify(), what="the notification")
                self.assertIn('string "desktop-entry"', notify())
                # Its default action brings the question to the front.
                root = self.screen.x.screen().root
                stack = lambda: [w.id for w in root.query_tree().children]  # noqa: E731
                question.configure(stack_mode=X.Below)
                self.screen.x.sync()
                low = stack().index(question.id)
                run("dunstctl", "action", env=env)
                wait_for(lambda: stack().index(question.id) > low, what="the question in front")
            program.keys(question, "alt+y")
            if server:
                wait_for(lambda: run("dunstctl", "count", "displayed", env=env).stdout == "0\n",
                         what="the notification withdrawn")
                end(dunst)
            time.sleep(1)  # no message follows, with or without a server
            self.assertEqual(program.windows("Pesterly"), [])
            program.tray_menu_exit()
            program.assert_exits()
            self.assertHolds(program.settings()["Events"], {"EventCount": " 0"})


if __name__ == "__main__":
    unittest.main(verbosity=2)
