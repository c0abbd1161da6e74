#pragma once

#include <optional>

namespace pesterly {

// "pesterly --export-calendar FILE": writes every event of the settings file to an iCalendar
// file and gives the exit status. It needs no display and runs beside a running copy: it only
// reads the settings file, and takes no part in the single-instance lock. Nothing when the
// command line asks for something else.
std::optional<int> RunCalendarExport(int argc, char** argv);

}  // namespace pesterly
