#include "gui/window/ProgramOptions.h"

#include "core/version/ProgramVersion.h"

namespace thornbeck {

namespace {
QString UsageText() {
    return QStringLiteral(
        "Usage: thornbeck [OPTION]... [FILE]\n"
        "Opens FILE, a dump of the PlayStation 3's xRegistry.sys, in the Thornbeck editor;\n"
        "without FILE, the xRegistry.sys beside the program if there is one.\n"
        "\n"
        "  -h, --help     show this help and exit\n"
        "      --version  show the version and exit\n"
        "      --         take what follows as the file's path, even if it starts with -\n"
        "\n"
        "Qt's own options, such as -platform offscreen, are taken as well.\n"
        "thornbeck-cli does the same work from the command line: thornbeck-cli --help.\n");
}

OptionAnswer Unknown(const QString& option) {
    return {2,
            QStringLiteral("thornbeck: unknown option %1\nTry 'thornbeck --help'.\n").arg(option)};
}
}  // namespace

QString VersionLine() {
    return QString::fromStdString(VersionLineOf("thornbeck"));
}

std::optional<OptionAnswer> EarlyOptionAnswer(const QStringList& arguments) {
    for (const QString& argument : arguments.mid(1)) {
        if (argument == QStringLiteral("--")) return std::nullopt;
        if (argument == QStringLiteral("--help") || argument == QStringLiteral("-h"))
            return OptionAnswer{0, UsageText()};
        if (argument == QStringLiteral("--version")) return OptionAnswer{0, VersionLine() + '\n'};
        if (argument.startsWith(QStringLiteral("--"))) return Unknown(argument);
    }
    return std::nullopt;
}

std::optional<OptionAnswer> RemainingOptionAnswer(const QStringList& arguments) {
    for (const QString& argument : arguments.mid(1)) {
        if (argument == QStringLiteral("--")) return std::nullopt;
        if (argument.startsWith('-') && argument.size() > 1) return Unknown(argument);
    }
    return std::nullopt;
}

}  // namespace thornbeck
