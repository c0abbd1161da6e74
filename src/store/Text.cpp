#include "store/Text.h"

#include "store/Error.h"

namespace pesterly {

std::string FillPlaces(std::string_view text, const std::vector<std::string>& fillings) {
    std::string filled;
    filled.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool place = text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' &&
                           text[i + 1] <= '9' &&
                           static_cast<std::size_t>(text[i + 1] - '1') < fillings.size();
        if (place) {
            filled += fillings[static_cast<std::size_t>(text[i + 1] - '1')];
            ++i;
        } else {
            filled += text[i];
        }
    }
    return filled;
}

Text Reason(const Error& error) {
    return error.text.context == nullptr ? Text(error.message) : error.text;
}

std::string JoinParts(const std::vector<std::string>& parts, const std::string& between) {
    std::string joined;
    for (size_t i = 0; i < parts.size(); ++i) {
        joined += (i == 0 ? std::string() : between) + parts[i];
    }
    return joined;
}

std::string Text::English() const {
    if (context == nullptr && fillings.empty()) {
        return words;
    }
    std::vector<std::string> filled;
    filled.reserve(fillings.size());
    for (const Text& filling : fillings) {
        filled.push_back(filling.English());
    }
    return context == nullptr ? JoinParts(filled, words) : FillPlaces(words, filled);
}

}  // namespace pesterly
