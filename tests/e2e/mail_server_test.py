"""The Mail Server dialog against a real SMTP server on 127.0.0.1 that wants STARTTLS and a
login, with the password in gnome-keyring on a D-Bus session of the test's own; the program
trusts the server's throw-away certificate through PESTERLY_MAIL_CA_FILE."""

import os
import re
import shutil
import signal
import tempfile
import unittest

from desktop import OK, DesktopTest, days_ago, ini, review_since, run, session_bus, us_date, wait_for



class MailServerDialogTest(DesktopTest):
    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="pesterly-mail-server-")
        self.addCleanup(shutil.rmtree, self.folder, True)
        cert, key = (os.path.join(self.folder, n) for n in ("cert", "key"))
        run("openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out",
            cert, "-days", "1", "-subj", "/CN=127.0.0.1", "-addext",
            "subjectAltName=IP:127.0.0.1", check=True)
        self.sink = self.smtp_sink("--tls-cert", cert, "--tls-key", key,
                                   "--login", "me:right secret")
        # The keyring, unlocked with a test password, on a bus of its own.
        runtime = os.path.join(self.folder, "run")
        os.mkdir(runtime, 0o700)
        address = session_bus(self)
        self.bus = {**os.environ, "HOME": self.folder, "XDG_RUNTIME_DIR": runtime,
                    "DBUS_SESSION_BUS_ADDRESS": address}
        run("gnome-keyring-daemon", "--unlock", "--components=secrets", input="test\n",
            env=self.bus, check=True)
        run("gnome-keyring-daemon", "--start", "--components=secrets", env=self.bus, check=True)
        owner = run("gdbus", "call", "--session", "--dest", "org.freedesktop.DBus",
                    "--object-path", "/org/freedesktop/DBus", "--method",
                    "org.freedesktop.DBus.GetConnectionUnixProcessID", "org.freedesktop.secrets",
                    env=self.bus).stdout
        self.addCleanup(os.kill, int(re.search(r"uint32 (\d+)", owner).group(1)), 15)
        self.env = {"DBUS_SESSION_BUS_ADDRESS": address, "PESTERLY_MAIL_CA_FILE": cert}

    def test_login_over_starttls_with_the_password_in_the_keyring(self):
        mail = dict(Method="SMTP", Host="127.0.0.1", Port=self.sink.port, Security="STARTTLS",
                    User="me", From="me@example.org")
        app, main = self.start(ini(Mail=mail, Options={"CheckDate": "12/31/2099"}),
                               extra_env=self.env)
        app.keys(main, "alt+o", "m")
        form = app.wait_window("Mail Server")
        for password, answer in (("wrong", "login-refused"), ("right secret", "0.envelope")):
            app.type(form, "alt+w", "ctrl+a", text=password)  # Password
            app.keys(form, "Tab", "Tab", "space")  # past the sender address: Send Test Mail
            self.sink.arrived(answer)
            app.screenshot(form, f"mail-server-{answer}.png")
        self.sink.arrived("0.tls")
        self.assertEqual(self.sink.message(0)[:2], ("me@example.org", ["me@example.org"]))
        app.click_corner(form, *OK)
        wait_for(lambda: not app.windows("Mail Server"), what="the dialog to close")
        self.assertEqual(run("secret-tool", "lookup", "server", "Pesterly", "user",
                             "me@127.0.0.1", env=self.bus).stdout, "right secret")
        app.assert_exits(signal.SIGTERM)
        with open(app.ini, encoding="utf-8") as f:
            self.assertNotIn("secret", f.read())

        # A fresh start reads the password back when the review sends a nag mail.
        day = us_date(days_ago(1))
        again, main = self.start(ini([dict(Date=day, Desc="Pay the rent", Done=day, Email=True,
                                      SEmail="landlord@example.org")],
                                Mail=mail, Options=review_since(days_ago(1))), extra_env=self.env)
        again.keys(again.next_box(main, set()), "alt+n")
        self.sink.arrived("1.tls")


if __name__ == "__main__":
    unittest.main()
