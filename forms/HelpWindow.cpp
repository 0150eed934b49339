#include "forms/HelpWindow.h"

#include "forms/ClassicControls.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QScrollArea>
#include <QShortcut>
#include <QVBoxLayout>

namespace sumvarl {

namespace {

const QString HelpText = QStringLiteral(
    "<h3>Sumvarl 出题系统</h3>"
    "<p><b>设置窗口</b>：勾选要练的运算和占用比例、填空题的比例，选难度（数的范围）和题数，按"
    "<b>开始</b>出一张题。左下角的“更多设置…”（或 Ctrl+M、右键菜单）里有进位、退位、乘法口诀、"
    "有余数的除法、题型（连加、带小括号、带中括号、竖式……）、竖式的纸（每页几题、方格、验算框）"
    "和年级与单元；“保存为我的设置…”把现在的"
    "设置存起来，以后在年级与单元的“我的设置”里选，也可以导出、导入到别的电脑。</p>"
    "<p><b>题目窗口</b>：显示出好的题。<b>打印</b>送到默认打印机，<b>重算</b>换一张新题，"
    "<b>放弃</b>关掉窗口。在题目上按右键（或菜单键、Shift+F10，或点右下角的“更多…”）打开菜单："
    "打印预览…（先看打出来的样子）、打印到…（选打印机、份数和页码）、打印答案、保存为 PDF…、"
    "答案保存为 PDF…、在屏幕上练习…（Ctrl+L）、今日练习…、批改纸质练习…。</p>"
    "<p><b>练习窗口</b>：孩子在屏幕上做题，第一次按键开始计时。回车或 Tab 到下一格，Shift+Tab "
    "回上一格，上下箭头换行，Ctrl+加号、Ctrl+减号调字的大小。<b>交卷</b>后批改、显示用时和得分；"
    "<b>再练错题</b>重做做错的题；<b>打印成绩</b>、<b>成绩保存为 PDF…</b>得到批改好的卷子。</p>"
    "<p><b>孩子的记录</b>：练习窗口上方选好孩子，每个答案都会记下来；“孩子…”里有掌握情况、进步、"
    "本周报告、导出答案和备份。<b>今日练习</b>先复习错题本里到期的题，<b>打印错题卷</b>（Ctrl+P）"
    "打出的卷子右下角印着卷号，竖式的卷子印在左下角。孩子在纸上做完后，在题目窗口的菜单或“孩子…”里"
    "点"
    "<b>批改纸质练习…</b>，输入卷号，点做错的题（或填上孩子写的答案），再点记录批改结果。</p>"
    "<p><b>文件</b>：孩子的记录存在主文件夹的 .local/share/sumvarl/history.sqlite3 里。PDF 只在你"
    "保存时写，默认放在“文档”文件夹（没有时放在主文件夹），"
    "文件名带日期，如“练习题-2026-12-08.pdf”。设置不会保存，程序关闭后恢复原样。</p>"
    "<p><b>按键</b>：F1 帮助，Esc 关闭本窗口。</p>");

QPointer<QWidget>& TheHelp()
{
    static QPointer<QWidget> help;
    return help;
}

class HelpWindow final : public QWidget
{
public:
    explicit HelpWindow(QWidget& owner) : QWidget(&owner, Qt::Dialog)
    {
        setObjectName(QStringLiteral("HelpWindow"));
        setWindowTitle(QStringLiteral("帮助"));
        setAttribute(Qt::WA_DeleteOnClose);
        auto* text = new QLabel(HelpText);
        text->setObjectName(QStringLiteral("HelpText"));
        text->setWordWrap(true);
        text->setTextFormat(Qt::RichText);
        text->setMargin(8);
        auto* scroll = new QScrollArea(this);
        scroll->setWidget(text);
        scroll->setWidgetResizable(true);
        auto* close = new PushButton(QStringLiteral("关闭"), this);
        close->setObjectName(QStringLiteral("Close"));
        connect(close, &QPushButton::clicked, this, &QWidget::close);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(scroll);
        layout->addWidget(close, 0, Qt::AlignRight);
        resize(560, 460);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_Escape) {
            close();
            return;
        }
        QWidget::keyPressEvent(event);
    }
};

} // namespace

void ShowHelp(QWidget& owner)
{
    QWidget& window = *owner.window();
    QPointer<QWidget>& help = TheHelp();
    if (help != nullptr && help->parentWidget() != &window) {
        help->close();
        help = nullptr;
    }
    if (help == nullptr) {
        help = new HelpWindow(window);
    }
    help->show();
    help->raise();
    help->activateWindow();
}

void InstallHelpKey(QWidget& window)
{
    auto* key = new QShortcut(QKeySequence(Qt::Key_F1), &window);
    key->setObjectName(QStringLiteral("HelpKey"));
    key->setContext(Qt::WindowShortcut);
    QObject::connect(key, &QShortcut::activated, &window, [&window] { ShowHelp(window); });
}

} // namespace sumvarl
