#include "platform/mail/Netrc.h"

#include <arpa/inet.h>
#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string_view>

namespace pesterly {
namespace {

// The form a host name or address is compared in: an IP address as its bytes (with a tag that
// keeps the two families apart), a name in small letters without a final dot. Brackets,
// quotes and backslash escapes are no part of a host.
std::string HostKey(std::string word) {
    std::erase_if(word, [](char c) { return c == '"' || c == '\\' || c == '[' || c == ']'; });
    if (const size_t zone = word.find('%'); zone != std::string::npos && word.find(':') < zone) {
        word.resize(zone);  // an IPv6 zone ("fe80::1%eth0") names the interface, not the host
    }
    std::array<unsigned char, 16> address{};
    if (inet_pton(AF_INET6, word.c_str(), address.data()) == 1) {
        return "6:" + std::string(address.begin(), address.end());
    }
    in_addr v4{};
    // inet_aton takes every form an IPv4 address is written in: 127.1, 0x7f.1, 2130706433.
    if (inet_aton(word.c_str(), &v4) == 1) {
        const auto* bytes = reinterpret_cast<const char*>(&v4.s_addr);
        return "4:" + std::string(bytes, bytes + 4);
    }
    if (!word.empty() && word.back() == '.') {
        word.pop_back();
    }
    std::ranges::transform(word, word.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return word;
}

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return home;
    }
    const passwd* entry = getpwuid(geteuid());
    return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : "";
}

}  // namespace

bool NetrcMayHoldLogin(const std::string& host) {
    const std::string home = HomeFolder();
    if (home.empty()) {
        return false;
    }
    std::ifstream file(home + "/.netrc", std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(file)),
                           std::istreambuf_iterator<char>());
    const std::string wanted = HostKey(host);
    if (wanted.empty()) {
        return false;
    }
    // Any blank, line end or NUL ends a word: libcurl reads lines up to a NUL.
    constexpr std::string_view kBreaks(" \t\n\r\f\v\0", 7);
    for (size_t start = text.find_first_not_of(kBreaks); start != std::string::npos;) {
        const size_t end = std::min(text.find_first_of(kBreaks, start), text.size());
        const std::string key = HostKey(text.substr(start, end - start));
        if (key == "default" || key == wanted) {
            return true;
        }
        start = text.find_first_not_of(kBreaks, end);
    }
    return false;
}

}  // namespace pesterly
