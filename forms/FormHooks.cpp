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
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QWidget>

namespace sumvarl {

namespace {

// A message takes the keyboard when it opens, also where no window manager gives it the focus.
int Run(QMessageBox& box)
{
    box.show();
    box.activateWindow();
    return box.exec();
}

void ShowStopMessage(const QString& prompt, const QString& title)
{
    QMessageBox box(QMessageBox::Critical, title, prompt, QMessageBox::Ok,
                    QApplication::activeWindow());
    Run(box);
}

bool ShowStopMessageOffering(const QString& prompt, const QString& title, const QString& offer)
{
    QMessageBox box(QMessageBox::Critical, title, prompt, QMessageBox::Ok,
                    QApplication::activeWindow());
    QPushButton* offered = box.addButton(offer, QMessageBox::ActionRole);
    box.setDefaultButton(QMessageBox::Ok);
    Run(box);
    return box.clickedButton() == offered;
}

bool AskToGoOn(const QString& prompt, const QString& title, const QString& go, const QString& stay)
{
    QMessageBox box(QMessageBox::Question, title, prompt, QMessageBox::NoButton,
                    QApplication::activeWindow());
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
    QFileDialog dialog(QApplication::activeWindow(), title);
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

QString AskSettingsFileName(const QString& title, const QString& suggestedPath, bool saving)
{
    QFileDialog dialog(QApplication::activeWindow(), title);
    dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilter(QStringLiteral("设置文件 (*.json)"));
    dialog.setDefaultSuffix(QStringLiteral("json"));
    const QFileInfo suggested(suggestedPath);
    dialog.setDirectory(suggested.absolutePath());
    dialog.selectFile(suggested.fileName());
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    return dialog.selectedFiles().value(0);
}

QString AskName(const QString& prompt, const QString& title, const QString& suggested)
{
    bool ok = false;
    const QString name = QInputDialog::getText(QApplication::activeWindow(), title, prompt,
                                               QLineEdit::Normal, suggested, &ok);
    return ok ? name : QString();
}

int AskChild(const QStringList& names, const QString& title)
{
    bool ok = false;
    const QString chosen = QInputDialog::getItem(
        QApplication::activeWindow(), title, QStringLiteral("谁来练习？"), names, 0, false, &ok);
    return ok ? static_cast<int>(names.indexOf(chosen)) : -1;
}

} // namespace

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
    hooks.askChild = AskChild;
    hooks.historyPath = history::DefaultHistoryPath;
    hooks.confirm = AskToGoOn;
    hooks.messageBoxOffering = ShowStopMessageOffering;
    hooks.askName = AskName;
    hooks.settingsFileName = AskSettingsFileName;
    hooks.ownPresetsPath = DefaultOwnPresetsPath;
    return hooks;
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
