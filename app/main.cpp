// Sumvarl: arithmetic worksheets for primary school. Starts with the settings window.
//
// With --timing the program prints, on standard error, how long it took from launch to the
// settings window being painted and from each press of Start to the worksheet drawn.

#include "forms/frmDisplay.h"
#include "forms/frmMain.h"
#include "print/PainterSurface.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QPushButton>
#include <QTextStream>

namespace {

// Reports the first paint of the settings window and the builds that follow a Start.
class TimingReport final : public QObject
{
public:
    TimingReport(const QElapsedTimer& launch, sumvarl::frmMain& window)
        : QObject(&window), launch_(launch), window_(window)
    {
        window.installEventFilter(this);
        auto* start = window.findChild<QPushButton*>(QStringLiteral("Command1"));
        // Connected after the window's own handler, so the worksheet window exists here.
        connect(start, &QPushButton::clicked, this, [this] {
            startPressed_.start();
            sumvarl::frmDisplay* display = window_.Display();
            if (display != nullptr && display != watched_) {
                watched_ = display;
                connect(display, &sumvarl::frmDisplay::worksheetBuilt, this, [this] {
                    if (startPressed_.isValid()) {
                        Print(QStringLiteral("Start to worksheet drawn"), startPressed_);
                        startPressed_.invalidate();
                    }
                });
            }
        });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!painted_ && watched == &window_ && event->type() == QEvent::Paint) {
            painted_ = true;
            Print(QStringLiteral("launch to settings window painted"), launch_);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    static void Print(const QString& what, const QElapsedTimer& since)
    {
        QTextStream(stderr) << "sumvarl timing: " << what << ": "
                            << static_cast<double>(since.nsecsElapsed()) / 1e6 << " ms\n";
    }

    const QElapsedTimer& launch_;
    sumvarl::frmMain& window_;
    QElapsedTimer startPressed_;
    QObject* watched_ = nullptr;
    bool painted_ = false;
};

} // namespace

int main(int argc, char* argv[])
{
    QElapsedTimer launch;
    launch.start();
    QApplication app(argc, argv);
    // Closing the settings window alone leaves the worksheet window running; the program ends
    // when no window is left.
    QApplication::setQuitOnLastWindowClosed(true);
    sumvarl::InstallFontSubstitutions();

    sumvarl::frmMain window;
    if (QCoreApplication::arguments().contains(QStringLiteral("--timing"))) {
        new TimingReport(launch, window);
    }
    sumvarl::CenterOnScreen(window);
    window.show();
    return QApplication::exec();
}
