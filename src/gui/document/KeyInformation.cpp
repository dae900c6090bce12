#include "gui/document/KeyInformation.h"

#include "core/fileio/FileFunctions.h"
#include "core/keyinfo/TypicalValue.h"
#include "gui/text/Latin1Text.h"
#include "gui/text/PathText.h"

namespace thornbeck {

KeyInformation KeyInformation::LoadFrom(const QString& folder) {
    KeyInformation loaded;
    const auto path = FindFileInFolder(ToFsPath(folder), "xRegistry_info.txt");
    if (path.empty()) return loaded;
    const std::vector<uint8_t> bytes = ReadWholeFile(path);
    loaded.table = KeyInfoTable::Parse(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    return loaded;
}

KeyInformation::Texts KeyInformation::of(std::string_view key) const {
    Texts texts;
    const KeyInfoTable::Columns* columns = table.find(key);
    if (columns && columns->size() > 1) texts.description = ToQString((*columns)[1]);
    if (columns && columns->size() > 2) texts.typical = ToQString(TypicalValueText((*columns)[2]));
    return texts;
}

}  // namespace thornbeck
