#pragma once

#include <string>
#include <string_view>

// The settings file and exchange files come from this program (UTF-8), from the old Windows one,
// which wrote texts in the ANSI code page of the machine, in practice Windows-1252, and from
// hand edits in any editor. Both readers share these helpers, so they live in the store.
namespace pesterly::encoding {

// Appends the code point in UTF-8; the caller passes no surrogate and nothing beyond U+10FFFF.
void AppendUtf8(std::string& out, char32_t c);

// Strict UTF-8: no overlong forms, no surrogates, nothing beyond U+10FFFF.
bool IsValidUtf8(std::string_view bytes);

// Every one of the 256 byte values has a character: the five that Windows-1252 leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the control characters of the same number,
// so no byte of a file is ever lost.
std::string Windows1252ToUtf8(std::string_view bytes);

// Valid UTF-8 stays as it is, and each byte that is not part of a valid UTF-8 character is read
// as Windows-1252: one stray byte of a hand edit does not change how the rest of the text reads.
// (A text of Windows-1252 alone almost never holds a pair of bytes that is also valid UTF-8.)
std::string AsUtf8(std::string_view bytes);

}  // namespace pesterly::encoding
