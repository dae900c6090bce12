#include "core/tweak/TweakParser.h"

#include <cstdint>

#include "core/edit/HexText.h"
#include "core/tweak/TweakText.h"

namespace thornbeck {
namespace {

constexpr size_t kLongestKey = 0xFFFF;  // a key record's name length is 16-bit
constexpr size_t kLongestValue = 0xFFFF;

// True when `text` is UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF).
bool IsUtf8(std::string_view text) {
    for (size_t at = 0; at < text.size();) {
        const auto lead = static_cast<uint8_t>(text[at]);
        int trail = 0;
        uint32_t code = 0;
        if (lead < 0x80) {
            ++at;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            trail = 1, code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            trail = 2, code = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            trail = 3, code = lead & 0x07;
        } else {
            return false;
        }
        if (at + trail >= text.size()) return false;
        for (int i = 1; i <= trail; ++i) {
            const auto next = static_cast<uint8_t>(text[at + i]);
            if ((next & 0xC0) != 0x80) return false;
            code = code << 6 | (next & 0x3F);
        }
        if ((trail == 2 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) ||
            (trail == 3 && (code < 0x10000 || code > 0x10FFFF)))
            return false;
        at += trail + 1;
    }
    return true;
}

// The next line and where the one after it starts; a CR before the LF is no part of it.
std::string_view NextLine(std::string_view file, size_t& at) {
    const size_t end = file.find('\n', at);
    std::string_view line =
        file.substr(at, end == std::string_view::npos ? file.size() - at : end - at);
    at = end == std::string_view::npos ? file.size() : end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

// Why the bytes cannot stand in `field`; "" when they can.
std::string FieldProblem(DetailField field, std::string_view bytes) {
    switch (field) {
        case kValueField:
            return bytes.size() > kLongestValue ? "the value is longer than an entry can hold" : "";
        case kDataSizeField: {
            // Digits only: the typing rules let control characters through as editing keys.
            uint32_t size = 0;
            for (const char c : bytes) {
                if (c < '0' || c > '9') return "Data Size takes 1 to 5 decimal digits";
                size = size * 10 + static_cast<uint32_t>(c - '0');
                if (size > 0xFFFF) return "Data Size is at most 65535";
            }
            return bytes.empty() || bytes.size() > 5 ? "Data Size takes 1 to 5 decimal digits" : "";
        }
        case kDataTypeField:
            for (const char* name : kDataTypeNames)
                if (bytes == name) return "";
            return "Data Type is Binary, Integer or String";
        default:
            return IsHexFieldText(bytes, 2) ? "" : "takes 1 to 4 hex digits";
    }
}

// The bytes of one column, or the problem with its line number.
std::optional<std::string> ColumnBytes(std::string_view column, const char* what, int number,
                                       TweakFileError& error) {
    std::string problem;
    auto bytes = BytesOfTweakText(column, problem);
    if (!bytes) error = {number, std::string(what) + ": " + problem};
    return bytes;
}

// One line of four columns, or the error it makes.
std::variant<TweakLine, TweakFileError> ReadLine(std::string_view line, int number) {
    std::string_view columns[4];
    size_t count = 0;
    for (size_t at = 0;; ++count) {
        const size_t tab = line.find('\t', at);
        if (count < 4) columns[count] = line.substr(at, tab - at);
        if (tab == std::string_view::npos) break;
        at = tab + 1;
    }
    ++count;
    if (count != 4)
        return TweakFileError{number, "a line of " + std::to_string(count) +
                                          " columns; a line holds key, field, expected text and "
                                          "text, separated by tabs"};
    TweakLine parsed;
    parsed.lineNumber = number;
    const auto field = TweakFieldNamed(columns[1]);
    if (!field)
        return TweakFileError{number, "unknown field \"" + std::string(columns[1]).substr(0, 40) +
                                          "\"; the fields are Value, Data Size, Data Type, "
                                          "Checksum, Flags and Header ID"};
    parsed.field = *field;
    TweakFileError error;
    auto key = ColumnBytes(columns[0], "the key", number, error);
    if (!key) return error;
    if (key->empty() || key->size() > kLongestKey)
        return TweakFileError{number, key->empty() ? "the key is empty"
                                                   : "the key is longer than a key can be "
                                                     "(65,535 bytes)"};
    parsed.key = std::move(*key);
    if (columns[2] != "*") {
        auto expected = ColumnBytes(columns[2], "the expected text", number, error);
        if (!expected) return error;
        if (auto problem = FieldProblem(*field, *expected); !problem.empty())
            return TweakFileError{number, "the expected text: " + problem};
        parsed.expected = std::move(*expected);
    }
    auto text = ColumnBytes(columns[3], "the text", number, error);
    if (!text) return error;
    if (auto problem = FieldProblem(*field, *text); !problem.empty())
        return TweakFileError{number, "the text: " + problem};
    parsed.text = std::move(*text);
    if (*field == kDataTypeField && parsed.expected && *parsed.expected != parsed.text)
        return TweakFileError{number, "Data Type cannot be changed: it is only checked"};
    return parsed;
}

// The text after "# name:" of a comment, when it is that comment.
std::optional<std::string_view> Named(std::string_view comment, std::string_view name) {
    comment.remove_prefix(1);
    while (!comment.empty() && comment.front() == ' ') comment.remove_prefix(1);
    if (!comment.starts_with(name) || comment.substr(name.size()).substr(0, 1) != ":")
        return std::nullopt;
    comment.remove_prefix(name.size() + 1);
    while (!comment.empty() && comment.front() == ' ') comment.remove_prefix(1);
    return comment;
}

}  // namespace

std::optional<DetailField> TweakFieldNamed(std::string_view name) {
    constexpr std::pair<std::string_view, DetailField> kNames[] = {
        {"Value", kValueField},       {"Data Size", kDataSizeField}, {"Data Type", kDataTypeField},
        {"Checksum", kChecksumField}, {"Flags", kFlagsField},        {"Header ID", kHeaderIdField}};
    for (const auto& [text, field] : kNames)
        if (text == name) return field;
    return std::nullopt;
}

bool IsTweakField(DetailField field) {
    return field != kDataOffsetField && field != kKeyOffsetField;
}

std::variant<Tweak, TweakFileError> ParseTweak(std::string_view file) {
    if (file.find('\0') != std::string_view::npos)
        return TweakFileError{1, "a binary file, not a tweak"};
    if (!IsUtf8(file)) return TweakFileError{1, "not UTF-8 text, which a tweak is"};
    size_t at = 0;
    if (file.starts_with("\xEF\xBB\xBF")) at = 3;  // a byte-order mark some editors write
    if (NextLine(file, at) != kTweakHeader)
        return TweakFileError{1, "the first line is not \"" + std::string(kTweakHeader) +
                                     "\": no tweak, or one of another version"};
    Tweak tweak;
    for (int number = 2; at < file.size(); ++number) {
        const std::string_view line = NextLine(file, at);
        if (line.empty()) continue;
        if (line.front() == '#') {
            if (const auto title = Named(line, "title"))
                tweak.title = *title;
            else if (const auto description = Named(line, "description"))
                tweak.description = *description;
            continue;
        }
        auto parsed = ReadLine(line, number);
        if (auto* error = std::get_if<TweakFileError>(&parsed)) return *error;
        tweak.lines.push_back(std::move(std::get<TweakLine>(parsed)));
    }
    return tweak;
}

}  // namespace thornbeck
