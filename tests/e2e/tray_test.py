"""The real program with a real notification area (trayer) under Xvfb: hiding to the tray and
coming back, the tray menu's Exit, ending by signal, and one copy at a time."""

import os
import signal
import subprocess
import time
import unittest

from desktop import Pesterly, Xvfb, wait_for

BINARY = os.environ.get("PESTERLY_BINARY", "build/src/pesterly")
SHOTS = os.environ.get("PESTERLY_SCREENSHOTS", ".")
MAIN_CLIENT = (10095, 4530)
EDITOR_CLIENT = (5220, 6240)


def xdotool(screen, *args):
    return subprocess.run(["xdotool", *args], env={**os.environ, "DISPLAY": screen.name},
                          capture_output=True, text=True, timeout=20).stdout


class TrayTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.screen = Xvfb()
        cls.trayer = subprocess.Popen(
            ["trayer", "--edge", "top", "--align", "right", "--widthtype", "request",
             "--height", "32", "--SetDockType", "true"],
            env={**os.environ, "DISPLAY": cls.screen.name},
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    @classmethod
    def tearDownClass(cls):
        cls.trayer.terminate()
        cls.trayer.wait(timeout=10)
        cls.screen.stop()

    def start(self, settings_text=None):
        program = Pesterly(BINARY, self.screen, settings_text)
        self.addCleanup(program.cleanup)
        return program, program.wait_window("Pesterly")

    def tray_icon(self, program):
        """The docked icon: a small window of the program's own."""
        def find():
            for line in xdotool(self.screen, "search", "--pid", str(program.process.pid),
                                "--onlyvisible", "--name", "").split():
                geometry = xdotool(self.screen, "getwindowgeometry", "--shell", line)
                values = dict(item.split("=") for item in geometry.split())
                if 16 <= int(values["WIDTH"]) <= 64 and 16 <= int(values["HEIGHT"]) <= 64:
                    return line, int(values["X"]) + int(values["WIDTH"]) // 2, \
                        int(values["Y"]) + int(values["HEIGHT"]) // 2
            return None
        return wait_for(find, what="the tray icon")

    def click_twips(self, window, client_twips, x, y):
        """Clicks a point of a form given in its design twips; the client area sits at the
        bottom of the window, below any menu bar."""
        geometry = window.get_geometry()
        origin = window.translate_coords(self.screen.x.screen().root, 0, 0)
        scale = geometry.width / client_twips[0]
        top = geometry.height - client_twips[1] * scale
        xdotool(self.screen, "mousemove", str(-origin.x + round(x * scale)),
                str(-origin.y + round(top + y * scale)), "click", "1")

    def hide(self, program, window):
        self.click_twips(window, MAIN_CLIENT, 9240, 4140)  # the Hide button
        wait_for(lambda: not program.windows("Pesterly"), what="the window to hide")

    def add_event(self, program, window, description):
        """Add New Event, type a description into the editor, OK."""
        xdotool(self.screen, "windowfocus", "--sync", str(window.id))
        xdotool(self.screen, "key", "Tab", "space")
        editor = program.wait_window("Edit Event")
        self.click_twips(editor, EDITOR_CLIENT, 2000, 420)  # the description
        xdotool(self.screen, "key", "ctrl+a")
        xdotool(self.screen, "type", description)
        self.click_twips(editor, EDITOR_CLIENT, 3480, 5820)  # OK
        wait_for(lambda: not program.windows("Edit Event"), what="the editor to close")

    def test_hide_show_from_the_icon_and_exit_from_its_menu(self):
        program, window = self.start()
        _, x, y = self.tray_icon(program)
        self.add_event(program, window, "Water the plants")
        self.hide(program, window)
        xdotool(self.screen, "mousemove", str(x), str(y), "click", "1")
        window = program.wait_window("Pesterly")
        program.screenshot(window, os.path.join(SHOTS, "shown-from-tray.png"))
        # Hide again and end through the icon's menu.
        self.hide(program, window)
        xdotool(self.screen, "mousemove", str(x), str(y), "click", "3")
        menu = wait_for(lambda: program.windows(""), what="the tray menu")[0]
        geometry = menu.get_geometry()
        origin = menu.translate_coords(self.screen.x.screen().root, 0, 0)
        # The second of two items: "Exit".
        xdotool(self.screen, "mousemove", str(-origin.x + geometry.width // 2),
                str(-origin.y + geometry.height * 3 // 4), "click", "1")
        self.assertEqual(program.wait_exit(), 0, program.output())
        saved = program.settings()
        self.assertEqual(saved["Events"]["EventCount"], " 1")
        self.assertEqual(saved["Events"]["EDesc0"], "Water the plants")

    def test_sigterm_saves_the_days_changes(self):
        program, window = self.start()
        self.tray_icon(program)
        self.add_event(program, window, "Call the plumber")
        program.process.send_signal(signal.SIGTERM)
        self.assertEqual(program.wait_exit(), 0, program.output())
        self.assertEqual(program.settings()["Events"]["EDesc0"], "Call the plumber")

    def test_second_start_shows_the_running_copy_and_ends(self):
        program, window = self.start()
        self.tray_icon(program)
        self.hide(program, window)
        env = {**os.environ, "DISPLAY": self.screen.name, "HOME": program.home,
               "XDG_CONFIG_HOME": program.config}
        second = subprocess.run([BINARY], env=env, capture_output=True, text=True, timeout=30)
        self.assertEqual(second.returncode, 0)
        self.assertIn("already running", second.stdout)
        program.wait_window("Pesterly")
        self.assertIsNone(program.process.poll())
        program.process.send_signal(signal.SIGTERM)
        self.assertEqual(program.wait_exit(), 0)


if __name__ == "__main__":
    unittest.main(verbosity=2)
