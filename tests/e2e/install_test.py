"""Installs the build into a scratch prefix and checks that everything a desktop needs lands
where it looks for it, and that the desktop entry is valid."""

import glob
import os
import subprocess
import tempfile
import unittest

BUILD = os.environ.get("PESTERLY_BUILD_DIR", "build")
SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")


class InstallTest(unittest.TestCase):
    def test_install_puts_program_entry_icons_and_manual_in_place(self):
        with tempfile.TemporaryDirectory() as prefix:
            subprocess.run(["cmake", "--install", BUILD, "--prefix", prefix], check=True,
                           capture_output=True)
            for path in ["bin/pesterly",
                         "share/applications/pesterly.desktop",
                         "share/icons/hicolor/scalable/apps/pesterly.svg",
                         "share/icons/hicolor/32x32/apps/pesterly.png",
                         "share/pesterly/manual/index.html",
                         "share/man/man1/pesterly.1.gz",
                         "share/doc/pesterly/copyright"]:
                self.assertTrue(os.path.isfile(os.path.join(prefix, path)), path)
            self.assertTrue(os.access(os.path.join(prefix, "bin/pesterly"), os.X_OK))
            # The mail module, in the library folder this system uses.
            self.assertEqual(len(glob.glob(os.path.join(prefix, "lib*", "**", "pesterly",
                                                        "libpesterly-mail.so"),
                                           recursive=True)), 1)
            png = open(os.path.join(prefix, "share/icons/hicolor/32x32/apps/pesterly.png"),
                       "rb").read()
            self.assertEqual(png[:8], b"\x89PNG\r\n\x1a\n")
            self.assertEqual(int.from_bytes(png[16:20], "big"), 32)  # width
            self.assertEqual(int.from_bytes(png[20:24], "big"), 32)  # height

    def test_desktop_entry_is_valid(self):
        entry = os.path.join(SOURCE, "resources", "pesterly.desktop")
        result = subprocess.run(["desktop-file-validate", entry], capture_output=True,
                                text=True)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        self.assertEqual(result.stdout.strip(), "", result.stdout)


if __name__ == "__main__":
    unittest.main(verbosity=2)
