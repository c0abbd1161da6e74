#include "mail/NagMail.h"

#include <string>
#include <vector>

#include "store/TextForms.h"

namespace pesterly {
namespace {

bool Blank(std::string_view text) {
    return forms::TrimBlanks(text).empty();
}

std::string Joined(const std::vector<std::string>& texts) {
    std::string joined;
    for (const std::string& text : texts) {
        joined += (joined.empty() ? "" : ",") + text;
    }
    return joined;
}

}  // namespace

std::optional<MailDraft> NagMailDraft(const Happening& event, const NagListSettings& list) {
    MailDraft draft{event.Desc, event.Desc, event.EmailBody, {}, {}};
    if (!Blank(event.SpecialEmail)) {
        draft.recipients.push_back(event.SpecialEmail);
    }
    if (!event.UseNagList) {
        draft.to = Joined(draft.recipients);
        return draft.recipients.empty() ? std::nullopt : std::optional(draft);
    }
    // A mail meant for the whole list is not sent while the list is empty, not even to the
    // special address.
    if (list.entries.empty()) {
        return std::nullopt;
    }
    for (const std::optional<std::string>& entry : list.entries) {
        if (entry && !Blank(*entry)) {
            draft.recipients.push_back(*entry);
        }
    }
    if (draft.recipients.empty()) {
        return std::nullopt;
    }
    if (list.use_to) {
        draft.to = Joined(draft.recipients);
        return draft;
    }
    const std::string to_address = list.to_address.value_or("");
    if (Blank(to_address)) {
        draft.to = kUndisclosedRecipients;
    } else {
        draft.to = to_address;
        draft.recipients.insert(draft.recipients.begin(), to_address);
    }
    return draft;
}

}  // namespace pesterly
