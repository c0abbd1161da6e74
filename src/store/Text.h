#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Marks an English text of the core that the windows show in the user's language, and names
// the context it is translated in: PESTERLY_TEXT("Exchange", "line %1: %2") stands for the two
// arguments "Exchange", "line %1: %2", so that it opens a Text. The core has no Qt, so it keeps
// the text as written; lupdate collects it as it collects QT_TRANSLATE_NOOP, and the windows
// translate it when they show it (platform/ShownText.h).
#define PESTERLY_TEXT(context, text) context, text

namespace pesterly {

// A message for the user: an English text with places %1 to %9, and what fills each place. A
// text without a context is data, shown as it is (a file name, a line of a file), or, when it
// has fillings, those one after another with `words` between them (a report of several
// lines); a filling may be a message of its own, translated in turn.
struct Text {
    Text() = default;
    Text(std::string data) : words(std::move(data)) {}
    Text(const char* data) : words(data) {}
    Text(const char* context_, const char* words_, std::vector<Text> fillings_ = {})
        : context(context_), words(words_), fillings(std::move(fillings_)) {}

    static Text Joined(std::vector<Text> parts, std::string between) {
        Text joined(std::move(between));
        joined.fillings = std::move(parts);
        return joined;
    }

    // The English message with every place filled.
    std::string English() const;

    const char* context = nullptr;
    std::string words;
    std::vector<Text> fillings;
};

// An error's message, as parts when the error kept them, for a message built around it.
struct Error;
Text Reason(const Error& error);

// The parts one after another with `between` between them.
std::string JoinParts(const std::vector<std::string>& parts, const std::string& between);

// Puts fillings[k - 1] where %k stands, in one pass, so that a filling holding "%2" stays as
// it is. A place without a filling stays as written.
std::string FillPlaces(std::string_view text, const std::vector<std::string>& fillings);

}  // namespace pesterly
