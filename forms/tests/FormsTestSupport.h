#pragma once

// Shared by the window tests: recording hooks in place of the message box, the exit, the
// printer; finding controls by their object names; typing and the wheel as a person uses them.
// Settings put into and read back from Math come from testing/SheetSettings.h.

#include "core/Math.h"
#include "core/StartSettings.h"
#include "forms/ChildMemory.h"
#include "forms/FormHooks.h"
#include "forms/Translations.h"
#include "print/PainterSurface.h"
#include "testing/SettingsText.h"
#include "testing/SheetSettings.h"

#include <QApplication>
#include <QDateTime>
#include <QInputMethodEvent>
#include <QLocale>
#include <QSpontaneKeyEvent>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <QWidget>
#include <functional>
#include <optional>
#include <stdexcept>
#include <vector>

namespace sumvarl::test {

struct RecordedMessage
{
    QString prompt;
    QString title;
};

// Installs recording hooks for its lifetime, then puts the program's own back.
class HookRecorder
{
public:
    HookRecorder()
    {
        Hooks() = DefaultFormHooks();
        Hooks().messageBox = [this](const QString& prompt, const QString& title) {
            messages.push_back({prompt, title});
            if (onMessage) {
                onMessage();
            }
        };
        Hooks().exitProgram = [this] { ++exits; };
        Hooks().print = [this] {
            ++prints;
            return QtFuture::makeReadyFuture(PrintOutcome{printResult, {}});
        };
        Hooks().printDrawing = [this](const DrawDocument& draw) {
            drawings.push_back(draw);
            return QtFuture::makeReadyFuture(PrintOutcome{printResult, {}});
        };
        // Qt's preview and print dialog are modal: recorded, and closed at once.
        Hooks().printPreview = [this](QWidget&, const DrawDocument& draw) {
            drawings.push_back(draw);
            return std::optional<PrintOutcome>();
        };
        Hooks().printWithDialog = Hooks().printPreview;
        Hooks().printPages = [this](const PaintPages& paint) {
            pages.push_back(paint);
            return QtFuture::makeReadyFuture(PrintOutcome{printResult, {}});
        };
        // A clock that moves only when the test moves it.
        Hooks().now = [this] { return now; };
        Hooks().askChild = [this](const QStringList& names, const QString&) {
            childAsked.push_back(names);
            return childChoice;
        };
        // Recorded with the other messages; the offer is taken when takeOffer is set.
        Hooks().messageBoxOffering = [this](const QString& prompt, const QString& title,
                                            const QString& offer) {
            messages.push_back({prompt, title});
            offers.push_back(offer);
            return takeOffer;
        };
        Hooks().confirm = [this](const QString& prompt, const QString& title, const QString&,
                                 const QString&) {
            questions.push_back({prompt, title});
            return confirmAnswer;
        };
        // Never the user's own history: a file of the test's, opened afresh.
        CloseSharedHistory();
        Hooks().historyPath = [this] { return historyPath; };
        // Names typed into the name question, in turn; none left is a cancel.
        Hooks().askName = [this](const QString&, const QString&, const QString& suggested) {
            namesSuggested.push_back(suggested);
            return names.empty() ? QString() : names.takeFirst();
        };
        Hooks().settingsFileName = [this](const QString&, const QString&, bool saving) {
            return saving ? exportPath : importPath;
        };
        Hooks().ownPresetsPath = [this] { return ownPresetsPath; };
        Hooks().backupFileName = [this](const QString&, const QString&) { return backupPath; };
    }
    ~HookRecorder()
    {
        CloseSharedHistory();
        Hooks() = DefaultFormHooks();
    }
    HookRecorder(const HookRecorder&) = delete;
    HookRecorder& operator=(const HookRecorder&) = delete;

    std::vector<RecordedMessage> messages;
    // Questions asked, each answered with confirmAnswer (true: the first button).
    std::vector<RecordedMessage> questions;
    bool confirmAnswer = true;
    std::vector<QString> offers;
    bool takeOffer = false;
    std::function<void()> onMessage;
    int exits = 0;
    int prints = 0;
    PrintResult printResult = PrintResult::Printed;
    std::vector<DrawDocument> drawings;
    std::vector<PaintPages> pages; // 竖式 sheets and keys sent to the printer
    QString backupPath;            // the backup 恢复备份… restores
    QDateTime now{QDate(2026, 5, 6), QTime(9, 30)};
    std::vector<QStringList> childAsked;
    int childChoice = 0;
    QTemporaryDir historyDir;
    QString historyPath = historyDir.filePath(QStringLiteral("sumvarl/history.sqlite3"));
    QStringList names;
    std::vector<QString> namesSuggested;
    QString ownPresetsPath = historyDir.filePath(QStringLiteral("sumvarl/own-presets.json"));
    QString exportPath = historyDir.filePath(QStringLiteral("exported.json"));
    QString importPath = exportPath;
};

inline void SetUpTestApplication()
{
    QLocale::setDefault(QLocale::c());
    InstallFontSubstitutions();
    InstallQtTranslations(*QCoreApplication::instance());
}

// Replaces a box's text as a person does: into the box, select all, delete, type. ASCII only;
// an input method's text goes through TypeWithInputMethod.
inline void TypeInto(QWidget& box, const QString& text)
{
    box.setFocus(Qt::MouseFocusReason);
    QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&box, Qt::Key_Backspace);
    QTest::keyClicks(&box, text);
}

// Text committed by an input method (a Chinese one in full-width mode types "２０").
inline void TypeWithInputMethod(QWidget& box, const QString& text)
{
    box.setFocus(Qt::MouseFocusReason);
    QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&box, Qt::Key_Backspace);
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(&box, &event);
}

// Wheel notches (positive away from the user) over the middle of a widget, delivered as the
// window system delivers them: a widget that takes none passes them to its parent.
inline void TurnWheel(QWidget& widget, int notches)
{
    const QPointF at = QRectF(widget.rect()).center();
    QWheelEvent event(at, widget.mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    // Only the window system's own wheel events go on to the parent; sendEvent would mark it
    // as the program's own.
    QSpontaneKeyEvent::setSpontaneous(&event);
    QApplication::instance()->notify(&widget, &event);
}

// The control of that object name. A missing one fails the test (Qt Test reports the
// exception) instead of crashing it.
template <class T> T* Control(const QWidget& window, const QString& name)
{
    T* control = window.findChild<T*>(name);
    if (control == nullptr) {
        throw std::runtime_error("no control " + name.toStdString() + " in " +
                                 window.objectName().toStdString());
    }
    return control;
}

// Waits for the next modal dialog from inside its own event loop and hands it to act, once.
class ModalWatch
{
public:
    explicit ModalWatch(std::function<void(QWidget&)> act) : act_(std::move(act))
    {
        poll_.setInterval(10);
        QObject::connect(&poll_, &QTimer::timeout, &poll_, [this] { Look(); });
        poll_.start();
    }

    bool seen = false;

private:
    void Look()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible()) {
            return;
        }
        poll_.stop();
        seen = true;
        act_(*modal);
    }

    std::function<void(QWidget&)> act_;
    QTimer poll_;
};

inline bool AllWhite(const QImage& image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            if ((line[x] & 0xFFFFFFu) != 0xFFFFFFu) {
                return false;
            }
        }
    }
    return true;
}

} // namespace sumvarl::test
