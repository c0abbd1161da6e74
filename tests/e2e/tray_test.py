"""The real program with a real notification area (trayer) under Xvfb: hiding to the tray and
coming back, ending by the icon, and one copy at a time."""

import os
import unittest

from desktop import BINARY, OK, DesktopTest, ini, run, wait_for

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
        program, window = self.start()
        program.tray_icon()
        program.keys(window, "Tab", "space")  # Add New Event: after the grid in the tab order
        editor = program.wait_window("Edit Event")
        # From the repeat box past the date's three parts to the description.
        program.type(editor, "Tab", "Tab", "Tab", "Tab", "ctrl+a", text="Feed the cat")
        program.click_corner(editor, *OK)
        wait_for(lambda: not program.windows("Edit Event"), what="the editor to close")
        program.hide(window)
        second = run(BINARY, env={**os.environ, "DISPLAY": self.screen.name,
                                  "HOME": program.home, "XDG_CONFIG_HOME": program.config})
        self.assertEqual(second.returncode, 0)
        self.assertIn("already running", second.stdout)
        program.hide(program.wait_window("Pesterly"))
        self.assertIsNone(program.process.poll())
        program.click_at(*program.tray_icon(), button=3, repeat=2)
        program.assert_exits()
        self.assertHolds(program.settings()["Events"],
                         {"EventCount": " 1", "EDesc0": "Feed the cat"})


if __name__ == "__main__":
    unittest.main(verbosity=2)
