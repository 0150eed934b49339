// The baseline for start-up: an empty Qt window of the settings window's size, nothing else.

#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("EmptyQt"));
    window.resize(539, 339);
    window.show();
    return QApplication::exec();
}
