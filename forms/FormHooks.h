#pragma once

// The places where the windows reach outside themselves: a modal message, ending the program,
// the printer and the worksheet build. The program uses the defaults; tests swap them to record
// calls without a modal loop, without leaving the test and without a printer.

#include "print/Printer.h"

#include <QDateTime>
#include <QFuture>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QWidget;

namespace sumvarl {

struct BuildHooks;

struct FormHooks
{
    // A modal stop message with one OK button; returns when it has been closed.
    std::function<void(const QString& prompt, const QString& title)> messageBox;
    // Ends the program at once: no window's close handler runs, nothing is asked.
    std::function<void()> exitProgram;
    // One job on the default printer, of the worksheet as it stands at the call. The future ends
    // with the job; the window's thread goes on meanwhile.
    std::function<QFuture<PrintOutcome>()> print;
    // One job on the default printer with options: the answer key.
    std::function<QFuture<PrintOutcome>(const DocumentOptions&)> printDocument;
    // Asks where to save a PDF, starting from suggestedPath. The chosen path, or empty when the
    // user cancels.
    std::function<QString(const QString& title, const QString& suggestedPath)> saveFileName;
    // Given the hooks of each build just before it runs; empty in the program.
    std::function<void(BuildHooks&)> adjustBuild;
    // The time now: the practice window's clock and the date on its marked sheet.
    std::function<QDateTime()> now;
    // One job on the default printer of another document: the marked practice sheet.
    std::function<QFuture<PrintOutcome>(const DrawDocument&)> printDrawing;
    // One job on the default printer of a document painted straight: a 竖式 sheet or its key.
    std::function<QFuture<PrintOutcome>(const PaintPages&)> printPages;
    // Which of these children: the index chosen, or -1 when the user cancels.
    std::function<int(const QStringList& names, const QString& title)> askChild;
    // The file of the children's history, opened on the first window that needs it.
    std::function<QString()> historyPath;
    // The stop message with a second button beside OK that offers another way (保存为 PDF…
    // where there is no printer); true when that one was pressed.
    std::function<bool(const QString& prompt, const QString& title, const QString& offer)>
        messageBoxOffering;
    // A modal question with two buttons named for what they do; true for the first. Escape and
    // the close box answer with the second, which is the one that loses nothing.
    std::function<bool(const QString& prompt, const QString& title, const QString& go,
                       const QString& stay)>
        confirm;
    // Qt's print preview of a document, a dialog of owner: the outcome of printing from it, or
    // nothing when it was closed without printing.
    std::function<std::optional<PrintOutcome>(QWidget& owner, const DrawDocument&)> printPreview;
    // Qt's print dialog (printer, copies, pages), then the job on the printer chosen there;
    // nothing when the dialog was cancelled.
    std::function<std::optional<PrintOutcome>(QWidget& owner, const DrawDocument&)> printWithDialog;
    // A name typed by the user, starting from suggested; empty when the user cancels.
    std::function<QString(const QString& prompt, const QString& title, const QString& suggested)>
        askName;
    // Where to save (saving) or from where to open a settings file (JSON), starting from
    // suggestedPath; empty when the user cancels.
    std::function<QString(const QString& title, const QString& suggestedPath, bool saving)>
        settingsFileName;
    // A backup of the history to restore from, starting from suggestedPath; empty when the user
    // cancels.
    std::function<QString(const QString& title, const QString& suggestedPath)> backupFileName;
    // The file of the parent's own presets (我的设置).
    std::function<QString()> ownPresetsPath;
};

// The hooks in force for the whole program.
FormHooks& Hooks();

// QMessageBox, hide every window and leave the event loop, the default printer, a save dialog,
// the history in the user's data folder.
FormHooks DefaultFormHooks();

// The window a message or a file dialog belongs to: the active window; where none is active (a
// job's end, no window manager), the window the message concerns, else the visible window that
// was active last. Null only where no window of the program is visible.
QWidget* DialogOwner();

// While it lives, a message with no active window to belong to belongs to window: a print job
// that ends while another program has the focus still tells its own window.
class DialogOwnerScope
{
public:
    explicit DialogOwnerScope(QWidget& window);
    ~DialogOwnerScope();
    DialogOwnerScope(const DialogOwnerScope&) = delete;
    DialogOwnerScope& operator=(const DialogOwnerScope&) = delete;

private:
    QPointer<QWidget> previous_;
};

// Where the save dialog starts: "练习题-2026-12-08.pdf" for stem "练习题" in the user's documents
// folder, or in the home folder where there is no documents folder (the standard location is
// named even where it was never made). Always absolute.
QString SuggestedPdfPath(const QString& stem, const QDate& date);

} // namespace sumvarl
