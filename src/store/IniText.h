#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The text of the settings file: [sections] of key=value lines. Earlier versions of Pesterly
// wrote it through Qt's INI writer, so values the program writes take that form (quoted when
// they hold ';', ',' or '=' or begin or end with a blank, with backslash escapes such as \n,
// \" and \\, and a leading '@' doubled). A value in that form (with or without quotes the
// writer would not have needed) is read back decoded;
// any other value is read as typed, so a hand edit such as `Order 12" pizza` or
// `Call Bob; bring the contract` means what it says. Nothing is ever read as a serialized
// object, and lines the program does not use are written back as they were.
namespace pesterly::ini {

// The form the program writes a value in.
std::string EscapeValue(std::string_view text);
// The value a text in the written form stands for, also when it is in quotes it did not need;
// nullopt for any other text.
std::optional<std::string> UnescapeWrittenValue(std::string_view text);
// What a value's text in the file means: decoded when it is in the written form, else as typed
// (without the blanks and tabs around it).
std::string ReadValue(std::string_view text);

// Section and key names as written: letters, digits, '_', '-' and '.' as they are, anything
// else %XX or %UXXXX, and a '/' as '\'.
std::string EscapeName(std::string_view name);
std::string UnescapeName(std::string_view text);

class Document {
  public:
    // Valid UTF-8 stays as it is; each byte that is not part of a UTF-8 character is read as
    // Windows-1252.
    static Document Parse(std::string_view bytes);

    const std::string* Find(std::string_view section, std::string_view key) const;
    // Creates or replaces the value (bytes that are not UTF-8 read as Windows-1252, as they
    // would read back); false when it already held exactly this text.
    bool Set(std::string_view section, std::string_view key, std::string_view value);
    // False when there was no such key.
    bool Remove(std::string_view section, std::string_view key);
    // The file's text: lines that were not changed come out byte for byte as they were read,
    // lines that could not be read are left out.
    std::string Serialize() const;

    // 1-based numbers of the lines that could not be read (no '=', or a '[' without ']').
    const std::vector<int>& DamagedLines() const { return damaged_lines_; }

  private:
    enum class Kind { kOther, kKey, kDamaged, kRemoved };
    struct Line {
        Kind kind = Kind::kOther;
        std::string raw;       // as in the file, without its line end
        std::string raw_name;  // a key line's name as spelt in the file
        std::string value;     // a key line's value, decoded
        bool changed = false;
    };
    struct Block {
        std::string header;  // "[Events]" as in the file; empty before the first section
        std::string lower_name;
        std::vector<Line> lines;
    };
    struct Place {
        size_t block;
        size_t line;
    };
    static std::string LowerKey(std::string_view section, std::string_view key);
    void AddLine(Line line, std::string_view decoded_key);

    std::vector<Block> blocks_ = std::vector<Block>(1);  // first: the lines before any section
    std::unordered_map<std::string, Place> index_;       // lower-case "section\nkey"
    std::vector<int> damaged_lines_;
};

}  // namespace pesterly::ini
