#include "mail/NagMail.h"

#include <optional>
#include <string>

#include "store/SettingsLayout.h"
#include "store/TextForms.h"

namespace pesterly {
namespace {

// The store offers no test for a key, so a key counts as missing when two different defaults
// both come back.
std::optional<std::string> ReadIfPresent(SettingsStore& store, std::string_view key) {
    constexpr std::string_view kProbeA = "\x01missing-a";
    constexpr std::string_view kProbeB = "\x01missing-b";
    std::string value = store.GetSetting(sections::kNagList, key, kProbeA);
    if (value == kProbeA && store.GetSetting(sections::kNagList, key, kProbeB) == kProbeB) {
        return std::nullopt;
    }
    return value;
}

// The special address followed by the list entries, joined by "," without blanks. A special
// address of blanks only stays in front, with no "," after it; an entry that was never stored
// is left out.
std::string JoinNagList(const std::string& special, SettingsStore& store, int count) {
    std::string text = special;
    bool need_comma = !forms::TrimBlanks(special).empty();
    for (int k = 0; k < count; ++k) {
        const std::optional<std::string> entry = ReadIfPresent(store, SlotKey("Email", k));
        if (!entry) {
            continue;
        }
        if (need_comma) {
            text += ',';
        }
        text += *entry;
        need_comma = true;
    }
    return text;
}

}  // namespace

MaybeError SendNagMail(const Happening& event, SettingsStore& store, MailSession& session) {
    std::string recipients = event.SpecialEmail;
    if (event.UseNagList) {
        const std::string count_text = store.GetSetting(sections::kNagList, "EmailCount", "0");
        const int count = forms::ParseWholeNumber(count_text).value_or(0);
        // A mail meant for the whole list is not sent at all while the list is empty, not even
        // to the special address.
        if (count == 0) {
            return std::nullopt;
        }
        recipients = JoinNagList(event.SpecialEmail, store, count);
    }
    if (forms::TrimBlanks(recipients).empty()) {
        return std::nullopt;
    }

    if (MaybeError error = session.SignOn()) {
        return error;
    }
    session.Compose();
    RecipientType type = RecipientType::kTo;
    if (event.UseNagList) {
        const std::string use_to = store.GetSetting(sections::kNagList, "UseTO", forms::kTrue);
        if (!forms::ReadFlag(use_to)) {
            // Every real recipient, the special address included, becomes a blind copy.
            session.AddRecipient(
                RecipientType::kTo, std::string(),
                store.GetSetting(sections::kNagList, "ToAddress", kUndisclosedRecipients));
            type = RecipientType::kBcc;
        }
    }
    session.AddRecipient(type, recipients, recipients);
    session.SetSubject(event.Desc);
    session.SetNoteText(event.EmailBody);
    MaybeError error = session.Send();
    session.SignOff();
    return error;
}

}  // namespace pesterly
