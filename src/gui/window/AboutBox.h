#pragma once

#include <QString>

namespace thornbeck {

// The maker's copyright line, shown in the About box and by the credits label.
QString CopyrightLine();
// The project's web page, which the credits label opens.
QString HomePage();
// The About box's title: "About Thornbeck".
QString AboutTitle();
// "Thornbeck v1.0.0", an empty line and the copyright line, lines ended by CR LF.
QString AboutText();

}  // namespace thornbeck
