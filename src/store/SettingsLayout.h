#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "store/Database.h"
#include "store/Error.h"
#include "store/Options.h"
#include "store/SettingsStore.h"

namespace pesterly {

inline constexpr std::string_view kAppName = "Pesterly";

namespace sections {
inline constexpr std::string_view kEvents = "Events";
inline constexpr std::string_view kCategories = "Categories";
inline constexpr std::string_view kOptions = "Options";
inline constexpr std::string_view kNagList = "NagList";
inline constexpr std::string_view kMail = "Mail";
}  // namespace sections

// Every stored key name, once. Names are matched without regard to case, so older files that
// spell a key otherwise ("EsEmail") read the same.
namespace keys {
inline constexpr std::string_view kEventCount = "EventCount";
inline constexpr std::string_view kEventDate = "EDate";
inline constexpr std::string_view kRepeat = "ERepeat";
inline constexpr std::string_view kDesc = "EDesc";
inline constexpr std::string_view kDoneDate = "EDone";
inline constexpr std::string_view kSendMail = "EEmail";
inline constexpr std::string_view kUseNagList = "EUseNagList";
inline constexpr std::string_view kSpecialEmail = "ESEmail";
inline constexpr std::string_view kCategory = "ECategory";
inline constexpr std::string_view kEmailBody = "EEmailBody";
inline constexpr std::string_view kCategoryCount = "Count";
inline constexpr std::string_view kCategoryName = "Category";
inline constexpr std::string_view kCheckDate = "CheckDate";
inline constexpr std::string_view kCheckTime = "CheckTime";
inline constexpr std::string_view kStartAtLogin = "StartAtLogin";
// The calendar file Pesterly keeps current; empty or missing when it keeps none.
inline constexpr std::string_view kCalendarFile = "CalendarFile";
inline constexpr std::string_view kEmailCount = "EmailCount";
inline constexpr std::string_view kEmail = "Email";
inline constexpr std::string_view kToAddress = "ToAddress";
inline constexpr std::string_view kUseTo = "UseTO";
inline constexpr std::string_view kMailMethod = "Method";
inline constexpr std::string_view kMailHost = "Host";
inline constexpr std::string_view kMailPort = "Port";
inline constexpr std::string_view kMailSecurity = "Security";
inline constexpr std::string_view kMailUser = "User";
inline constexpr std::string_view kMailFrom = "From";
}  // namespace keys

// A per-slot key: the prefix and the slot number, "EDate" and 17 give "EDate17".
std::string SlotKey(std::string_view prefix, int slot);

// Fills the event and category tables from the store. Damaged data never stops it: a count that
// is missing or not a number is replaced by the slots found, a count above the table size loads
// the first 101 slots, and a date that is missing or does not parse reads as date 0. What the
// user should be told at start when a count could not be taken as it is; the store then keeps
// a copy of the file as it was.
std::optional<Text> LoadSettings(Database& db, SettingsStore& store);

// Reads every option: CheckDate (default today) and CheckTime (default 8:00:00 AM), of which a
// text that does not parse gives the default and only the date or the time of day is kept;
// StartAtLogin (on unless it says "False"); CalendarFile; and the "Mail" section, whose names
// are matched without regard to case (a name that is none of the known ones reads as the
// default).
Options ReadOptions(SettingsStore& store, DateValue today);

// Writes the options into the store, not committing them. The review date and time are always
// written; any other option only when it differs from what the store holds, so that a file
// without a key, or with a hand-written spelling, is written back as it was.
void WriteOptions(SettingsStore& store, const Options& options);

// db.options = ReadOptions(store, today).
void LoadOptions(Database& db, SettingsStore& store, DateValue today);

// For a dialog whose OK saves at once: writes `wanted` and commits. On success `held` becomes
// `wanted`; when the commit fails both `held` and the store keep their earlier values, so that
// values the user then cancels never reach the file at a later save either.
Result<void> SaveOptions(SettingsStore& store, Options& held, const Options& wanted);

// Writes the event table, the options and the categories, then commits them to the store.
Result<void> SaveSettings(const Database& db, SettingsStore& store);

}  // namespace pesterly
