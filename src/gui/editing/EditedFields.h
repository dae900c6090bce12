#pragma once

#include <QString>
#include <array>
#include <optional>
#include <string>

#include "core/edit/DetailField.h"
#include "core/edit/EntryTexts.h"
#include "core/edit/ModifyEntry.h"
#include "core/format/RegistryFormat.h"

namespace thornbeck {

// The eight field texts of the entry the panel shows, as the user edits them, with the input
// rules that act while they type: each field's length, the Data Size that limits the Value
// (cutting what it no longer reaches, and bringing it back when the size grows again before the
// value itself is edited), and whether anything differs from the entry as shown. No widget: the
// panel shows these texts, and tests drive it alone.
//
// A Binary or String value is held without the zero bytes that pad it: Modify fills the rest of
// the value with zeros, so the bytes are the same, and the free room is said beside the field.
class EditedFields {
public:
    // An entry as DescribeEntry gives it, of `size` value bytes.
    void load(const EntryDisplay& shown, int32_t size);
    // Nothing shown: a folder, or no file.
    void clear();

    const QString& text(int field) const { return texts[static_cast<size_t>(field)]; }
    std::optional<format::DataType> type() const { return dataType; }
    bool isEntry() const { return entryShown; }
    bool isInteger() const { return dataType == format::DataType::Integer; }
    int32_t entrySize() const { return size; }
    // How many characters the Value field takes now.
    int valueLimit() const { return limit; }
    int limitOf(int field) const;

    struct Outcome {
        bool cut = false;  // the text given was longer than the field takes
    };
    // The user (or the hex view) made field `field` read `text`: the rules act on it and on the
    // fields it drives. text() then holds what each field shows.
    Outcome edit(int field, const QString& text);
    // Puts every field back as the entry shows it.
    void revert();

    // Some field's text differs from the entry as shown: there is something to apply.
    bool differs() const;
    // Modify can write the fields: an entry of a known data type whose fields differ.
    bool canApply() const { return dataType.has_value() && differs(); }
    ModifyRequest request() const;

    // The bytes the Value field stands for, as Modify would write them: a Binary or String value
    // padded with zeros to the size, an Integer's number in its bytes.
    std::string valueBytes() const;
    // Zero bytes that pad a Binary or String value after its text.
    int freeBytes() const;
    // The Integer value's number as typed, when its digits are hex and fit.
    std::optional<uint32_t> integerNumber() const;

private:
    void cutValueToLimit();

    std::array<QString, kDetailFieldCount> texts;
    std::array<QString, kDetailFieldCount> shownTexts;
    std::optional<format::DataType> dataType;
    bool entryShown = false;
    int32_t size = 0;
    int limit = 0;
    QString uncutValue;  // the value before a typed size cut it; null when nothing is cut
};

// A Binary or String value's text without the zero bytes at its end.
QString WithoutPadding(const QString& value);

}  // namespace thornbeck
