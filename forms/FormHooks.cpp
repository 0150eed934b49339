#include "forms/FormHooks.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>
#include <QWidget>

namespace sumvarl {

namespace {

void ShowStopMessage(const QString& prompt, const QString& title)
{
    QMessageBox box(QMessageBox::Critical, title, prompt, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

// close() would run the windows' close handlers and let a deferred delete or a queued timer
// tick still happen; hiding them and leaving every event loop ends the program at once.
void ExitAtOnce()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        window->hide();
    }
    QCoreApplication::exit(0);
}

} // namespace

FormHooks DefaultFormHooks()
{
    FormHooks hooks;
    hooks.messageBox = ShowStopMessage;
    hooks.exitProgram = ExitAtOnce;
    hooks.print = [] { return PrintOnDefaultPrinter(); };
    return hooks;
}

FormHooks& Hooks()
{
    static FormHooks hooks = DefaultFormHooks();
    return hooks;
}

} // namespace sumvarl
