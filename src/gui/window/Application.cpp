#include "gui/window/Application.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QStandardPaths>
#include <QThread>
#include <cstdio>

#include "core/fileio/PathFunctions.h"
#include "core/version/ProgramVersion.h"
#include "gui/text/Latin1Text.h"
#include "gui/text/PathText.h"
#include "gui/window/HandOffQueue.h"
#include "gui/window/InstanceServer.h"
#include "gui/window/MainWindow.h"
#include "gui/window/ProgramOptions.h"

namespace thornbeck {

QString DefaultLockFolder() {
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QDir::tempPath() : runtime;
}

std::unique_ptr<QLockFile> TakeInstanceLock(const QString& lockFolder) {
    auto lock =
        std::make_unique<QLockFile>(QDir(lockFolder).filePath(QStringLiteral("thornbeck.lock")));
    // A running copy holds the lock however long it runs; only a dead owner makes it stale.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) return nullptr;
    return lock;
}

QString CommandLinePath(const QStringList& arguments) {
    QStringList rest = arguments.mid(1);
    if (!rest.isEmpty() && rest.front() == QStringLiteral("--")) rest.removeFirst();
    return FromPathText(StripQuotes(ToPathText(rest.join(' '))));
}

namespace {
int Answer(const OptionAnswer& answer) {
    const QByteArray text = answer.text.toLocal8Bit();
    std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()),
                answer.exitCode == 0 ? stdout : stderr);
    return answer.exitCode;
}
}  // namespace

int RunThornbeck(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    // Before Qt: --help and --version need no display.
    if (const auto answer = EarlyOptionAnswer(arguments)) return Answer(*answer);
    QApplication app(argc, argv);
    if (const auto answer = RemainingOptionAnswer(QCoreApplication::arguments()))
        return Answer(*answer);
    app.setApplicationName(QString::fromUtf8(ProgramName()));
#ifndef _WIN32
    // Windows takes the icon from the program's resources.
    app.setWindowIcon(QIcon(QStringLiteral(":/thornbeck.svg")));
#endif
    const QString lockFolder = DefaultLockFolder();
    const QString socketName = InstanceServer::nameIn(lockFolder);
    const QString path = CommandLinePath(QCoreApplication::arguments());
    const auto lock = TakeInstanceLock(lockFolder);
    if (!lock) {
        // Another copy runs: it takes the file (an absolute path, its folder may differ) and
        // comes to the front. Its server may still be starting, so ask a few times.
        const QString handed = path.isEmpty() ? path : QFileInfo(path).absoluteFilePath();
        for (int attempt = 0; attempt < 20; ++attempt) {
            if (InstanceServer::handOver(socketName, handed, 1000)) return 0;
            QThread::msleep(250);
        }
        std::fputs("thornbeck: another copy is running but does not answer\n", stderr);
        return 1;
    }
    MainWindow window;
    InstanceServer server(socketName);
    HandOffQueue handOffs(window);
    QObject::connect(&server, &InstanceServer::requested, &handOffs, &HandOffQueue::push);
    server.listen();
    window.show();
    window.start(path, QCoreApplication::applicationDirPath() + '/');
    return QApplication::exec();
}

}  // namespace thornbeck
