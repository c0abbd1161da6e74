#include "store/Database.h"

namespace pesterly {

bool Database::AppendHappening(const Happening& happening) {
    if (IsFull()) {
        return false;
    }
    Happenings[HappeningCount] = happening;
    ++HappeningCount;
    return true;
}

void Database::RemoveHappening(int slot) {
    if (slot < 0 || slot >= HappeningCount) {
        return;
    }
    for (int i = slot; i < HappeningCount - 1; ++i) {
        Happenings[i] = Happenings[i + 1];
    }
    --HappeningCount;
}

bool Database::AppendCategory(const std::string& name) {
    if (CategoryCount >= kCategoryAddLimit) {
        return false;
    }
    Categories[CategoryCount] = name;
    ++CategoryCount;
    return true;
}

const std::string& Database::CategoryName(int reference) const {
    static const std::string kNone;
    if (reference < 1 || reference > kSlots) {
        return kNone;
    }
    return Categories[reference - 1];
}

}  // namespace pesterly
