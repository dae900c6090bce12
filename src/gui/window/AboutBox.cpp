#include "gui/window/AboutBox.h"

#include "core/version/ProgramVersion.h"

namespace thornbeck {

QString CopyrightLine() {
    return QStringLiteral("\u00A9 2026 Thornbeck developers");
}

QString HomePage() {
    return QStringLiteral(THORNBECK_HOMEPAGE);
}

QString AboutTitle() {
    return QStringLiteral("About Thornbeck");
}

QString AboutText() {
    return QStringLiteral("%1 v%2\r\n\r\n%3")
        .arg(QString::fromUtf8(ProgramName()), QString::fromUtf8(ProgramVersion()),
             CopyrightLine());
}

}  // namespace thornbeck
