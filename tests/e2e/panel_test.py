"""The real program beside a real Xfce panel in a private D-Bus session, as on a desktop at
login: the panel's status tray speaks both the XEmbed and the StatusNotifierItem protocol, and
Qt picks one when the program adds its icon."""

import os
import shutil
import subprocess
import tempfile
import unittest

from gi.repository import Gio, GLib

from desktop import DesktopTest, end, ini, session_bus, wait_for

XFCONFD = "/usr/lib/x86_64-linux-gnu/xfce4/xfconf/xfconfd"
WATCHER = "org.kde.StatusNotifierWatcher"

ONE_EVENT = ini([dict(Date="1/5/2027", Desc="Water the plants")],
                Options={"CheckDate": "12/31/2099"})


class PanelSession:
    """A session bus of its own, xfconfd and xfce4-panel on the screen, ended with the test;
    and Pesterly's icon as the panel sees it over D-Bus."""

    def __init__(self, test):
        self.home = tempfile.mkdtemp(prefix="pesterly-panel-")
        test.addCleanup(shutil.rmtree, self.home, ignore_errors=True)
        self.address = session_bus(test)
        self.env = {**os.environ, "DISPLAY": test.screen.name, "HOME": self.home,
                    "DBUS_SESSION_BUS_ADDRESS": self.address}
        for command in ([XFCONFD], ["xfce4-panel"]):
            process = subprocess.Popen(command, env=self.env, stdout=subprocess.DEVNULL,
                                       stderr=subprocess.DEVNULL)
            test.addCleanup(end, process)
        self.bus = Gio.DBusConnection.new_for_address_sync(
            self.address, Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT |
            Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION, None, None)

    def call(self, dest, path, method, *args, types=None):
        """Calls interface.method of path at dest (the status item, for dest None): its answer."""
        dest, path = (dest, path) if dest else self.item
        interface, method = method.rsplit(".", 1)
        return self.bus.call_sync(dest, path, interface, method, types and GLib.Variant(
            types, args), None, Gio.DBusCallFlags.NONE, 20000).unpack()

    def watcher_up(self):
        return self.call("org.freedesktop.DBus", "/org/freedesktop/DBus",
                         "org.freedesktop.DBus.NameHasOwner", WATCHER, types="(s)")[0]

    def find_item(self):
        """The bus name and object path of the one registered status item, kept as the item."""
        items = self.call(WATCHER, "/StatusNotifierWatcher", "org.freedesktop.DBus.Properties.Get",
                          WATCHER, "RegisteredStatusNotifierItems", types="(ss)")
        if items[0]:
            name, _, path = items[0][0].partition("/")
            self.item = (name, "/" + path)
            return self.item

    def prop(self, what):
        return self.call(None, None, "org.freedesktop.DBus.Properties.Get",
                         "org.kde.StatusNotifierItem", what, types="(ss)")[0]

    def on_menu(self, method, *args, types):
        return self.call(self.item[0], self.prop("Menu"), f"com.canonical.dbusmenu.{method}",
                         *args, types=types)

    def menu(self):
        """{label: (id, visible)} of the items of the menu the panel shows on a right click."""
        _, (_, _, items) = self.on_menu("GetLayout", 0, -1, [], types="(iias)")
        return {props["label"]: (number, props.get("visible", True))
                for number, props, _ in items if "label" in props}


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
        program.wait_window("Pesterly")

    def test_status_item_menu_offers_show_and_exit_while_hidden(self):
        wait_for(self.panel.watcher_up, timeout=30, what="the panel's status tray")
        program, window = self.start_beside_the_panel()
        item = self.panel
        wait_for(item.find_item, what="Pesterly's status item")
        self.assertIn("Pesterly", str(item.prop("ToolTip")))
        # While the window is shown the icon does nothing: its menu offers no item.
        self.assertEqual({label: visible for label, (_, visible) in item.menu().items()},
                         {"Show Pesterly": False, "Exit": False})
        program.screenshot(window, "beside-xfce-panel.png")
        program.hide(window)
        wait_for(lambda: all(visible for _, visible in item.menu().values()),
                 what="the menu's items while hidden")
        item.call(None, None, "org.kde.StatusNotifierItem.Activate", 0, 0, types="(ii)")  # a click
        program.hide(program.wait_window("Pesterly"))
        wait_for(lambda: item.menu()["Exit"][1], what="the menu's Exit while hidden")
        item.on_menu("Event", item.menu()["Exit"][0], "clicked", GLib.Variant("i", 0), 0,
                     types="(isvu)")
        program.assert_exits()
        self.assertEqual(program.settings()["Events"]["EDesc0"], "Water the plants")


if __name__ == "__main__":
    unittest.main(verbosity=2)
