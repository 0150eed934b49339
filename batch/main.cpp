// sumvarl-batch: worksheets into PDF files without a window or a display.

#include "batch/BatchRun.h"
#include "print/PainterSurface.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QTextStream>
#include <cstdio>

int main(int argc, char** argv)
{
    // Nothing is shown, so no display is needed: the offscreen platform unless the caller
    // chose another one.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    }
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("sumvarl-batch"));
    QGuiApplication::setApplicationVersion(QStringLiteral(SUMVARL_VERSION));
    sumvarl::InstallFontSubstitutions();

    QTextStream out(stdout);
    QTextStream err(stderr);
    return sumvarl::batch::BatchMain(QGuiApplication::arguments(), out, err);
}
