#include "gui/window/FailureBarrier.h"

#include <QObject>
#include <exception>
#include <new>

#include "core/version/ProgramVersion.h"
#include "gui/window/Prompts.h"

namespace thornbeck {

FailureBarrier::FailureBarrier(Prompts& prompts, QWidget* dialogOwner, StatusSink status)
    : prompts(prompts), dialogOwner(dialogOwner), status(std::move(status)) {}

bool FailureBarrier::run(const QString& doing, const std::function<void()>& command) noexcept {
    try {
        command();
        return true;
    } catch (const std::bad_alloc&) {
        report(QObject::tr("Not enough memory to %1. The open file and its unsaved changes are "
                           "as they were.")
                   .arg(doing));
    } catch (const std::exception& error) {
        report(QObject::tr("Could not %1: %2. The open file and its unsaved changes are as they "
                           "were.")
                   .arg(doing, QString::fromLocal8Bit(error.what())));
    } catch (...) {
        report(QObject::tr("Could not %1. The open file and its unsaved changes are as they were.")
                   .arg(doing));
    }
    return false;
}

void FailureBarrier::report(const QString& text) noexcept {
    // Saying it may itself run short of memory; then the program still goes on, unsaid.
    try {
        if (status) status(text);
        prompts.message(dialogOwner, QMessageBox::Warning, QString::fromUtf8(ProgramName()), text,
                        QMessageBox::Ok);
    } catch (...) {
    }
}

}  // namespace thornbeck
