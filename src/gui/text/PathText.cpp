#include "gui/text/PathText.h"

namespace thornbeck {

std::filesystem::path ToFsPath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

std::string ToPathText(const QString& path) {
    return path.toStdString();
}

QString FromPathText(std::string_view path) {
    return QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size()));
}

}  // namespace thornbeck
