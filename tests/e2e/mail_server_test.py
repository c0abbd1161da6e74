"""The Mail Server dialog of the real program against a real SMTP server on 127.0.0.1 that
wants STARTTLS and a login, with the password in a real keyring (gnome-keyring in a D-Bus
session of the test's own). The server's certificate is a throw-away one made here, which the
program trusts through PESTERLY_MAIL_CA_FILE."""

import os
import re
import shutil
import subprocess
import tempfile
import unittest

from desktop import Pesterly, Xvfb, wait_for, xdotool

BINARY = os.environ.get("PESTERLY_BINARY", "build/src/pesterly")
SHOTS = os.environ.get("PESTERLY_SCREENSHOTS", ".")
HERE = os.path.dirname(os.path.abspath(__file__))
FORM = (6015, 6855)  # the dialog's client area, in twips
PASSWORD, SEND_TEST, OK = (3300, 3600), (1080, 4860), (4020, 6480)


class KeyringSession:
    """A session bus with gnome-keyring's secret service, unlocked with a test password."""

    def __init__(self):
        self.home = tempfile.mkdtemp(prefix="pesterly-keyring-")
        bus = subprocess.run(["dbus-daemon", "--session", "--fork", "--print-address=1",
                              "--print-pid=1"], capture_output=True, text=True, check=True)
        address, pid = bus.stdout.split()
        self.bus_pid = int(pid)
        runtime = os.path.join(self.home, "run")
        os.mkdir(runtime, 0o700)
        self.env = {**os.environ, "HOME": self.home, "DBUS_SESSION_BUS_ADDRESS": address,
                    "XDG_DATA_HOME": os.path.join(self.home, "data"), "XDG_RUNTIME_DIR": runtime}
        for args, secret in ((["--unlock", "--components=secrets"], b"test password\n"),
                             (["--start", "--components=secrets"], None)):
            subprocess.run(["gnome-keyring-daemon", *args], input=secret, env=self.env,
                           capture_output=True, timeout=20, check=True)

    def lookup(self, account):
        return subprocess.run(["secret-tool", "lookup", "server", "Pesterly", "user", account],
                              env=self.env, capture_output=True, text=True, timeout=20).stdout

    def stop(self):
        owner = subprocess.run(
            ["gdbus", "call", "--session", "--dest", "org.freedesktop.DBus", "--object-path",
             "/org/freedesktop/DBus", "--method",
             "org.freedesktop.DBus.GetConnectionUnixProcessID", "org.freedesktop.secrets"],
            env=self.env, capture_output=True, text=True, timeout=20).stdout
        found = re.search(r"uint32 (\d+)", owner)
        if found:
            os.kill(int(found.group(1)), 15)
        os.kill(self.bus_pid, 15)
        shutil.rmtree(self.home, ignore_errors=True)


class MailServerDialogTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="pesterly-tls-")
        self.addCleanup(shutil.rmtree, self.folder, True)
        self.cert = os.path.join(self.folder, "cert.pem")
        key = os.path.join(self.folder, "key.pem")
        subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout",
                        key, "-out", self.cert, "-days", "1", "-subj", "/CN=127.0.0.1",
                        "-addext", "subjectAltName=IP:127.0.0.1"], capture_output=True,
                       check=True)
        self.out = os.path.join(self.folder, "mail")
        os.mkdir(self.out)
        self.sink = subprocess.Popen(
            ["/usr/bin/python3", os.path.join(HERE, "smtp_sink.py"), "--out", self.out,
             "--lifetime", "170", "--tls-cert", self.cert, "--tls-key", key,
             "--login", "me:right secret"],
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        self.addCleanup(self.sink.wait, 10)
        self.addCleanup(self.sink.stdin.close)
        self.addCleanup(self.sink.stdout.close)
        self.port = int(self.sink.stdout.readline().split()[1])
        self.screen = Xvfb()
        self.addCleanup(self.screen.stop)
        self.keyring = KeyringSession()
        self.addCleanup(self.keyring.stop)

    def start(self, settings=None):
        env = {"DBUS_SESSION_BUS_ADDRESS": self.keyring.env["DBUS_SESSION_BUS_ADDRESS"],
               "PESTERLY_MAIL_CA_FILE": self.cert}
        return Pesterly(BINARY, self.screen, settings, extra_env=env)

    def open_dialog(self, app):
        app.keys(app.wait_window("Pesterly"), "alt+o", "m")
        return app.wait_window("Mail Server")

    def send_test(self, app, form, stored):
        app.click_twips(form, FORM, *SEND_TEST)
        wait_for(lambda: len(os.listdir(self.out)) > stored, what="the server to hear")

    def test_login_over_starttls_and_the_password_in_the_keyring(self):
        settings = (f"[Mail]\nMethod=SMTP\nHost=127.0.0.1\nPort={self.port}\n"
                    "Security=STARTTLS\nUser=me\nFrom=me@example.org\n")
        app = self.start(settings)
        self.addCleanup(app.cleanup)
        form = self.open_dialog(app)
        app.click_twips(form, FORM, *PASSWORD)
        xdotool(self.screen, "type", "--delay", "20", "wrong")
        self.send_test(app, form, 0)
        wait_for(lambda: os.path.exists(os.path.join(self.out, "login-refused")),
                 what="the wrong password to be refused")
        app.screenshot(form, os.path.join(SHOTS, "mail-server-refused.png"))

        app.click_twips(form, FORM, *PASSWORD)
        xdotool(self.screen, "key", "ctrl+a")
        xdotool(self.screen, "type", "--delay", "20", "right secret")
        self.send_test(app, form, 2)
        wait_for(lambda: os.path.exists(os.path.join(self.out, "0.envelope")), what="the mail")
        self.assertTrue(os.path.exists(os.path.join(self.out, "0.tls")))
        with open(os.path.join(self.out, "0.envelope"), encoding="utf-8") as f:
            self.assertEqual(f.read(), "from me@example.org\nrcpt me@example.org\n")
        app.screenshot(form, os.path.join(SHOTS, "mail-server-accepted.png"))

        app.click_twips(form, FORM, *OK)
        wait_for(lambda: not app.windows("Mail Server"), what="the dialog to close")
        self.assertEqual(self.keyring.lookup("me@127.0.0.1"), "right secret")
        app.process.terminate()
        self.assertEqual(app.wait_exit(), 0)
        with open(app.ini, encoding="utf-8") as f:
            saved = f.read()
        self.assertIn("[Mail]", saved)
        self.assertNotIn("secret", saved)

        # A fresh start reads the password back from the keyring.
        again = self.start(saved)
        self.addCleanup(again.cleanup)
        form = self.open_dialog(again)
        self.send_test(again, form, len(os.listdir(self.out)))
        wait_for(lambda: os.path.exists(os.path.join(self.out, "1.envelope")),
                 what="the mail with the stored password")
        again.process.terminate()
        again.wait_exit()


if __name__ == "__main__":
    unittest.main()
