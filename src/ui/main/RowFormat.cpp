#include "ui/main/RowFormat.h"

#include <QCoreApplication>
#include <QDate>

#include "reminder/Review.h"
#include "store/TextForms.h"

namespace pesterly {
namespace {

// The grid's own words, translated under "RowFormat"; the dates' names and forms follow the
// user's language.
struct RowFormat {
    Q_DECLARE_TR_FUNCTIONS(RowFormat)
};

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

QString ShortMonth(const DateValue& date, const QLocale& locale) {
    return locale.monthName(date.Month(), QLocale::ShortFormat);
}

// Qt counts weekdays from Monday as 1; the date value counts from Sunday as 0.
QString Weekday(const DateValue& date, const QLocale& locale) {
    const int day = date.DayOfWeek();
    return locale.dayName(day == 0 ? 7 : day, QLocale::LongFormat);
}

}  // namespace

QString NextAskedText(const Happening& event, DateValue last_review, DateValue today,
                      const QLocale& locale) {
    const std::optional<DateValue> day = NextAskedDay(event, last_review, today);
    const QDate date =
        day.has_value() ? QDate(static_cast<int>(day->Year()), day->Month(), day->Day()) : QDate();
    if (!date.isValid()) {
        return RowFormat::tr("Never asked about");
    }
    return RowFormat::tr("Next asked about: %1").arg(locale.toString(date, QLocale::LongFormat));
}

QString OrdinalSuffix(int day) {
    switch (day) {
        case 1:
        case 21:
        case 31:
            return RowFormat::tr("st", "ordinal suffix of 1, 21 and 31, as in \"on the 1st\"");
        case 2:
        case 22:
            return RowFormat::tr("nd", "ordinal suffix of 2 and 22");
        case 3:
        case 23:
            return RowFormat::tr("rd", "ordinal suffix of 3 and 23");
        default:
            return RowFormat::tr("th", "ordinal suffix of the other days");
    }
}

QString YesNoText(bool yes) {
    return yes ? RowFormat::tr("Yes", "grid: the event sends mail")
               : RowFormat::tr("No", "grid: no mail");
}

QString RepeatText(int repeat) {
    switch (repeat) {
        case kRepeatOneTime:
            return RowFormat::tr("One Time ", "grid: the trailing blank belongs to the text");
        case kRepeatYearly:
            return RowFormat::tr("Yearly");
        case kRepeatMonthly:
            return RowFormat::tr("Monthly");
        case kRepeatWeekly:
            return RowFormat::tr("Weekly");
        case kRepeatDaily:
            return RowFormat::tr("Daily");
        default:
            return QString();
    }
}

QString DateText(int repeat, const DateValue& date, const QLocale& locale) {
    const QString day = QString::number(date.Day());
    switch (repeat) {
        case kRepeatOneTime:
            return RowFormat::tr("%1 %2,%3", "grid: month name, day, year, as in \"Mar 14,2001\"")
                .arg(ShortMonth(date, locale), day,
                     QStringLiteral("%1").arg(date.Year(), 4, 10, QLatin1Char('0')))
                .trimmed();
        case kRepeatYearly:
            return RowFormat::tr("%1 %2", "grid: month name and day, as in \"Mar 14\"")
                .arg(ShortMonth(date, locale), day)
                .trimmed();
        case kRepeatMonthly:
            return RowFormat::tr("on the %1%2",
                                 "grid: day and its ordinal suffix, as in \"on the 14th\"")
                .arg(day, OrdinalSuffix(date.Day()));
        case kRepeatWeekly:
            return Weekday(date, locale).trimmed();
        case kRepeatDaily:
            return QStringLiteral(" ");
        default:
            return QString();
    }
}

RowTexts FormatRow(const Database& db, int hapnum, const QLocale& locale) {
    const Happening& h = db.Happenings[hapnum];
    RowTexts row;
    row[kColCategory] = h.Category == 0 ? QString() : Q(db.CategoryName(h.Category));
    row[kColEmailList] = YesNoText(h.SendMail);
    row[kColSlot] = Q(forms::PaddedNumber(hapnum));
    row[kColSpecialEmail] = Q(h.SpecialEmail);
    row[kColToBeDone] = Q(h.Desc);
    if (h.Repeat >= kRepeatOneTime && h.Repeat <= kRepeatDaily) {
        row[kColRepeat] = RepeatText(h.Repeat);
        row[kColDate] = DateText(h.Repeat, h.EventDate, locale);
    }
    return row;
}

}  // namespace pesterly
