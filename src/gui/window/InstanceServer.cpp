#include "gui/window/InstanceServer.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

namespace thornbeck {

InstanceServer::InstanceServer(QString name, QObject* parent)
    : QObject(parent), name(std::move(name)), server(new QLocalServer(this)) {
    connect(server, &QLocalServer::newConnection, this, &InstanceServer::readRequest);
}

QString InstanceServer::nameIn(const QString& folder) {
#ifdef _WIN32
    // A named pipe, not a path: one per user.
    (void)folder;
    return QStringLiteral("thornbeck-") + qEnvironmentVariable("USERNAME");
#else
    return QDir(folder).filePath(QStringLiteral("thornbeck.socket"));
#endif
}

bool InstanceServer::listen() {
    QLocalServer::removeServer(name);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    return server->listen(name);
}

void InstanceServer::readRequest() {
    while (QLocalSocket* client = server->nextPendingConnection()) {
        connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        // The request is one line, the path in UTF-8, sent whole before the client disconnects.
        const auto handle = [this, client] {
            if (!client->canReadLine()) return;
            const QString path = QString::fromUtf8(client->readLine()).chopped(1);
            client->disconnect(this);
            client->disconnectFromServer();
            emit requested(path);
        };
        connect(client, &QLocalSocket::readyRead, this, handle);
        handle();
    }
}

bool InstanceServer::handOver(const QString& name, const QString& path, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(timeoutMs)) return false;
    socket.write(path.toUtf8() + '\n');
    if (!socket.waitForBytesWritten(timeoutMs)) return false;
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(timeoutMs);
    return true;
}

}  // namespace thornbeck
