"""The real program beside a real Xfce panel in a private D-Bus session, as on a desktop at
login: the panel's status tray speaks both the XEmbed and the StatusNotifierItem protocol, and
Qt picks one when the program adds its icon."""

import os
import re
import shutil
import subprocess
import tempfile
import unittest

from desktop import DesktopTest, ini, session_bus, wait_for

XFCONFD = "/usr/lib/x86_64-linux-gnu/xfce4/xfconf/xfconfd"
WATCHER = "org.kde.StatusNotifierWatcher"

ONE_EVENT = ini([dict(Date="1/5/2027", Desc="Water the plants")],
                Options={"CheckDate": "12/31/2099"})


class PanelSession:
    """A session bus of its own, xfconfd and xfce4-panel on the screen, ended with the test."""

    def __init__(self, test):
        self.home = tempfile.mkdtemp(prefix="pesterly-panel-")
        test.addCleanup(shutil.rmtree, self.home, ignore_errors=True)
        self.address = session_bus(test)
        self.env = {**os.environ, "DISPLAY": test.screen.name, "HOME": self.home,
                    "DBUS_SESSION_BUS_ADDRESS": self.address}
        for command in ([XFCONFD], ["xfce4-panel"]):
            process = subprocess.Popen(command, env=self.env, stdout=subprocess.DEVNULL,
                                       stderr=subprocess.DEVNULL)
            test.addCleanup(process.wait, timeout=10)
            test.addCleanup(process.terminate)

    def call(self, dest, path, method, *args):
        return subprocess.run(["gdbus", "call", "--session", "--dest", dest, "--object-path",
                               path, "--method", method, "--", *args], env=self.env,
                              capture_output=True, text=True, timeout=20).stdout

    def watcher_up(self):
        return "true" in self.call("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                   "org.freedesktop.DBus.NameHasOwner", WATCHER)

    def item(self):
        """The bus name and object path of the one registered status item."""
        reply = self.call(WATCHER, "/StatusNotifierWatcher", "org.freedesktop.DBus.Properties.Get",
                          WATCHER, "RegisteredStatusNotifierItems")
        found = re.search(r"'([^'/]+)(/[^']*)'", reply)
        return (found.group(1), found.group(2)) if found else None


class StatusItem:
    """Pesterly's icon as the panel sees it over D-Bus."""

    def __init__(self, session, name, path):
        self.session, self.name, self.path = session, name, path

    def prop(self, what):
        return self.session.call(self.name, self.path, "org.freedesktop.DBus.Properties.Get",
                                 "org.kde.StatusNotifierItem", what)

    def activate(self):  # a left click in the panel
        self.session.call(self.name, self.path, "org.kde.StatusNotifierItem.Activate", "0", "0")

    def menu_path(self):
        return re.search(r"objectpath '([^']*)'", self.prop("Menu")).group(1)

    def menu(self):
        """{label: (id, visible)} of the items of the menu the panel shows on a right click."""
        layout = self.session.call(self.name, self.menu_path(), "com.canonical.dbusmenu.GetLayout",
                                   "0", "-1", "@as []")
        items = {}
        for number, props in re.findall(r"\((\d+), \{([^{}]*)\}, @?av? ?\[", layout):
            label = re.search(r"'label': <'([^']*)'>", props)
            if label:
                items[label.group(1)] = (int(number), "'visible': <false>" not in props)
        return items

    def click_menu(self, label):
        number = self.menu()[label][0]
        self.session.call(self.name, self.menu_path(), "com.canonical.dbusmenu.Event",
                          str(number), "clicked", "<int32 0>", "0")


class PanelTest(DesktopTest):
    def setUp(self):
        self.panel = PanelSession(self)

    def start_beside_the_panel(self):
        return self.start(ONE_EVENT, extra_env={"DBUS_SESSION_BUS_ADDRESS": self.panel.address})

    def test_started_with_the_panel_hide_comes_on_once_the_icon_docks(self):
        # Started at once, as at login: the panel's tray comes up seconds later.
        program, window = self.start_beside_the_panel()
        self.assertFalse(self.panel.watcher_up(), "Pesterly must start before the panel's tray")
        program.tray_icon()  # docked, with no focus change since
        program.hide(window)
        program.click_at(*program.tray_icon())
        window = program.wait_window("Pesterly")
        program.close_window(window)
        program.assert_exits()

    def test_status_item_menu_offers_show_and_exit_while_hidden(self):
        wait_for(self.panel.watcher_up, timeout=30, what="the panel's status tray")
        program, window = self.start_beside_the_panel()
        item = StatusItem(self.panel, *wait_for(self.panel.item, what="Pesterly's status item"))
        self.assertIn("Pesterly", item.prop("ToolTip"))
        # While the window is shown the icon does nothing: its menu offers no item.
        self.assertEqual({label: visible for label, (_, visible) in item.menu().items()},
                         {"Show Pesterly": False, "Exit": False})
        program.screenshot(window, "beside-xfce-panel.png")
        program.hide(window)
        wait_for(lambda: all(visible for _, visible in item.menu().values()),
                 what="the menu's items while hidden")
        item.activate()
        window = program.wait_window("Pesterly")
        program.hide(window)
        wait_for(lambda: item.menu()["Exit"][1], what="the menu's Exit while hidden")
        item.click_menu("Exit")
        program.assert_exits()
        self.assertEqual(program.settings()["Events"]["EDesc0"], "Water the plants")


if __name__ == "__main__":
    unittest.main(verbosity=2)
