#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace thornbeck {

// What the command line asks of the program besides a file to open: --help and --version are
// answered before Qt starts, so they need no display; an option nobody knows is an error.
struct OptionAnswer {
    int exitCode;  // 0 for --help and --version, 2 for an unknown option
    QString text;  // for stdout when 0, for stderr otherwise
};

// The answer to `arguments` (the program's name first) before Qt has seen them: --help, -h,
// --version, or an unknown option of two dashes. Nothing when the window should start.
std::optional<OptionAnswer> EarlyOptionAnswer(const QStringList& arguments);
// The answer once Qt has taken its own options (-platform, -style, ...): any other option before
// "--" is unknown. Nothing when the rest names a file, or nothing.
std::optional<OptionAnswer> RemainingOptionAnswer(const QStringList& arguments);
// "thornbeck 1.0.0".
QString VersionLine();

}  // namespace thornbeck
