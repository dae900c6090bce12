// Places the controls by a fixed rule on every resize: the details panel keeps its width against
// the right edge, the tree takes the rest, the button and credits hang from the bottom.
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>

#include "gui/widgets/DetailsPanel.h"
#include "gui/window/MainWindow.h"

namespace thornbeck {

namespace {
constexpr int kPanelWidth = 437;  // the width of the key text box, which never changes
constexpr int kKeyTop = 6, kKeyHeight = 19;
constexpr int kSeparatorWidth = 441, kSeparatorHeight = 3;
constexpr int kButtonWidth = 99, kButtonHeight = 32;
constexpr int kCreditsWidth = 169, kCreditsHeight = 15;
}  // namespace

void MainWindow::place(QWidget* control, int left, int top, int width, int height) {
    if (width < 0 || height < 0) return;
    control->setGeometry(left, top, width, height);
}

void MainWindow::LayoutWindow() {
    const int w = client->width();
    const int h = client->height();
    place(tvReg, 0, 0, w - kPanelWidth - 8, h);
    const int left = w - kPanelWidth - 4;
    place(lblKey, left, kKeyTop, kPanelWidth, kKeyHeight);
    const int separatorTop = h - kButtonHeight - 8;
    place(frmSep, left, separatorTop, kSeparatorWidth, kSeparatorHeight);
    const int buttonTop = h - kButtonHeight - 4;
    place(btnSave, w - kButtonWidth - 4, buttonTop, kButtonWidth, kButtonHeight);
    place(lblCredits, left + 4, buttonTop + 8, kCreditsWidth, kCreditsHeight);
    const bool tree = !isListMode();
    details->layout(left, separatorTop, tree);
    frmSep->setVisible(tree);
    lblCredits->setVisible(tree);
    place(lvReg, 0, 0, w, h);
}

}  // namespace thornbeck
