"""Pesterly in the calendar world, as another program sees it: the command line's export,
with no display and beside a running copy, read by python3-icalendar; and the calendar file
kept current, which follows a delete in the window."""

import datetime
import os
import shutil
import tempfile
import unittest

import icalendar

from desktop import BINARY, DesktopTest, days_ago, ini, run, us_date, wait_for

TODAY = datetime.date.today()
EVENTS = [
    dict(Date="3/14/1950", Repeat=1, Desc="Mother's birthday", Done=us_date(days_ago(30)),
         Category=1, EmailBody='"Buy a present,\\nand a card."'),
    dict(Date="1/6/2020", Repeat=3, Desc="Put the bins out", Done=us_date(days_ago(3))),
    dict(Date=f"{us_date(TODAY + datetime.timedelta(days=40))} 10:30:00 AM", Repeat=0,
         Desc="Dentist"),
    dict(Date="1/1/2020", Repeat=9, Desc="Never due"),
]


def summaries(path):
    with open(path, "rb") as f:
        return {str(e["SUMMARY"]): e for e in icalendar.Calendar.from_ical(f.read()).walk("VEVENT")}


class CalendarTest(DesktopTest):
    def test_export_from_the_command_line_needs_no_display_and_keeps_uids(self):
        home = tempfile.mkdtemp(prefix="pesterly-calendar-")
        self.addCleanup(shutil.rmtree, home, ignore_errors=True)
        ini_path = os.path.join(home, "Pesterly", "Pesterly.ini")
        os.mkdir(os.path.dirname(ini_path))
        settings = ini(EVENTS, Categories={"Count": 1, "Category0": "Family"})
        with open(ini_path, "w", encoding="utf-8") as f:
            f.write(settings)
        env = {k: v for k, v in os.environ.items()
               if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        env.update(XDG_CONFIG_HOME=home, HOME=home)
        out = os.path.join(home, "pesterly.ics")
        result = run(BINARY, "--export-calendar", out, env=env)
        self.assertEqual((result.returncode, result.stderr), (0, ""))
        # The settings file is only read: not written, not locked.
        self.assertEqual(os.listdir(os.path.dirname(ini_path)), ["Pesterly.ini"])
        with open(ini_path, encoding="utf-8") as f:
            self.assertEqual(f.read(), settings)
        events = summaries(out)
        self.assertEqual(sorted(events), ["Dentist", "Mother's birthday", "Put the bins out"])
        birthday, bins, dentist = (events[name] for name in
                                   ("Mother's birthday", "Put the bins out", "Dentist"))
        # The next due date: a year, a week after the day it was last done.
        self.assertEqual(birthday["DTSTART"].dt, days_ago(30).replace(year=days_ago(30).year + 1))
        self.assertEqual(birthday["RRULE"]["FREQ"], ["YEARLY"])
        self.assertEqual(birthday["CATEGORIES"].cats, ["Family"])
        self.assertEqual(str(birthday["DESCRIPTION"]), "Buy a present,\nand a card.")
        self.assertEqual((bins["DTSTART"].dt, bins["RRULE"]["FREQ"]), (days_ago(-4), ["WEEKLY"]))
        self.assertEqual(dentist["DTSTART"].dt, datetime.datetime.combine(
            TODAY + datetime.timedelta(days=40), datetime.time(10, 30)))
        self.assertNotIn("RRULE", dentist)

        # Another date, the same description: the same UID at the next export.
        with open(ini_path, "w", encoding="utf-8") as f:
            f.write(ini([dict(EVENTS[0], Done=us_date(days_ago(1)))] + EVENTS[1:]))
        again = os.path.join(home, "again.ics")
        self.assertEqual(run(BINARY, "--export-calendar", again, env=env).returncode, 0)
        self.assertEqual({name: str(e["UID"]) for name, e in summaries(again).items()},
                         {name: str(e["UID"]) for name, e in events.items()})

        missing = os.path.join(home, "no such folder", "out.ics")
        result = run(BINARY, "--export-calendar", missing, env=env)
        self.assertEqual(result.returncode, 1)
        self.assertIn(missing, result.stderr)

    def test_kept_calendar_file_follows_a_delete_within_two_seconds(self):
        folder = tempfile.mkdtemp(prefix="pesterly-kept-")
        self.addCleanup(shutil.rmtree, folder, ignore_errors=True)
        kept = os.path.join(folder, "pesterly.ics")
        program, main = self.start(ini(EVENTS[1:3], Options={"CalendarFile": kept}))
        wait_for(lambda: os.path.exists(kept), what="the calendar file written at start")
        self.assertEqual(sorted(summaries(kept)), ["Dentist", "Put the bins out"])
        # The command line's export, beside the running copy, on its settings file.
        beside = os.path.join(folder, "beside.ics")
        env = {k: v for k, v in os.environ.items() if k != "DISPLAY"}
        env.update(XDG_CONFIG_HOME=program.config, HOME=program.home)
        self.assertEqual(run(BINARY, "--export-calendar", beside, env=env).returncode, 0)
        self.assertEqual(sorted(summaries(beside)), ["Dentist", "Put the bins out"])
        program.keys(main, "Down", "Delete")  # the first event row, deleted from the keyboard
        wait_for(lambda: list(summaries(kept)) == ["Dentist"], timeout=2.0,
                 what="the deleted event to leave the calendar file")


if __name__ == "__main__":
    unittest.main(verbosity=2)
