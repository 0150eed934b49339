#pragma once

// A window's print job while it runs: one at a time, the print button off and saying so, the
// pointer busy. The job runs off the window's thread, so the window keeps painting and taking
// input. Its failure is shown when it ends; a window closed before then takes the watch with
// it, and the job ends in the background with nobody to tell.

#include "print/PrintResult.h"

#include <QFutureWatcher>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class QPushButton;
class QWidget;

namespace sumvarl {

class PrintJobWatch final : public QObject
{
    Q_OBJECT
public:
    // Both belong to the same window, which owns the watch.
    PrintJobWatch(QWidget& window, QPushButton& button);

    bool Busy() const { return busy_; }
    // Follows the job; a failure is shown under title. A job that has already ended is shown at
    // once. Where there is no printer the message offers 保存为 PDF…, which runs savePdf.
    void Follow(const QFuture<PrintOutcome>& job, const QString& title,
                std::function<void()> savePdf = {});

private:
    void SetBusy(bool busy);
    void End();

    QWidget& window_;
    QPushButton& button_;
    QString buttonText_;
    QString title_;
    std::function<void()> savePdf_;
    bool busy_ = false;
    QFuture<PrintOutcome> job_;
    QPointer<QWidget> focusHandedTo_;
    QFutureWatcher<PrintOutcome> watcher_;
};

} // namespace sumvarl
