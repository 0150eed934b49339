#include "forms/PrintJobWatch.h"

#include "forms/FormHooks.h"
#include "wording/Messages.h"

#include <QApplication>
#include <QPushButton>
#include <QWidget>

namespace sumvarl {

namespace {

const QString PrintingText = QStringLiteral("正在打印…");

} // namespace

PrintJobWatch::PrintJobWatch(QWidget& window, QPushButton& button)
    : QObject(&window), window_(window), button_(button)
{
    connect(&watcher_, &QFutureWatcherBase::finished, this, &PrintJobWatch::End);
}

void PrintJobWatch::Follow(const QFuture<PrintOutcome>& job, const QString& title,
                           std::function<void()> savePdf)
{
    if (busy_) {
        return;
    }
    title_ = title;
    savePdf_ = std::move(savePdf);
    job_ = job;
    if (job.isFinished()) {
        // Nothing to wait for (the module could not be loaded): the button stays as it is.
        End();
        return;
    }
    SetBusy(true);
    watcher_.setFuture(job);
}

void PrintJobWatch::SetBusy(bool busy)
{
    busy_ = busy;
    if (busy) {
        buttonText_ = button_.text();
        button_.setText(PrintingText);
        const bool hadFocus = button_.hasFocus();
        button_.setEnabled(false);
        // A disabled button hands its focus on; it is given back at the end unless the person
        // has moved it meanwhile.
        focusHandedTo_ = hadFocus ? QApplication::focusWidget() : nullptr;
        // The arrow with the hourglass: busy, but the window still answers.
        window_.setCursor(Qt::BusyCursor);
    } else {
        button_.setText(buttonText_);
        button_.setEnabled(true);
        window_.unsetCursor();
        if (focusHandedTo_ != nullptr && QApplication::focusWidget() == focusHandedTo_) {
            button_.setFocus(Qt::OtherFocusReason);
        }
        focusHandedTo_ = nullptr;
    }
}

void PrintJobWatch::End()
{
    // A job without a result was given up on the way, which only the program's end does.
    const PrintOutcome outcome =
        job_.resultCount() > 0 ? job_.result() : PrintOutcome{PrintResult::JobFailed, {}};
    job_ = {};
    if (busy_) {
        SetBusy(false);
    }
    const QString message = PrintFailureMessage(outcome.result, outcome.reason);
    // The job may end while no window of the program is active; its message is still this
    // window's.
    const DialogOwnerScope owner(window_);
    if (outcome.result == PrintResult::NoDefaultPrinter && savePdf_) {
        // A copy: saving may start another job's watch.
        const std::function<void()> save = savePdf_;
        if (Hooks().messageBoxOffering(message, title_, QStringLiteral("保存为 PDF…"))) {
            save();
        }
    } else if (!outcome.Ok()) {
        Hooks().messageBox(message, title_);
    }
}

} // namespace sumvarl
