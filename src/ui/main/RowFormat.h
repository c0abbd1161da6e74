#pragma once

#include <QLocale>
#include <QString>
#include <array>
#include <optional>

#include "store/Database.h"

namespace pesterly {

// Grid columns, in the grid's order.
enum GridColumn {
    kColCategory = 0,
    kColEmailList = 1,
    kColRepeat = 2,
    kColDate = 3,
    kColSpecialEmail = 4,
    kColToBeDone = 5,
    kColSlot = 6,
    kGridColumns = 7,
};

// The texts of one event's grid row. The repeat and date cells are empty optionals for a
// repeat code the program does not know: those cells keep whatever they held.
using RowTexts = std::array<std::optional<QString>, kGridColumns>;

// Month and weekday names follow the given locale.
RowTexts FormatRow(const Database& db, int hapnum, const QLocale& locale);

// When the review will next ask about the event, in the locale's long date form, for the
// row's tooltip: "Next asked about: Tuesday, 15 December 2026" or "Never asked about".
QString NextAskedText(const Happening& event, DateValue last_review, DateValue today,
                      const QLocale& locale);

// "st", "nd", "rd" or "th" for a day of the month.
QString OrdinalSuffix(int day);

// What the mail, repeat and date cells show, in the user's language: "Yes", "One Time ",
// "Mar 14,2001". The date text of a repeat code the program does not know is empty.
QString YesNoText(bool yes);
QString RepeatText(int repeat);
QString DateText(int repeat, const DateValue& date, const QLocale& locale);

}  // namespace pesterly
