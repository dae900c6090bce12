#include "gui/editing/EditedFields.h"

#include "core/edit/FieldRules.h"
#include "core/edit/HexText.h"
#include "gui/text/Latin1Text.h"

namespace thornbeck {

QString WithoutPadding(const QString& value) {
    qsizetype end = value.size();
    while (end > 0 && value[end - 1] == QChar(0)) --end;
    return value.left(end);
}

void EditedFields::load(const EntryDisplay& shown, int32_t entrySize) {
    entryShown = true;
    dataType = shown.type;
    size = entrySize;
    for (int i = 0; i < kDetailFieldCount; ++i)
        texts[static_cast<size_t>(i)] = ToQString(shown.texts[static_cast<size_t>(i)]);
    if (!isInteger()) texts[kValueField] = WithoutPadding(texts[kValueField]);
    limit = isInteger() ? field_rules::kIntegerDigits : size;
    uncutValue = QString();
    shownTexts = texts;
}

void EditedFields::clear() {
    *this = EditedFields();
}

int EditedFields::limitOf(int field) const {
    return LengthLimitOf(field, limit);
}

EditedFields::Outcome EditedFields::edit(int field, const QString& text) {
    if (!entryShown || field < 0 || field >= kDetailFieldCount) return {};
    Outcome outcome;
    const int most = limitOf(field);
    outcome.cut = text.size() > most;
    texts[static_cast<size_t>(field)] = text.left(most);
    if (field == kValueField) {
        uncutValue = QString();  // the user's own edit of the value ends what a size cut kept
    } else if (field == kDataSizeField && !isInteger()) {
        // The limit is the size Modify would write. A text it refuses cuts nothing: the value
        // keeps the room the entry has until a size it can write is typed.
        limit = DataSizeOfText(ToByteText(texts[kDataSizeField])).value_or(size);
        cutValueToLimit();
    }
    return outcome;
}

void EditedFields::cutValueToLimit() {
    // The value as it was before any size typed since cut it, so that typing "14" over "10",
    // which passes through "1", brings back what "1" cut.
    const QString whole = uncutValue.isNull() ? texts[kValueField] : uncutValue;
    uncutValue = whole.size() > limit ? whole : QString();
    texts[kValueField] = whole.left(limit);
}

void EditedFields::revert() {
    texts = shownTexts;
    limit = isInteger() ? field_rules::kIntegerDigits : size;
    uncutValue = QString();
}

bool EditedFields::differs() const {
    return entryShown && texts != shownTexts;
}

ModifyRequest EditedFields::request() const {
    ModifyRequest request;
    for (int i = 0; i < kDetailFieldCount; ++i)
        request.texts[static_cast<size_t>(i)] = ToByteText(texts[static_cast<size_t>(i)]);
    request.type = dataType;
    request.valueIsLatin1 = IsByteText(texts[kValueField]);
    return request;
}

std::string EditedFields::valueBytes() const {
    const std::string text = ToByteText(texts[kValueField]);
    if (isInteger()) {
        const std::vector<uint8_t> number = HexFieldBytes(IntegerDigits(text, size), size);
        return {number.begin(), number.end()};
    }
    std::string bytes = text.substr(0, static_cast<size_t>(std::max(limit, 0)));
    bytes.resize(static_cast<size_t>(std::max(limit, 0)), '\0');
    return bytes;
}

int EditedFields::freeBytes() const {
    if (!entryShown || isInteger()) return 0;
    return std::max(0, limit - static_cast<int>(texts[kValueField].size()));
}

std::optional<uint32_t> EditedFields::integerNumber() const {
    if (!isInteger()) return std::nullopt;
    const std::string text = ToByteText(texts[kValueField]);
    if (!IsHexFieldText(text, 4)) return std::nullopt;
    return static_cast<uint32_t>(std::stoul(text, nullptr, 16));
}

}  // namespace thornbeck
