#include "ui/main/Ending.h"

#include <cstdio>

#include "platform/ShownText.h"
#include "platform/TrayIcon.h"
#include "reminder/QuestionAsker.h"
#include "store/Database.h"
#include "store/SettingsLayout.h"
#include "store/SettingsStore.h"
#include "store/TextForms.h"

namespace pesterly {

Ending::Ending(Database& db, SettingsStore& store, QuestionAsker& asker, TrayIcon& tray)
    : db_(db), store_(store), asker_(asker), tray_(tray) {}

bool Ending::Save(Asking asking) {
    if (asking == Asking::kNobody) {
        SaveOrRescue();
        return true;
    }
    if (const Result<void> saved = SaveSettings(db_, store_); !saved) {
        asker_.Tell(tr("%1\n\nYour events are still here. Pesterly stays open so that nothing "
                       "is lost; close it again once the problem is solved.")
                        .arg(Shown(saved.error()))
                        .toStdString());
        return false;
    }
    return true;
}

bool Ending::SaveAndUnload(Asking asking) {
    if (!Save(asking)) {
        return false;
    }
    tray_.Remove();
    unloaded_ = true;
    return true;
}

void Ending::SaveOrRescue() {
    const Result<void> saved = SaveSettings(db_, store_);
    lost_ = false;
    if (saved) {
        return;
    }
    // Nobody may be there to answer a question: keep the table where it can be written, and
    // say so where the desktop logs it. The next start tells the user where the copy is.
    std::fprintf(stderr, "pesterly: %s\n", saved.error().message.c_str());
    const Result<std::string> rescue = store_.KeepRescueCopy();
    if (rescue) {
        std::fprintf(stderr, "pesterly: the events are kept in %s\n", rescue->c_str());
    } else {
        std::fprintf(stderr, "pesterly: %s\n", rescue.error().message.c_str());
        lost_ = true;
        TellWhatIsLost();
    }
}

// The last place the table can still be seen: the desktop's log of standard error.
void Ending::TellWhatIsLost() const {
    std::fprintf(stderr,
                 "pesterly: nothing could be saved anywhere, so the changes of this session are "
                 "lost. The table held %d events:\n",
                 db_.HappeningCount);
    for (int n = 0; n < db_.HappeningCount; ++n) {
        const Happening& h = db_.Happenings[n];
        std::fprintf(stderr, "pesterly:     %s  %s\n", forms::GeneralDate(h.EventDate).c_str(),
                     h.Desc.c_str());
    }
    std::string categories;
    for (int n = 0; n < db_.CategoryCount; ++n) {
        categories += (n == 0 ? "" : ", ") + db_.Categories[n];
    }
    std::fprintf(stderr, "pesterly: the categories: %s; the review time: %s.\n",
                 db_.CategoryCount == 0 ? "none" : categories.c_str(),
                 forms::GeneralDate(db_.options.CheckTime).c_str());
}

}  // namespace pesterly
