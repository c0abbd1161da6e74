#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "store/Error.h"
#include "store/Happening.h"

// The ".Pesterly" exchange file: a line with the number of events, then one line per event
// with eight comma-separated fields (EventDate, Repeat, Desc, DoneDate, SendMail,
// SpecialEmail, Category, EmailBody), each line ended by CR LF. UseNagList is not carried.
//
// Field forms: dates between number signs (#2001-03-14#, #2001-03-14 17:05:09#, #08:00:00#),
// truth values #TRUE# and #FALSE#, whole numbers plain, texts between double quotes exactly as
// held, line breaks included, so one event may span several lines.
namespace pesterly {

// The file is written as UTF-8. A double quote inside a text is written twice ("say ""hi""");
// the old program wrote it once and could then not read its own file back, so a file without
// quotes inside texts is byte for byte what the old program wrote.
//
// The date value 0 has both a zero date part and a midnight time; it is written as the time
// #00:00:00#, as the general date form shows it, and reads back as 0.
std::string WriteExchangeFile(const std::vector<Happening>& records);

// The events a sound file announces on its first line.
struct ExchangeContents {
    std::vector<Happening> events;
    // The line where text other than blank lines follows the announced events, 0 when none
    // does. That text is ignored, as the old program ignored it.
    int64_t ignored_from_line = 0;
};

// Either the events of a sound file, or why the file cannot be read.
using ParsedExchangeFile = Result<ExchangeContents>;

// Reads the announced events of an exchange file and checks all of them before anything is
// returned, so that a damaged file imports nothing; the error names the line and what is wrong
// there.
//
// - Valid UTF-8 stays as it is, and each byte that is not part of a UTF-8 character is read as
//   Windows-1252; a UTF-8 byte order mark is skipped.
// - Fields are taken in order across commas and line ends alike (CR LF, LF or CR); blanks and
//   tabs before and after a field are skipped, and blank lines between events are allowed.
// - Inside a text two double quotes stand for one; line breaks are kept as written.
// - Dates may also have the general forms (#3/14/2001#, #3/14/2001 5:05:09 PM#).
// - #TRUE# and #FALSE# are read without regard to case.
// - Repeat and Category take any 16-bit number: the rest of the program copes with codes it
//   does not know, and a category number is taken over unchanged.
// - Whatever follows the last announced event is not read (a count on line 1 that was not
//   updated by hand); the caller says so when it is more than blank lines.
// - Every imported event has UseNagList false.
ParsedExchangeFile ParseExchangeFile(std::string_view bytes);

// A count on line 1 above this is taken for damage rather than a real file.
inline constexpr long kExchangeMostEvents = 100000;

}  // namespace pesterly
