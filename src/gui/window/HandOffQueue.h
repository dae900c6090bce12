#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <deque>

namespace thornbeck {

class MainWindow;

// The files later launches hand to the running window, opened one at a time in the order they
// came. A hand-off that arrives while a question is open (the window's own or an earlier
// hand-off's) waits until it is answered, so no answer ever applies to another file.
class HandOffQueue : public QObject {
    Q_OBJECT
public:
    explicit HandOffQueue(MainWindow& window, QObject* parent = nullptr);

    // `path` ("" only brings the window to the front) joins the queue.
    void push(const QString& path);
    int waiting() const { return static_cast<int>(queue.size()); }

private:
    void handleNext();

    MainWindow& window;
    std::deque<QString> queue;
    bool handling = false;
    // While a dialog is open, looks again a little later: nothing says when it closes.
    QTimer retry;
};

}  // namespace thornbeck
