"""Installs the build into a scratch prefix and checks that everything a desktop needs lands
where it looks for it, and that the desktop entry is valid. Packs the build as a Debian package,
checks it with lintian, installs it with apt-get, runs the installed program from /usr/bin (its
manual and mail module must be found where the package put them), reads its manual page with
man, and removes it again: nothing of it may stay."""

import glob
import os
import re
import struct
import subprocess
import tempfile
import unittest

from desktop import DesktopTest, days_ago, ini, mail_env, review_since, run, us_date

BUILD = os.environ.get("PESTERLY_BUILD_DIR", "build")
SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")


def cached(name):
    with open(os.path.join(BUILD, "CMakeCache.txt"), encoding="utf-8") as f:
        found = re.search(rf"^{name}:\w+=(.*)$", f.read(), re.M)
    return found and found[1].strip()


class InstallTest(unittest.TestCase):
    def test_install_puts_program_entry_icons_and_manual_in_place(self):
        with tempfile.TemporaryDirectory() as prefix:
            run("cmake", "--install", BUILD, "--prefix", prefix, check=True)
            for path in ["bin/pesterly",
                         "share/applications/pesterly.desktop",
                         "share/icons/hicolor/scalable/apps/pesterly.svg",
                         "share/icons/hicolor/32x32/apps/pesterly.png",
                         "share/pesterly/manual/index.html",
                         "share/man/man1/pesterly.1.gz",
                         "share/man/de/man1/pesterly.1.gz",
                         "share/doc/pesterly/copyright"]:
                self.assertTrue(os.path.isfile(os.path.join(prefix, path)), path)
            self.assertTrue(os.access(os.path.join(prefix, "bin/pesterly"), os.X_OK))
            pages = os.path.join(prefix, "share/man")  # where a German reader's man looks
            german = run("man", "-w", "-L", "de", "pesterly", env={**os.environ, "MANPATH": pages})
            self.assertEqual(german.stdout.strip(), os.path.join(pages, "de/man1/pesterly.1.gz"))
            # The modules, in the library folder this system uses.
            for module in ("libpesterly-mail.so", "libpesterly-calendar.so",
                           "libpesterly-keyring.so"):
                self.assertEqual(len(glob.glob(os.path.join(prefix, "lib*", "**", "pesterly",
                                                            module), recursive=True)), 1, module)
            with open(os.path.join(prefix, "share/icons/hicolor/32x32/apps/pesterly.png"),
                      "rb") as png:
                header = png.read(24)
            self.assertEqual(header[:8], b"\x89PNG\r\n\x1a\n")
            self.assertEqual(struct.unpack(">II", header[16:24]), (32, 32))  # width, height

    def test_german_manual_page_keeps_up_with_the_english_one(self):
        """The same sections, no warning from man, and every option, variable and file named."""
        german = {"NAME": "BEZEICHNUNG", "SYNOPSIS": "ÜBERSICHT", "DESCRIPTION": "BESCHREIBUNG",
                  "OPTIONS": "OPTIONEN", "ENVIRONMENT": "UMGEBUNG", "FILES": "DATEIEN",
                  "SIGNALS": "SIGNALE", "EXIT STATUS": "EXIT-STATUS", "SEE ALSO": "SIEHE AUCH"}
        pages = []
        for name in ("pesterly.1", "pesterly.de.1"):
            path = os.path.join(SOURCE, "doc", name)
            shown = run("man", "--warnings", "-E", "UTF-8", "-l", path, env={
                **os.environ, "LANG": "de_DE.UTF-8", "MANPAGER": "cat", "MANWIDTH": "80"})
            self.assertEqual((shown.returncode, shown.stderr), (0, ""), name)
            with open(path, encoding="utf-8") as f:
                text = f.read()
            heads = [german.get(h, h) for h in re.findall(r'^\.SH "?([^"\n]*)', text, re.M)]
            # Tagged paragraphs from the options on name options, variables and files literally.
            tags = re.findall(r"^\.T[PQ]\n\.\w+ (.*)", text[text.index(".SH OPTION"):], re.M)
            names = {word for tag in tags for word in re.sub(r'"[^"]*"', " ", tag).split()}
            paths = re.findall(r"\\-\\-\w[\w\\-]*|[~$/][\w$./\\-]+", text)  # and options
            pages.append((heads, names | set(paths)))
        self.assertEqual(pages[0][0], pages[1][0])
        self.assertEqual(pages[0][1] - pages[1][1], set())

    def test_desktop_entry_is_valid(self):
        entry = os.path.join(SOURCE, "resources", "pesterly.desktop")
        result = run("desktop-file-validate", entry)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        self.assertEqual(result.stdout.strip(), "", result.stdout)


