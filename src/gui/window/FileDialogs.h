#pragma once

#include <QString>

class QWidget;

// The standard file dialogs. Both take a filter in QFileDialog's form ("Name (*.ext);;All files
// (*)") and return the chosen path, or "" when the user cancels.
namespace thornbeck {

// For choosing an existing file.
QString ShowOpenDialog(QWidget* owner, const QString& filter, const QString& title,
                       const QString& initialFolder, const QString& defaultName);
// For choosing a file to write: asks before overwriting, and adds the first filter's extension to a
// name typed without one.
QString ShowSaveDialog(QWidget* owner, const QString& filter, const QString& title,
                       const QString& initialFolder, const QString& defaultName);

}  // namespace thornbeck
