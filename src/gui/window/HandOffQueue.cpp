#include "gui/window/HandOffQueue.h"

#include <QApplication>

#include "gui/window/MainWindow.h"

namespace thornbeck {

HandOffQueue::HandOffQueue(MainWindow& window, QObject* parent) : QObject(parent), window(window) {
    retry.setSingleShot(true);
    retry.setInterval(200);
    connect(&retry, &QTimer::timeout, this, &HandOffQueue::handleNext);
}

void HandOffQueue::push(const QString& path) {
    queue.push_back(path);
    handleNext();
}

void HandOffQueue::handleNext() {
    // One at a time: a hand-off that comes while one is handled waits for the loop below.
    if (handling) return;
    if (QApplication::activeModalWidget()) {
        retry.start();
        return;
    }
    handling = true;
    while (!queue.empty()) {
        const QString path = queue.front();
        queue.pop_front();
        if (window.isMinimized()) window.showNormal();
        window.raise();
        window.activateWindow();
        // After the unsaved-changes question, as any open.
        if (!path.isEmpty()) window.openFile(path);
    }
    handling = false;
}

}  // namespace thornbeck
