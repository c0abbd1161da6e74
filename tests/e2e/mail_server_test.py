"""The Mail Server dialog against a real SMTP server on 127.0.0.1 that wants STARTTLS and a
login, with the password in gnome-keyring on a D-Bus session of the test's own; the program
trusts the server's throw-away certificate through PESTERLY_MAIL_CA_FILE."""

import datetime
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
FORM = (6015, 8595)  # the dialog's client area, in twips
PASSWORD, SEND_TEST, OK = (3300, 3600), (1080, 4860), (4020, 8220)


def run(*args, **kwargs):
    return subprocess.run(args, capture_output=True, text=True, timeout=20, **kwargs).stdout


class MailServerDialogTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="pesterly-mail-server-")
        self.addCleanup(shutil.rmtree, self.folder, True)
        self.out, cert, key = (os.path.join(self.folder, n) for n in ("mail", "cert", "key"))
        os.mkdir(self.out)
        run("openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out",
            cert, "-days", "1", "-subj", "/CN=127.0.0.1", "-addext",
            "subjectAltName=IP:127.0.0.1", check=True)
        sink = subprocess.Popen(
            ["/usr/bin/python3", os.path.join(HERE, "smtp_sink.py"), "--out", self.out,
             "--lifetime", "170", "--tls-cert", cert, "--tls-key", key,
             "--login", "me:right secret"], stdin=subprocess.PIPE, stdout=subprocess.PIPE)
        for step in (lambda: sink.wait(10), sink.stdout.close, sink.stdin.close):
            self.addCleanup(step)
        self.port = int(sink.stdout.readline().split()[1])
        self.screen = Xvfb()
        self.addCleanup(self.screen.stop)
        # The keyring, unlocked with a test password, on a bus of its own.
        address, pid = run("dbus-daemon", "--session", "--fork", "--print-address=1",
                           "--print-pid=1", check=True).split()
        runtime = os.path.join(self.folder, "run")
        os.mkdir(runtime, 0o700)
        self.bus = {**os.environ, "HOME": self.folder, "XDG_RUNTIME_DIR": runtime,
                    "DBUS_SESSION_BUS_ADDRESS": address}
        self.addCleanup(os.kill, int(pid), 15)
        run("gnome-keyring-daemon", "--unlock", "--components=secrets", input="test\n",
            env=self.bus, check=True)
        run("gnome-keyring-daemon", "--start", "--components=secrets", env=self.bus, check=True)
        owner = run("gdbus", "call", "--session", "--dest", "org.freedesktop.DBus",
                    "--object-path", "/org/freedesktop/DBus", "--method",
                    "org.freedesktop.DBus.GetConnectionUnixProcessID", "org.freedesktop.secrets",
                    env=self.bus)
        self.addCleanup(os.kill, int(re.search(r"uint32 (\d+)", owner).group(1)), 15)
        self.env = {"DBUS_SESSION_BUS_ADDRESS": address, "PESTERLY_MAIL_CA_FILE": cert}

    def arrived(self, name):
        wait_for(lambda: os.path.exists(os.path.join(self.out, name)), what=name)

    def test_login_over_starttls_with_the_password_in_the_keyring(self):
        mail = (f"[Mail]\nMethod=SMTP\nHost=127.0.0.1\nPort={self.port}\n"
                "Security=STARTTLS\nUser=me\nFrom=me@example.org\n\n")
        app = Pesterly(BINARY, self.screen, mail + "[Options]\nCheckDate=12/31/2099\n",
                       extra_env=self.env)
        self.addCleanup(app.cleanup)
        app.keys(app.wait_window("Pesterly"), "alt+o", "m")
        form = app.wait_window("Mail Server")
        for password, answer in (("wrong", "login-refused"), ("right secret", "0.envelope")):
            app.click_twips(form, FORM, *PASSWORD)
            xdotool(self.screen, "key", "ctrl+a")
            xdotool(self.screen, "type", "--delay", "20", password)
            app.click_twips(form, FORM, *SEND_TEST)
            self.arrived(answer)
            app.screenshot(form, os.path.join(SHOTS, f"mail-server-{answer}.png"))
        self.arrived("0.tls")
        with open(os.path.join(self.out, "0.envelope"), encoding="utf-8") as f:
            self.assertEqual(f.read(), "from me@example.org\nrcpt me@example.org\n")
        app.click_twips(form, FORM, *OK)
        wait_for(lambda: not app.windows("Mail Server"), what="the dialog to close")
        self.assertEqual(run("secret-tool", "lookup", "server", "Pesterly", "user",
                             "me@127.0.0.1", env=self.bus), "right secret")
        app.process.terminate()
        self.assertEqual(app.wait_exit(), 0)
        with open(app.ini, encoding="utf-8") as f:
            self.assertNotIn("secret", f.read())

        # A fresh start reads the password back when the review sends a nag mail.
        day = datetime.date.today() - datetime.timedelta(days=1)
        day = f"{day.month}/{day.day}/{day.year}"
        again = Pesterly(BINARY, self.screen, mail + (
            f"[Events]\nEventCount=1\nEDate0={day}\nEDesc0=Pay the rent\nEDone0={day}\n"
            "EEmail0=True\nESEmail0=landlord@example.org\n\n"
            f"[Options]\nCheckDate={day}\nCheckTime=12:00:00 AM\n"), extra_env=self.env)
        self.addCleanup(again.cleanup)
        main = again.wait_window("Pesterly")
        box = wait_for(lambda: [w for w in again.windows("Pesterly") if w.id != main.id],
                       what="the review's question")[0]
        again.keys(box, "alt+n")
        self.arrived("1.tls")
        again.process.terminate()
        again.wait_exit()


if __name__ == "__main__":
    unittest.main()
