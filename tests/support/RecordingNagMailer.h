#pragma once

#include <string>
#include <vector>

#include "reminder/NagMailer.h"

namespace pesterly::testing {

// Records every nag mail instead of sending it; can be told to fail.
class RecordingNagMailer : public NagMailer {
  public:
    Result<void> SendNagMail(const Happening& event) override {
        sent.push_back(event);
        if (!failure.empty()) {
            return Error{failure};
        }
        return {};
    }
    std::vector<Happening> sent;
    std::string failure;
};

}  // namespace pesterly::testing
