#include "ui/main/RowFormat.h"

#include <QCoreApplication>
#include <QDate>

#include "reminder/Review.h"
#include "store/TextForms.h"

namespace pesterly {
namespace {

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
        return QCoreApplication::translate("FlexGrid", "Never asked about");
    }
    return QCoreApplication::translate("FlexGrid", "Next asked about: %1")
        .arg(locale.toString(date, QLocale::LongFormat));
}

QString OrdinalSuffix(int day) {
    switch (day) {
        case 1:
        case 21:
        case 31:
            return QStringLiteral("st");
        case 2:
        case 22:
            return QStringLiteral("nd");
        case 3:
        case 23:
            return QStringLiteral("rd");
        default:
            return QStringLiteral("th");
    }
}

RowTexts FormatRow(const Database& db, int hapnum, const QLocale& locale) {
    const Happening& h = db.Happenings[hapnum];
    RowTexts row;
    row[kColCategory] = h.Category == 0 ? QString() : Q(db.CategoryName(h.Category));
    row[kColEmailList] = h.SendMail ? QStringLiteral("Yes") : QStringLiteral("No");
    row[kColSlot] = Q(forms::PaddedNumber(hapnum));
    row[kColSpecialEmail] = Q(h.SpecialEmail);
    row[kColToBeDone] = Q(h.Desc);
    const DateValue& date = h.EventDate;
    switch (h.Repeat) {
        case kRepeatOneTime:
            row[kColRepeat] = QStringLiteral("One Time ");
            row[kColDate] = QStringLiteral("%1 %2,%3")
                                .arg(ShortMonth(date, locale))
                                .arg(date.Day())
                                .arg(date.Year(), 4, 10, QLatin1Char('0'))
                                .trimmed();
            break;
        case kRepeatYearly:
            row[kColRepeat] = QStringLiteral("Yearly");
            row[kColDate] =
                QStringLiteral("%1 %2").arg(ShortMonth(date, locale)).arg(date.Day()).trimmed();
            break;
        case kRepeatMonthly:
            row[kColRepeat] = QStringLiteral("Monthly");
            row[kColDate] =
                QStringLiteral("on the %1%2").arg(date.Day()).arg(OrdinalSuffix(date.Day()));
            break;
        case kRepeatWeekly:
            row[kColRepeat] = QStringLiteral("Weekly");
            row[kColDate] = Weekday(date, locale).trimmed();
            break;
        case kRepeatDaily:
            row[kColRepeat] = QStringLiteral("Daily");
            row[kColDate] = QStringLiteral(" ");
            break;
        default:
            break;
    }
    return row;
}

}  // namespace pesterly
