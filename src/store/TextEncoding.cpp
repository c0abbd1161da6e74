#include "store/TextEncoding.h"

#include <array>
#include <cstdint>

namespace pesterly::encoding {
namespace {

// The characters of bytes 0x80 to 0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char32_t, 32> kBytes80To9F = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 0x88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 0x98
};

}  // namespace

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

namespace {

// The length of the valid UTF-8 sequence that starts at bytes[i], or 0 when none does.
size_t SequenceLength(std::string_view bytes, size_t i) {
    const auto lead = static_cast<uint8_t>(bytes[i]);
    if (lead < 0x80) {
        return 1;
    }
    size_t length = 0;
    // The range the second byte may take: narrower than 0x80-0xBF right after the leads that
    // would otherwise allow overlong forms, surrogates or values past U+10FFFF.
    uint8_t low = 0x80;
    uint8_t high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) {
            low = 0xA0;
        } else if (lead == 0xED) {
            high = 0x9F;
        }
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) {
            low = 0x90;
        } else if (lead == 0xF4) {
            high = 0x8F;
        }
    } else {
        return 0;
    }
    if (bytes.size() - i < length) {
        return 0;
    }
    for (size_t k = 1; k < length; ++k) {
        const auto next = static_cast<uint8_t>(bytes[i + k]);
        const uint8_t from = k == 1 ? low : uint8_t{0x80};
        const uint8_t to = k == 1 ? high : uint8_t{0xBF};
        if (next < from || next > to) {
            return 0;
        }
    }
    return length;
}

void AppendWindows1252(std::string& out, char byte) {
    const auto b = static_cast<uint8_t>(byte);
    AppendUtf8(out, b >= 0x80 && b < 0xA0 ? kBytes80To9F[b - 0x80] : char32_t{b});
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
    for (size_t i = 0, length = 0; i < bytes.size(); i += length) {
        if (static_cast<uint8_t>(bytes[i]) < 0x80) {
            length = 1;  // ASCII, most of every file, without the full check
        } else if ((length = SequenceLength(bytes, i)) == 0) {
            return false;
        }
    }
    return true;
}

std::string Windows1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char byte : bytes) {
        AppendWindows1252(out, byte);
    }
    return out;
}

std::string AsUtf8(std::string_view bytes) {
    if (IsValidUtf8(bytes)) {
        return std::string(bytes);
    }
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (size_t i = 0; i < bytes.size();) {
        const size_t length = SequenceLength(bytes, i);
        if (length == 0) {
            AppendWindows1252(out, bytes[i++]);
        } else {
            out.append(bytes, i, length);
            i += length;
        }
    }
    return out;
}

}  // namespace pesterly::encoding
