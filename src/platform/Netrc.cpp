#include "platform/Netrc.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <string_view>

namespace pesterly {
namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// The next word of a ~/.netrc line: blank-separated, or between double quotes with backslash
// escapes.
bool NextNetrcWord(std::string_view& line, std::string& word) {
    const size_t start = line.find_first_not_of(" \t\r\f\v");
    if (start == std::string_view::npos) {
        return false;
    }
    line.remove_prefix(start);
    word.clear();
    if (line.front() != '"') {
        const size_t end = std::min(line.find_first_of(" \t\r\f\v"), line.size());
        word = line.substr(0, end);
        line.remove_prefix(end);
        return true;
    }
    size_t i = 1;
    for (; i < line.size() && line[i] != '"'; ++i) {
        if (line[i] == '\\' && i + 1 < line.size()) {
            ++i;
        }
        word += line[i];
    }
    line.remove_prefix(std::min(i + 1, line.size()));
    return true;
}

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return home;
    }
    const passwd* entry = getpwuid(getuid());
    return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : "";
}

}  // namespace

bool NetrcMayHoldLogin(const std::string& host) {
    const std::string home = HomeFolder();
    if (home.empty()) {
        return false;
    }
    std::ifstream file(home + "/.netrc");
    std::string line;
    std::string word;
    bool in_macro = false;
    bool host_follows = false;
    while (std::getline(file, line)) {
        std::string_view rest = line;
        if (in_macro) {
            in_macro = rest.find_first_not_of(" \t\r\f\v") != std::string_view::npos;
            continue;
        }
        while (NextNetrcWord(rest, word)) {
            if (host_follows) {
                if (SameIgnoringCase(word, host)) {
                    return true;
                }
                host_follows = false;
            } else if (word.front() == '#') {
                break;
            } else if (SameIgnoringCase(word, "default")) {
                return true;
            } else if (SameIgnoringCase(word, "machine")) {
                host_follows = true;
            } else if (SameIgnoringCase(word, "macdef")) {
                in_macro = true;
                break;
            }
        }
    }
    return false;
}

}  // namespace pesterly
