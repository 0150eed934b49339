// Sumvarl: arithmetic worksheets for primary school. Starts with the settings window.

#include "forms/Translations.h"
#include "forms/frmMain.h"
#include "print/PainterSurface.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // Closing the settings window alone leaves the worksheet window running; the program ends
    // when no window is left.
    QApplication::setQuitOnLastWindowClosed(true);
    sumvarl::InstallFontSubstitutions();
    sumvarl::InstallQtTranslations(app);

    sumvarl::frmMain window;
    sumvarl::CenterOnScreen(window);
    window.show();
    return QApplication::exec();
}
