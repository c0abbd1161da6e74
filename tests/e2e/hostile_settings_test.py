"""The real program on settings files it cannot use as they are: a damaged file whose notice is
open when the desktop ends the program, a pipe where the file should be, and another user's
file."""

import os
import shutil
import signal
import stat
import tempfile
import unittest

from desktop import BINARY, DesktopTest, wait_for

DAMAGED = '[Events]\nEventCount=" 1"\nEDesc0=Order 12" pizza\nthis line has no equals sign\n'


class HostileSettingsTest(DesktopTest):
    def test_sigterm_while_the_damaged_file_notice_is_open_ends_without_saving_over(self):
        program = self.launch(DAMAGED)
        program.wait_window("Pesterly")  # the notice: the main window comes after it
        with open(program.ini + ".damaged", encoding="utf-8") as kept:
            self.assertEqual(kept.read(), DAMAGED)
        program.process.send_signal(signal.SIGTERM)
        self.assertEqual(program.wait_exit(10), 0, program.output())
        with open(program.ini, encoding="utf-8") as f:
            self.assertEqual(f.read(), DAMAGED)

    def test_a_pipe_as_the_settings_file_gets_a_message_and_is_left_alone(self):
        config = tempfile.mkdtemp(prefix="pesterly-fifo-")
        self.addCleanup(shutil.rmtree, config, ignore_errors=True)
        ini = os.path.join(config, "Pesterly", "Pesterly.ini")
        os.makedirs(os.path.dirname(ini))
        os.mkfifo(ini)
        program = self.launch(extra_env={"XDG_CONFIG_HOME": config})
        notice = program.wait_window("Pesterly")  # no hang on the pipe
        self.dismiss_notice(program, notice)
        program.process.send_signal(signal.SIGTERM)
        self.assertEqual(program.wait_exit(10), 0, program.output())
        self.assertTrue(stat.S_ISFIFO(os.stat(ini).st_mode))
        with open(ini + ".unsaved", encoding="utf-8") as f:
            self.assertIn("[Events]", f.read())

    def dismiss_notice(self, program, notice):
        program.keys(notice, "Return")
        wait_for(lambda: program.windows("Pesterly") and
                 program.windows("Pesterly")[0].id != notice.id, what="the main window")

    @unittest.skipUnless(os.geteuid() == 0, "needs root to run the program as another user")
    def test_another_users_file_is_never_written_over(self):
        base = tempfile.mkdtemp(prefix="pesterly-other-")
        self.addCleanup(shutil.rmtree, base, ignore_errors=True)
        os.chmod(base, 0o755)
        folder = os.path.join(base, "Pesterly")
        os.makedirs(folder)
        for path in (base, folder):
            os.chown(path, 65534, 65534)
        ini = os.path.join(folder, "Pesterly.ini")
        with open(ini, "w", encoding="utf-8") as f:  # root's, mode 600: unreadable to nobody
            f.write('[Events]\nEventCount=" 1"\nEDesc0=Old event\n')
        os.chmod(ini, 0o600)
        with open(ini, "rb") as f:
            before = f.read()
        program = self.launch(binary="setpriv",
                              args=("--reuid=65534", "--regid=65534", "--clear-groups", BINARY),
                              extra_env={"XDG_CONFIG_HOME": base, "XDG_STATE_HOME": base,
                                         "HOME": base})
        self.dismiss_notice(program, program.wait_window("Pesterly"))
        os.chmod(ini, 0o644)  # mended while the program runs
        program.process.send_signal(signal.SIGTERM)
        self.assertEqual(program.wait_exit(10), 0, program.output())
        with open(ini, "rb") as f:
            self.assertEqual(f.read(), before)
        with open(ini + ".unsaved", encoding="utf-8") as f:
            self.assertIn("[Events]", f.read())


if __name__ == "__main__":
    unittest.main()
