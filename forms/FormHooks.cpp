#include "forms/FormHooks.h"

#include "history/HistoryStore.h"
#include "wording/OwnPresets.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QList>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace sumvarl {

namespace {

QPointer<QWidget>& ConcernedWindow()
{
    static QPointer<QWidget> window;
    return window;
}

// The program's windows in the order they were last active, the latest last.
QList<QPointer<QWidget>>& ActiveWindows()
{
    static QList<QPointer<QWidget>> windows;
    return windows;
}

void NoteActiveWindow(QWindow* window)
{
    if (window == nullptr) {
        return;
    }
    const QWidgetList widgets = QApplication::topLevelWidgets();
    for (QWidget* widget : widgets) {
        const Qt::WindowType type = widget->windowType();
        if (widget->windowHandle() == window && type != Qt::Popup && type != Qt::ToolTip) {
            QList<QPointer<QWidget>>& order = ActiveWindows();
            order.removeIf(
                [widget](const QPointer<QWidget>& w) { return w.isNull() || w == widget; });
            order.append(widget);
            return;
        }
    }
}

// From the application's start, in the program and in every test: a window active before the
// first message must count.
void TrackActiveWindows()
{
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        QObject::connect(app, &QGuiApplication::focusWindowChanged, app, &NoteActiveWindow);
    }
}

// A message takes the keyboard when it opens, also where no window manager gives it the focus.
int Run(QMessageBox& box)
{
    box.show();
    box.activateWindow();
    return box.exec();
}

void ShowStopMessage(const QString& prompt, const QString& title)
{
    QMessageBox box(QMessageBox::Critical, title, prompt, QMessageBox::Ok, DialogOwner());
    Run(box);
}

bool ShowStopMessageOffering(const QString& prompt, const QString& title, const QString& offer)
{
    QMessageBox box(QMessageBox::Critical, title, prompt, QMessageBox::Ok, DialogOwner());
    QPushButton* offered = box.addButton(offer, QMessageBox::ActionRole);
    box.setDefaultButton(QMessageBox::Ok);
    Run(box);
    return box.clickedButton() == offered;
}

bool AskToGoOn(const QString& prompt, const QString& title, const QString& go, const QString& stay)
{
    QMessageBox box(QMessageBox::Question, title, prompt, QMessageBox::NoButton, DialogOwner());
    QPushButton* goButton = box.addButton(go, QMessageBox::AcceptRole);
    QPushButton* stayButton = box.addButton(stay, QMessageBox::RejectRole);
    box.setDefaultButton(stayButton);
    box.setEscapeButton(stayButton);
    Run(box);
    return box.clickedButton() == goButton;
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

QString AskSaveFileName(const QString& title, const QString& suggestedPath)
{
    QFileDialog dialog(DialogOwner(), title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QStringLiteral("PDF 文件 (*.pdf)"));
    // A name typed without ".pdf" still makes a file that opens as a PDF.
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    // The folder first, then the name alone: a path into a folder that is not there would
    // otherwise be taken as a name relative to the working folder.
    const QFileInfo suggested(suggestedPath);
    dialog.setDirectory(suggested.absolutePath());
    dialog.selectFile(suggested.fileName());
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    return dialog.selectedFiles().value(0);
}

// A file to open or to save to, of the kind the filter names.
QString AskFileName(const QString& title, const QString& suggestedPath, bool saving,
                    const QString& filter, const QString& suffix)
{
    QFileDialog dialog(DialogOwner(), title);
    dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(suffix);
    const QFileInfo suggested(suggestedPath);
    dialog.setDirectory(suggested.absolutePath());
    dialog.selectFile(suggested.fileName());
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    return dialog.selectedFiles().value(0);
}

QString AskSettingsFileName(const QString& title, const QString& suggestedPath, bool saving)
{
    return AskFileName(title, suggestedPath, saving, QStringLiteral("设置文件 (*.json)"),
                       QStringLiteral("json"));
}

QString AskBackupFileName(const QString& title, const QString& suggestedPath)
{
    return AskFileName(title, suggestedPath, false,
                       QStringLiteral("Sumvarl 备份 (*.sqlite3);;所有文件 (*)"),
                       QStringLiteral("sqlite3"));
}

QString AskName(const QString& prompt, const QString& title, const QString& suggested)
{
    bool ok = false;
    const QString name =
        QInputDialog::getText(DialogOwner(), title, prompt, QLineEdit::Normal, suggested, &ok);
    return ok ? name : QString();
}

int AskChild(const QStringList& names, const QString& title)
{
    bool ok = false;
    const QString chosen = QInputDialog::getItem(DialogOwner(), title, QStringLiteral("谁来练习？"),
                                                 names, 0, false, &ok);
    return ok ? static_cast<int>(names.indexOf(chosen)) : -1;
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(TrackActiveWindows)

FormHooks DefaultFormHooks()
{
    FormHooks hooks;
    hooks.messageBox = ShowStopMessage;
    hooks.exitProgram = ExitAtOnce;
    hooks.print = [] { return DefaultPrinter::Print(FrozenWorksheetDocument({})); };
    hooks.printDocument = [](const DocumentOptions& options) {
        return DefaultPrinter::Print(FrozenWorksheetDocument(options));
    };
    hooks.saveFileName = AskSaveFileName;
    hooks.now = [] { return QDateTime::currentDateTime(); };
    hooks.printDrawing = [](const DrawDocument& draw) { return DefaultPrinter::Print(draw); };
    hooks.printPages = [](const PaintPages& paint) { return DefaultPrinter::Print(paint); };
    hooks.askChild = AskChild;
    hooks.historyPath = history::DefaultHistoryPath;
    hooks.confirm = AskToGoOn;
    hooks.messageBoxOffering = ShowStopMessageOffering;
    hooks.printPreview = [](QWidget& owner, const DrawDocument& draw) {
        return DefaultPrinter::Preview(owner, draw);
    };
    hooks.printWithDialog = [](QWidget& owner, const DrawDocument& draw) {
        return DefaultPrinter::PrintWithDialog(owner, draw);
    };
    hooks.askName = AskName;
    hooks.settingsFileName = AskSettingsFileName;
    hooks.backupFileName = AskBackupFileName;
    hooks.ownPresetsPath = DefaultOwnPresetsPath;
    return hooks;
}

QWidget* DialogOwner()
{
    if (QWidget* active = QApplication::activeWindow()) {
        return active;
    }
    if (QWidget* concerned = ConcernedWindow(); concerned != nullptr && concerned->isVisible()) {
        return concerned->window();
    }
    const QList<QPointer<QWidget>>& order = ActiveWindows();
    const auto last = std::find_if(order.crbegin(), order.crend(), [](const QPointer<QWidget>& w) {
        return !w.isNull() && w->isVisible();
    });
    if (last != order.crend()) {
        return *last;
    }
    return nullptr;
}

DialogOwnerScope::DialogOwnerScope(QWidget& window) : previous_(ConcernedWindow())
{
    ConcernedWindow() = &window;
}

DialogOwnerScope::~DialogOwnerScope()
{
    ConcernedWindow() = previous_;
}

FormHooks& Hooks()
{
    static FormHooks hooks = DefaultFormHooks();
    return hooks;
}

QString SuggestedPdfPath(const QString& stem, const QDate& date)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        folder = QDir::homePath();
    }
    const QString name = stem + QLatin1Char('-') + date.toString(QStringLiteral("yyyy-MM-dd")) +
                         QStringLiteral(".pdf");
    return QDir(folder).absoluteFilePath(name);
}

} // namespace sumvarl
