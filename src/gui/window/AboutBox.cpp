#include "gui/window/AboutBox.h"

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
    return QStringLiteral("Thornbeck v%1.%2.%3\r\n\r\n%4")
        .arg(THORNBECK_VERSION_MAJOR)
        .arg(THORNBECK_VERSION_MINOR)
        .arg(THORNBECK_VERSION_PATCH)
        .arg(CopyrightLine());
}

}  // namespace thornbeck
