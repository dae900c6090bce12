// The panel's typing rules, driven without a widget.
#include <gtest/gtest.h>

#include "gui/editing/EditedFields.h"

namespace thornbeck::test {
namespace {

EntryDisplay StringEntry(const std::string& value) {
    EntryDisplay shown;
    shown.type = format::DataType::String;
    shown.texts = {
        value, std::to_string(value.size()), "String", "0000", "0000", "000100", "000020", "0000"};
    return shown;
}

TEST(EditedFields, ASizeCutsTheValueAndALargerOneBringsItBackUntilTheValueIsEdited) {
    EditedFields fields;
    fields.load(StringEntry(std::string("ten bytes!", 10)), 10);
    EXPECT_FALSE(fields.differs());
    fields.edit(kDataSizeField, "1");
    EXPECT_EQ(fields.text(kValueField), "t");
    fields.edit(kDataSizeField, "10");
    EXPECT_EQ(fields.text(kValueField), "ten bytes!");
    EXPECT_FALSE(fields.differs());  // back as shown
    fields.edit(kDataSizeField, "3");
    fields.edit(kValueField, "te");
    fields.edit(kDataSizeField, "10");
    EXPECT_EQ(fields.text(kValueField), "te");
    EXPECT_TRUE(fields.differs());
}

TEST(EditedFields, ASizeModifyCannotWriteCutsNothing) {
    EditedFields fields;
    fields.load(StringEntry("ten bytes!"), 10);
    for (const char* size : {"99999", "", "1A"}) {
        fields.edit(kDataSizeField, QString::fromLatin1(size));
        EXPECT_EQ(fields.text(kValueField), "ten bytes!") << size;
        EXPECT_EQ(fields.valueBytes(), "ten bytes!") << size;
    }
}

TEST(EditedFields, PaddingIsHeldApartAndWrittenAsTheBytesWere) {
    EditedFields fields;
    fields.load(StringEntry(std::string("PS3\0\0\0\0\0", 8)), 8);
    EXPECT_EQ(fields.text(kValueField), "PS3");
    EXPECT_EQ(fields.freeBytes(), 5);
    EXPECT_EQ(fields.valueBytes(), std::string("PS3\0\0\0\0\0", 8));
    fields.edit(kValueField, "PS3-NEW!");
    EXPECT_EQ(fields.freeBytes(), 0);
    EXPECT_TRUE(fields.canApply());
    fields.revert();
    EXPECT_FALSE(fields.differs());
    EXPECT_EQ(fields.text(kValueField), "PS3");
}

TEST(EditedFields, AnIntegerKeepsItsLimitAndSaysItsNumber) {
    EditedFields fields;
    EntryDisplay shown = StringEntry("0000003C");
    shown.type = format::DataType::Integer;
    shown.texts[kDataTypeField] = "Integer";
    fields.load(shown, 4);
    EXPECT_EQ(fields.valueLimit(), 8);
    EXPECT_EQ(fields.integerNumber(), 60u);
    fields.edit(kValueField, "7F");
    EXPECT_EQ(fields.integerNumber(), 127u);
    EXPECT_EQ(fields.valueBytes(), std::string("\0\0\0\x7F", 4));
    fields.edit(kValueField, "G1");
    EXPECT_FALSE(fields.integerNumber().has_value());
}

}  // namespace
}  // namespace thornbeck::test
