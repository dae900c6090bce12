#pragma once

#include <QLockFile>
#include <QString>
#include <QStringList>
#include <memory>

namespace thornbeck {

// Holds the lock that makes this the only running copy; nothing when another copy holds it. A
// lock left behind by a copy that crashed is taken over.
std::unique_ptr<QLockFile> TakeInstanceLock(const QString& lockFolder);
// The folder the lock lives in: the user's runtime folder, else the temporary folder.
QString DefaultLockFolder();
// The path named on the command line: the arguments after the program's name that Qt has not
// taken, joined with spaces, without enclosing quotes.
QString CommandLinePath(const QStringList& arguments);
// Starts the program: when another copy runs, hands it the file named on the command line and
// ends; else shows the window until it closes, and takes the files later launches hand over.
int RunThornbeck(int argc, char** argv);

}  // namespace thornbeck
