#include "store/IniText.h"

#include <cstdint>

#include "store/TextEncoding.h"

namespace pesterly::ini {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    return (c >= 'a' ? c - 'a' : c - 'A') + 10;
}

// Lower-case hexadecimal without leading zeros, as the writer has always spelt escapes.
std::string ShortHex(unsigned value) {
    std::string digits;
    do {
        digits.insert(digits.begin(), "0123456789abcdef"[value % 16]);
        value /= 16;
    } while (value != 0);
    return digits;
}

// The code points of a UTF-8 text; a byte that starts no valid sequence stands for itself.
std::vector<char32_t> CodePoints(std::string_view text) {
    std::vector<char32_t> points;
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<uint8_t>(text[i]);
        size_t length = lead < 0x80    ? 1
                        : lead >= 0xF0 ? 4
                        : lead >= 0xE0 ? 3
                        : lead >= 0xC0 ? 2
                                       : 0;
        if (length > 1 && i + length <= text.size() &&
            encoding::IsValidUtf8(text.substr(i, length))) {
            char32_t c = lead & (0xFF >> (length + 1));
            for (size_t k = 1; k < length; ++k) {
                c = (c << 6) | (static_cast<uint8_t>(text[i + k]) & 0x3F);
            }
            points.push_back(c);
            i += length;
        } else {
            points.push_back(lead);
            ++i;
        }
    }
    return points;
}

// A number after \x (hexadecimal) or \ (octal): one 16-bit character. False for a value no
// written text holds.
bool AppendEscapedUnit(std::string& out, unsigned value) {
    if (value > 0xFFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return false;
    }
    encoding::AppendUtf8(out, static_cast<char32_t>(value));
    return true;
}

}  // namespace

std::string EscapeValue(std::string_view text) {
    std::string wrapped;
    if (text.find('\0') != std::string_view::npos) {
        wrapped = "@String(" + std::string(text) + ")";  // how Qt has always kept a NUL
        text = wrapped;
    }
    std::string out;
    out.reserve(text.size() + 8);
    if (!text.empty() && text.front() == '@' && wrapped.empty()) {
        out += '@';  // a leading '@' would otherwise announce a serialized object
    }
    bool needs_quotes = false;
    // After \x1 or \0 a hex digit would read as part of the number: it is escaped too.
    bool escape_next_if_digit = false;
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == ';' || c == ',' || c == '=') {
            needs_quotes = true;
        }
        if (escape_next_if_digit && IsHexDigit(c)) {
            out += "\\x" + ShortHex(u);
            continue;
        }
        escape_next_if_digit = false;
        switch (c) {
            case '\0':
                out += "\\0";
                escape_next_if_digit = true;
                break;
            case '\a':
                out += "\\a";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\v':
                out += "\\v";
                break;
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            default:
                if (u <= 0x1F) {
                    out += "\\x" + ShortHex(u);
                    escape_next_if_digit = true;
                } else {
                    out += c;
                }
        }
    }
    if (needs_quotes || (!out.empty() && (out.front() == ' ' || out.back() == ' '))) {
        out.insert(out.begin(), '"');
        out += '"';
    }
    return out;
}

std::optional<std::string> UnescapeWrittenValue(std::string_view text) {
    std::string_view body = text;
    if (body.size() >= 2 && body.front() == '"' && body.back() == '"') {
        body = body.substr(1, body.size() - 2);
    }
    std::string out;
    out.reserve(body.size());
    for (size_t i = 0; i < body.size(); ++i) {
        const char c = body[i];
        if (c == '"') {
            return std::nullopt;
        }
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++i == body.size()) {
            return std::nullopt;
        }
        const char e = body[i];
        switch (e) {
            case 'a':
                out += '\a';
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'v':
                out += '\v';
                break;
            case '"':
                out += '"';
                break;
            case '\\':
                out += '\\';
                break;
            case 'x': {
                unsigned value = 0;
                size_t digits = 0;
                while (i + 1 < body.size() && IsHexDigit(body[i + 1]) && digits < 8) {
                    value = value * 16 + static_cast<unsigned>(HexValue(body[++i]));
                    ++digits;
                }
                if (digits == 0 || !AppendEscapedUnit(out, value)) {
                    return std::nullopt;
                }
                break;
            }
            default: {
                if (e < '0' || e > '7') {
                    return std::nullopt;
                }
                unsigned value = static_cast<unsigned>(e - '0');
                while (i + 1 < body.size() && body[i + 1] >= '0' && body[i + 1] <= '7' &&
                       value <= 0xFFFF) {
                    value = value * 8 + static_cast<unsigned>(body[++i] - '0');
                }
                if (!AppendEscapedUnit(out, value)) {
                    return std::nullopt;
                }
            }
        }
    }
    constexpr std::string_view kWrappedText = "@String(";
    if (std::string_view(out).substr(0, kWrappedText.size()) == kWrappedText && out.back() == ')') {
        out = out.substr(kWrappedText.size(), out.size() - kWrappedText.size() - 1);
    } else if (!out.empty() && out.front() == '@') {
        if (out.size() < 2 || out[1] != '@') {
            return std::nullopt;  // a serialized object: never ours, so read as typed
        }
        out.erase(0, 1);
    }
    // Only the written form: anything the writer would have spelt otherwise was typed by hand.
    // Quotes the writer would have left out are the one liberty taken: a person who copies the
    // file's own style quotes a text that needs no quotes.
    const std::string written = EscapeValue(out);
    if (written != text && !(body.size() + 2 == text.size() && written == body)) {
        return std::nullopt;
    }
    return out;
}

std::string EscapeName(std::string_view name) {
    std::string out;
    for (char32_t c : CodePoints(name)) {
        const auto emit_unit = [&out](unsigned unit) {
            if (unit <= 0xFF) {
                out += '%';
                out += kHexDigits[unit / 16];
                out += kHexDigits[unit % 16];
            } else {
                out += "%U";
                for (int shift = 12; shift >= 0; shift -= 4) {
                    out += kHexDigits[(unit >> shift) & 0xF];
                }
            }
        };
        if (c == '/') {
            out += '\\';
        } else if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                   c == '_' || c == '-' || c == '.') {
            out += static_cast<char>(c);
        } else if (c >= 0x10000) {
            emit_unit(0xD800 + ((c - 0x10000) >> 10));
            emit_unit(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            emit_unit(c);
        }
    }
    return out;
}

std::string UnescapeName(std::string_view text) {
    if (text.find('\\') == std::string_view::npos && text.find('%') == std::string_view::npos) {
        return std::string(text);
    }
    std::string out;
    size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\\') {
            out += '/';
            ++i;
            continue;
        }
        if (c == '%' && i + 1 < text.size()) {
            const bool wide = text[i + 1] == 'U';
            const size_t first = i + (wide ? 2 : 1);
            const size_t digits = wide ? 4 : 2;
            bool ok = first + digits <= text.size();
            unsigned value = 0;
            for (size_t k = 0; ok && k < digits; ++k) {
                ok = IsHexDigit(text[first + k]);
                value = value * 16 + (ok ? static_cast<unsigned>(HexValue(text[first + k])) : 0);
            }
            if (ok) {
                encoding::AppendUtf8(out,
                                     value >= 0xD800 && value <= 0xDFFF ? char32_t{0xFFFD} : value);
                i = first + digits;
                continue;
            }
        }
        out += c;
        ++i;
    }
    return out;
}

}  // namespace pesterly::ini