class PackageTest(DesktopTest):
    @classmethod
    def setUpClass(cls):
        if cached("CMAKE_INSTALL_PREFIX") != "/usr":
            raise unittest.SkipTest("the build is not made for /usr (tools/test.sh makes it so)")
        cls.folder = tempfile.TemporaryDirectory(prefix="pesterly-package-")
        cls.addClassCleanup(cls.folder.cleanup)
        made = run("cpack", "-G", "DEB", "-B", cls.folder.name,
                   "--config", os.path.join(BUILD, "CPackConfig.cmake"))
        if made.returncode != 0:
            raise AssertionError(made.stdout + made.stderr)
        cls.deb = glob.glob(os.path.join(cls.folder.name, "pesterly_*.deb"))[0]
        super().setUpClass()

    def test_lintian_finds_no_error(self):
        arch = run("dpkg", "--print-architecture").stdout.strip()
        version = cached("CMAKE_PROJECT_VERSION")
        self.assertEqual(os.path.basename(self.deb), f"pesterly_{version}_{arch}.deb")
        result = run("lintian", "--fail-on", "error", self.deb)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        control = run("dpkg-deb", "--field", self.deb, "Depends", "Recommends").stdout
        self.assertIn("libqt6widgets6", control)  # worked out from the linked libraries
        self.assertIn("Recommends: default-mta | mail-transport-agent", control)

    def test_install_run_and_remove(self):
        if os.geteuid() != 0:
            self.skipTest("installing a package needs root")
        # Someone's own installation is not this test's to replace and remove.
        self.assertNotIn("install ok installed",
                         run("dpkg-query", "-W", "-f=${Status}", "pesterly").stdout,
                         "a pesterly package is installed already; "
                         "remove it (apt-get purge pesterly) to run this test")
        self.addCleanup(run, "dpkg", "--purge", "pesterly")
        # Recommends would bring a mail server onto the machine.
        result = run("apt-get", "install", "-y", "--no-install-recommends", self.deb,
                     env={**os.environ, "DEBIAN_FRONTEND": "noninteractive"})
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        owned = run("dpkg", "-L", "pesterly").stdout.split()
        self.assertIn("/usr/bin/pesterly", owned)
        self.assertEqual(run("man", "-w", "pesterly").stdout.strip(),
                         "/usr/share/man/man1/pesterly.1.gz")
        self.assertIn("PESTERLY_MAIL_URL", run("man", "pesterly", env={
            **os.environ, "MANPAGER": "cat", "MANWIDTH": "80"}).stdout)

        self.run_installed_program(owned)

        was_dir = {path: os.path.isdir(path) for path in owned}
        result = run("apt-get", "remove", "-y", "pesterly")
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        left = [path for path in owned if os.path.lexists(path)]
        # Folders the system shares with other packages stay; nothing else may.
        shared = run("dpkg-query", "-S", *left).stdout if left else ""
        for path in left:
            self.assertTrue(was_dir[path] and f": {path}\n" in shared + "\n", path)

    def run_installed_program(self, owned):
        """A due event answered No sends its mail through the installed mail module; the help
        window opens the installed manual."""
        mail = self.smtp_sink()
        today = us_date(days_ago(0))
        program, main = self.start(ini(
            [dict(Date=today, Repeat=0, Desc="Water the plants", Done=today, Email=True,
                  SEmail="me@example.org")], Options=review_since(days_ago(1))),
            binary="/usr/bin/pesterly", extra_env=mail_env(mail.port, "me@example.org"))
        program.keys(program.next_box(main, set()), "alt+n")
        mail.message(0)
        with open(f"/proc/{program.process.pid}/maps", encoding="utf-8") as f:
            loaded = {line.split()[-1] for line in f if line.endswith("libpesterly-mail.so\n")}
        self.assertEqual(len(loaded), 1, loaded)
        self.assertIn(loaded.pop(), owned)

        manual = "/usr/share/pesterly/manual/index.html"
        watch = subprocess.Popen(["inotifywait", "-e", "open", "-t", "30", manual],
                                 stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        self.addCleanup(watch.kill)
        for line in watch.stderr:  # ends early if the watch cannot be set up
            if "Watches established" in line:
                break
        program.keys(main, "alt+h", "h")
        program.wait_window("Pesterly Help")
        opened, _ = watch.communicate(timeout=30)
        self.assertEqual(watch.returncode, 0, "the installed manual was not opened")
        self.assertIn("OPEN", opened)


if __name__ == "__main__":
    unittest.main(verbosity=2)
