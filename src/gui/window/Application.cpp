#include "gui/window/Application.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QStandardPaths>

#include "core/fileio/PathFunctions.h"
#include "gui/text/Latin1Text.h"
#include "gui/text/PathText.h"
#include "gui/window/MainWindow.h"

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
    return FromPathText(StripQuotes(ToPathText(arguments.mid(1).join(' '))));
}

int RunThornbeck(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Thornbeck"));
    app.setWindowIcon(QIcon(QStringLiteral(":/thornbeck.svg")));
    const auto lock = TakeInstanceLock(DefaultLockFolder());
    if (!lock) return 0;
    MainWindow window;
    window.show();
    window.start(CommandLinePath(QCoreApplication::arguments()),
                 QCoreApplication::applicationDirPath() + '/');
    return QApplication::exec();
}

}  // namespace thornbeck
