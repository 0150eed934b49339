// sumvarl-batch: worksheets into PDF files without a window or a display.

#include "batch/BatchRun.h"
#include "print/PainterSurface.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QList>
#include <QTextStream>
#include <cstdio>
#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

QtMessageHandler qtHandler = nullptr;

void QuietRuntimeDirWarning(QtMsgType type, const QMessageLogContext& context,
                            const QString& message)
{
    if (!message.contains(QLatin1String("XDG_RUNTIME_DIR"))) {
        qtHandler(type, context, message);
    }
}

#ifdef Q_OS_WIN
// The messages are written as UTF-8, which a console shows in its own code page (936 on a
// Chinese Windows) as nonsense; the console reads UTF-8 while the program runs, then as before.
class Utf8Console
{
public:
    Utf8Console()
    {
        if (previous_ != 0) {
            ::SetConsoleOutputCP(CP_UTF8);
        }
    }
    ~Utf8Console()
    {
        if (previous_ != 0) {
            ::SetConsoleOutputCP(previous_);
        }
    }
    Utf8Console(const Utf8Console&) = delete;
    Utf8Console& operator=(const Utf8Console&) = delete;

private:
    const UINT previous_ = ::GetConsoleOutputCP(); // 0 without a console
};
#endif

} // namespace

int main(int argc, char** argv)
{
#ifdef Q_OS_WIN
    const Utf8Console console; // first, so that it outlasts the streams' last flush
#endif
    // Nothing is shown, so no display is needed: the offscreen platform unless the caller
    // chose another one. Windows' own platform needs no display server, and only it reads the
    // system's fonts there (Qt's offscreen platform looks for font files in Qt's own folder).
#ifndef Q_OS_WIN
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    }
#endif
    // Without a desktop session Qt warns on start-up that XDG_RUNTIME_DIR is not set, although
    // nothing here needs that folder; on a plain terminal the warning looks like a fault.
    qtHandler = qInstallMessageHandler(QuietRuntimeDirWarning);
    QGuiApplication app(argc, argv);
    qInstallMessageHandler(qtHandler);
    QGuiApplication::setApplicationName(QStringLiteral("sumvarl-batch"));
    QGuiApplication::setApplicationVersion(QStringLiteral(SUMVARL_VERSION));
    sumvarl::InstallFontSubstitutions();

    QTextStream out(stdout);
    QTextStream err(stderr);
#ifdef Q_OS_WIN
    // Windows gives a program its command line as UTF-16, which Qt's list keeps exactly; argv
    // holds it in the 8-bit code page, where a Chinese file name may already have become "?".
    return sumvarl::batch::BatchMain(QCoreApplication::arguments(), out, err);
#else
    // The arguments as the system's bytes: Qt's own list has already replaced bytes it could not
    // decode, and a path must name exactly the file given.
    QList<QByteArray> raw;
    for (int k = 0; k < argc; ++k) {
        raw << QByteArray(argv[k]);
    }
    return sumvarl::batch::BatchMain(raw, out, err);
#endif
}
