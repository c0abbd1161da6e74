#pragma once

#include <cstdint>
#include <string>

#include "store/DateValue.h"

namespace pesterly {

// Repeat rule codes; the code is the rule's position in the editor's list.
enum RepeatCode : int16_t {
    kRepeatOneTime = 0,
    kRepeatYearly = 1,
    kRepeatMonthly = 2,
    kRepeatWeekly = 3,
    kRepeatDaily = 4,
};

// One reminder event.
struct Happening {
    DateValue EventDate;
    int16_t Repeat = kRepeatOneTime;
    std::string Desc;
    DateValue DoneDate;  // the day the user last answered Yes in the daily review
    bool SendMail = false;
    bool UseNagList = false;
    std::string SpecialEmail;
    int16_t Category = 0;  // 0: none; k: Categories slot k - 1
    std::string EmailBody;

    friend bool operator==(const Happening&, const Happening&) = default;
};

}  // namespace pesterly
