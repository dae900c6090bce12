#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace thornbeck {

// The running copy's ear for the next launch: the second launch hands its file (or nothing) over
// a local socket and exits, and the running window comes to the front and opens it.
class InstanceServer : public QObject {
    Q_OBJECT
public:
    explicit InstanceServer(QString name, QObject* parent = nullptr);

    // Starts listening. A socket that a crashed copy left behind is removed first; the caller
    // holds the instance lock, so no live copy listens on it.
    bool listen();

    // The second launch's side: sends `path` ("" to only bring the window to the front) to the
    // copy listening on `name`. False when no copy answered within `timeoutMs`.
    static bool handOver(const QString& name, const QString& path, int timeoutMs);
    // The name of the user's socket, in `folder` where the platform uses paths.
    static QString nameIn(const QString& folder);

signals:
    // A later launch asked for `path`, or only for the window ("").
    void requested(const QString& path);

private:
    void readRequest();

    QString name;
    QLocalServer* server;
};

}  // namespace thornbeck
