// The floor for start-up: a window of the settings window's size that shows the same two faces
// as it, the red title in the brush face and one line of the window's bold sans text with the
// window's characters. Any window showing this text must open these fonts and draw these glyphs.

#include <QApplication>
#include <QLabel>
#include <QPalette>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("FloorQt"));
    window.resize(539, 339);

    auto* title = new QLabel(QStringLiteral("Sumvarl出题系统"), &window);
    QFont brush(QStringLiteral("AR PL UKai CN"));
    brush.setPointSizeF(26.25);
    brush.setBold(true);
    title->setFont(brush);
    QPalette red = title->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    title->setPalette(red);
    title->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    title->setGeometry(32, 8, 473, 57);

    auto* line = new QLabel(
        QStringLiteral("选择类别 加减乘除法 填空 占用比例 难度以内 题数 开始退出 版本 2.0"),
        &window);
    QFont sans(QStringLiteral("WenQuanYi Zen Hei"));
    sans.setPointSizeF(12);
    sans.setBold(true);
    line->setFont(sans);
    line->setGeometry(16, 160, 507, 24);

    window.show();
    return QApplication::exec();
}
