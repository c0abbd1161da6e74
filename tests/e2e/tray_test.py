"""The real program with a real notification area (trayer) under Xvfb: hiding to the tray and
coming back, the tray menu's Exit, ending by signal, and one copy at a time."""

import os
import signal
import subprocess
import unittest

from desktop import BINARY, EDITOR_CLIENT, MAIN_CLIENT, DesktopTest, ini, wait_for, xdotool

TWO_EVENTS = ini([dict(Date="1/5/2027", Desc="Alpha"), dict(Date="2/5/2027", Desc="Bravo")],
                 Options={"CheckDate": "12/31/2099"})


class TrayTest(DesktopTest):
    tray = True

    def start_with_event(self, description):
        """Starts with a docked icon, then Add New Event, a description typed in, OK."""
        program, window = self.start()
        program.tray_icon()
        program.keys(window, "Tab", "space")  # the button after the grid in the tab order
        editor = program.wait_window("Edit Event")
        program.retype(editor, EDITOR_CLIENT, 2000, 420, description)  # the description
        program.click_twips(editor, EDITOR_CLIENT, 3480, 5820)  # OK
        wait_for(lambda: not program.windows("Edit Event"), what="the editor to close")
        return program, window

    def test_hide_show_from_the_icon_and_exit_from_its_menu(self):
        program, window = self.start_with_event("Water the plants")
        program.hide(window)
        program.click_at(*program.tray_icon())
        window = program.wait_window("Pesterly")
        program.screenshot(window, "shown-from-tray.png")
        program.hide(window)
        program.tray_menu_exit()
        program.assert_exits()
        self.assertHolds(program.settings()["Events"],
                         {"EventCount": " 1", "EDesc0": "Water the plants"})

    def test_keyboard_and_mouse_on_a_filled_table(self):
        program, window = self.start(TWO_EVENTS)
        program.tray_icon()
        # Right after start no event is chosen: Delete Event removes nothing.
        program.click_twips(window, MAIN_CLIENT, 2227, 4147)
        self.assertEqual(program.highlighted_bands(window), [])
        # Tab leaves the filled grid for "Add New Event", then "Hide", then "Delete Event".
        program.keys(window, "shift+Tab", "shift+Tab", "shift+Tab", "Tab", "space")
        editor = program.wait_window("Edit Event")
        program.close_window(editor)  # the new event "?" stays, as after Cancel
        wait_for(lambda: not program.windows("Edit Event"), what="the editor to close")
        new_row = program.highlighted_bands(window)
        self.assertEqual(len(new_row), 1, "the new event's row is shown selected")
        program.keys(window, "Tab", "space")
        wait_for(lambda: not program.windows("Pesterly"), what="Hide to act")
        program.click_at(*program.tray_icon())
        window = program.wait_window("Pesterly")
        # Delete Event removes the selected "?"; the row it would remove next is shown.
        program.keys(window, "Tab", "space")
        wait_for(lambda: program.highlighted_bands(window) != new_row, what="the grid to refill")
        last_row = program.highlighted_bands(window)
        self.assertEqual(len(last_row), 1)
        height = new_row[0][1] - new_row[0][0] + 1
        self.assertAlmostEqual(last_row[0][0], new_row[0][0] - height, delta=2,
                               msg="one row higher: Bravo's")
        program.screenshot(window, "after-delete.png")
        program.keys(window, "space")
        program.close_window(window)
        program.assert_exits()
        self.assertHolds(program.settings()["Events"], {"EventCount": " 1", "EDesc0": "Alpha"})

    def test_right_double_click_on_the_icon_ends_after_saving(self):
        program, window = self.start_with_event("Feed the cat")
        program.hide(window)
        x, y = program.tray_icon()
        xdotool(self.screen, "mousemove", str(x), str(y), "click", "--repeat", "2",
                "--delay", "80", "3")
        program.assert_exits()
        self.assertEqual(program.settings()["Events"]["EDesc0"], "Feed the cat")

    def test_sigterm_saves_the_days_changes(self):
        program, _ = self.start_with_event("Call the plumber")
        program.assert_exits(signal.SIGTERM)
        self.assertEqual(program.settings()["Events"]["EDesc0"], "Call the plumber")

    def test_second_start_shows_the_running_copy_and_ends(self):
        program, window = self.start()
        program.tray_icon()
        program.hide(window)
        env = {**os.environ, "DISPLAY": self.screen.name, "HOME": program.home,
               "XDG_CONFIG_HOME": program.config}
        second = subprocess.run([BINARY], env=env, capture_output=True, text=True, timeout=30)
        self.assertEqual(second.returncode, 0)
        self.assertIn("already running", second.stdout)
        program.wait_window("Pesterly")
        self.assertIsNone(program.process.poll())
        program.assert_exits(signal.SIGTERM)


if __name__ == "__main__":
    unittest.main(verbosity=2)
