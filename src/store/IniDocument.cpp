#include "store/IniText.h"

#include "store/TextEncoding.h"

namespace pesterly::ini {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}
// Where the line that starts at `pos` ends: at the next CR or LF, or at the end.
size_t LineEnd(std::string_view bytes, size_t pos) {
    while (pos < bytes.size() && bytes[pos] != '\n' && bytes[pos] != '\r') {
        ++pos;
    }
    return pos;
}

// Whether a value's text could be in the written form with anything to decode: a text
// without quotes, backslashes or a leading '@' reads the same either way.
bool MayBeEscaped(std::string_view text) {
    if (!text.empty() && text.front() == '@') {
        return true;
    }
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            return true;
        }
    }
    return false;
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// A section header. Built by appending: GCC 12 warns wrongly (-Wrestrict) about "[" + a string
// in optimised builds.
std::string Bracketed(std::string_view name) {
    std::string header = "[";
    header += name;
    header += ']';
    return header;
}

}  // namespace

std::string ReadValue(std::string_view text) {
    text = TrimBlanks(text);
    if (!MayBeEscaped(text)) {
        return std::string(text);
    }
    if (auto decoded = UnescapeWrittenValue(text)) {
        return std::move(*decoded);
    }
    return std::string(text);
}

std::string Document::LowerKey(std::string_view section, std::string_view key) {
    std::string name = Lower(section);
    name += '\n';
    name += Lower(key);
    return name;
}

Document Document::Parse(std::string_view bytes) {
    Document doc;
    int number = 0;
    size_t pos = 0;
    while (pos < bytes.size()) {
        const size_t end = LineEnd(bytes, pos);
        std::string_view raw = bytes.substr(pos, end - pos);
        // The byte order mark some editors put first; all of them, so that a line written
        // back reads the same again.
        while (raw.substr(0, 3) == "\xEF\xBB\xBF") {
            raw.remove_prefix(3);
        }
        pos = end + (bytes.substr(end, 2) == "\r\n" ? 2 : 1);
        ++number;

        // Most lines are UTF-8 (or plain ASCII) already, and are read where they lie.
        std::string converted;
        std::string_view t = raw;
        if (!encoding::IsValidUtf8(raw)) {
            converted = encoding::AsUtf8(raw);
            t = converted;
        }
        while (!t.empty() && IsBlank(t.front())) {
            t.remove_prefix(1);
        }
        if (t.empty() || t.front() == ';' || t.front() == '#') {
            doc.blocks_.back().lines.push_back(Line{Kind::kOther, std::string(raw), {}, {}, false});
            continue;
        }
        if (t.front() == '[') {
            const size_t close = t.find(']');
            const std::string_view name =
                TrimBlanks(close == std::string_view::npos ? t.substr(1) : t.substr(1, close - 1));
            Block block{std::string(raw), Lower(UnescapeName(name)), {}};
            if (close == std::string_view::npos) {
                doc.damaged_lines_.push_back(number);
                block.header = Bracketed(name);  // mended at the next save
            }
            doc.blocks_.push_back(std::move(block));
            continue;
        }
        const size_t equals = t.find('=');
        if (equals == std::string_view::npos) {
            doc.damaged_lines_.push_back(number);
            doc.blocks_.back().lines.push_back(
                Line{Kind::kDamaged, std::string(raw), {}, {}, false});
            continue;
        }
        const std::string_view key = TrimBlanks(t.substr(0, equals));
        doc.AddLine(Line{Kind::kKey, std::string(raw), std::string(key),
                         ReadValue(t.substr(equals + 1)), false},
                    UnescapeName(key));
    }
    return doc;
}

void Document::AddLine(Line line, std::string_view decoded_key) {
    Block& block = blocks_.back();
    block.lines.push_back(std::move(line));
    // Of two lines with the same name the later one counts, as it always has.
    index_[LowerKey(block.lower_name, decoded_key)] = {blocks_.size() - 1, block.lines.size() - 1};
}

const std::string* Document::Find(std::string_view section, std::string_view key) const {
    const auto found = index_.find(LowerKey(section, key));
    return found == index_.end() ? nullptr
                                 : &blocks_[found->second.block].lines[found->second.line].value;
}

bool Document::Set(std::string_view section, std::string_view key, std::string_view bytes) {
    // Held as it will read back from the file: bytes that are not UTF-8 as Windows-1252.
    const std::string value = encoding::AsUtf8(bytes);
    std::string lower_key = LowerKey(section, key);
    if (const auto found = index_.find(lower_key); found != index_.end()) {
        Line& line = blocks_[found->second.block].lines[found->second.line];
        if (line.value == value) {
            return false;
        }
        line.value = value;
        line.changed = true;
        return true;
    }
    const std::string lower_section = Lower(section);
    size_t b = blocks_.size();
    while (b > 1 && blocks_[b - 1].lower_name != lower_section) {
        --b;
    }
    if (b <= 1) {
        const Block& last = blocks_.back();
        const bool empty_file = blocks_.size() == 1 && last.lines.empty();
        if (!empty_file && (last.lines.empty() || !TrimBlanks(last.lines.back().raw).empty() ||
                            last.lines.back().kind != Kind::kOther)) {
            blocks_.back().lines.push_back(Line{});  // a blank line between sections
        }
        blocks_.push_back(Block{Bracketed(EscapeName(section)), lower_section, {}});
        b = blocks_.size();
    }
    std::vector<Line>& lines = blocks_[b - 1].lines;
    size_t at = lines.size();
    while (at > 0 && lines[at - 1].kind == Kind::kOther && TrimBlanks(lines[at - 1].raw).empty()) {
        --at;  // before the blank lines that end the section
    }
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at),
                 Line{Kind::kKey, {}, EscapeName(key), value, true});
    index_[std::move(lower_key)] = {b - 1, at};
    return true;
}

bool Document::Remove(std::string_view section, std::string_view key) {
    const auto found = index_.find(LowerKey(section, key));
    if (found == index_.end()) {
        return false;
    }
    blocks_[found->second.block].lines[found->second.line].kind = Kind::kRemoved;
    index_.erase(found);
    return true;
}

std::string Document::Serialize() const {
    std::string out;
    for (const Block& block : blocks_) {
        if (!block.header.empty()) {
            out += block.header;
            out += '\n';
        }
        for (const Line& line : block.lines) {
            if (line.kind == Kind::kDamaged || line.kind == Kind::kRemoved) {
                continue;
            }
            if (line.changed) {
                out += line.raw_name;
                out += '=';
                out += EscapeValue(line.value);
            } else {
                out += line.raw;
            }
            out += '\n';
        }
    }
    return out;
}

}  // namespace pesterly::ini
