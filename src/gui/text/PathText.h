#pragma once

#include <QString>
#include <filesystem>
#include <string>
#include <string_view>

// Paths are not byte texts: they convert as the platform's file names, so that a folder named in
// Cyrillic or Japanese reaches the core intact.
namespace thornbeck {

std::filesystem::path ToFsPath(const QString& path);
// A path text as the core's path helpers take it (UTF-8) and back.
std::string ToPathText(const QString& path);
QString FromPathText(std::string_view path);

}  // namespace thornbeck
