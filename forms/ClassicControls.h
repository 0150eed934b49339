#pragma once

// Controls that behave as a parent who learnt on Windows expects: what is typed stays as typed,
// the wheel leaves an unfocused box alone, Return presses the focused button, and a frame's
// caption sits on its top line.

#include <QComboBox>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <vector>

namespace sumvarl {

// The windows' own font: "System", 12 points, bold, named by the installed family it stands for
// (Qt would otherwise search fontconfig's fallbacks for a face it does not know).
QFont FormFont();

// Makes font the application's font until it goes out of scope, when the one before comes back.
// Qt's text boxes lay their text out once in the application's font before they take their
// own, which loads a face the window never shows; a window that makes its controls under this
// loads only the faces it shows. Nothing is drawn meanwhile, so no one sees the exchange.
class ApplicationFontWhileMaking
{
public:
    explicit ApplicationFontWhileMaking(const QFont& font);
    ~ApplicationFontWhileMaking();
    ApplicationFontWhileMaking(const ApplicationFontWhileMaking&) = delete;
    ApplicationFontWhileMaking& operator=(const ApplicationFontWhileMaking&) = delete;

private:
    QFont before_;
};

// A form's label, placed in twips: it draws its text from its top left corner and, with no
// background of its own, lets what lies behind it show through (the title's shadow).
QLabel* MakeLabel(QWidget* parent, const QString& objectName, const QString& text, QRect twips);

// A label whose text is wider than its designed width (the substituted face is wider than the
// one it stands for) grows to the right rather than cutting its text off.
void WidenToText(QLabel& label);
// The same for every label in window. Labels repeat ("占用比例" and "%" six times each) and a
// label lays its text out three times to find its size hint, so each text is measured once in
// each font and alignment.
void WidenLabelsToText(QWidget& window);

// An editable drop-down box. Qt would complete a typed "5" inline to "50" from the list; here
// the text stays exactly as typed and only picking an entry puts the entry's text in the field.
// Nothing typed is added to the list.
class DropDownBox final : public QComboBox
{
    Q_OBJECT
public:
    explicit DropDownBox(QWidget* parent = nullptr);

protected:
    // A wheel over a box without the focus changes nothing (it goes on to the window).
    void wheelEvent(QWheelEvent* event) override;
};

// A push button that Return and keypad Enter press while it has the focus, as Space does,
// without becoming a dialog's default button (which would change its look).
class PushButton final : public QPushButton
{
    Q_OBJECT
public:
    explicit PushButton(const QString& text, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// A frame whose caption interrupts its etched top line, which runs through the caption's
// middle, instead of standing above the box.
class CaptionFrame final : public QGroupBox
{
    Q_OBJECT
public:
    explicit CaptionFrame(const QString& caption, QWidget* parent = nullptr);

    // The caption's rectangle inside the frame.
    QRect CaptionRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A one-line link: blue, underlined, the pointing hand over it, and a left click (press and
// release on it) activates it. A rich-text link looks and acts the same but brings a whole text
// document, and its memory, into a window for a few characters.
class LinkLabel final : public QLabel
{
    Q_OBJECT
public:
    explicit LinkLabel(const QString& text, QWidget* parent = nullptr);

signals:
    void activated(); // NOLINT(readability-identifier-naming): Qt's signal style

protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void Underline();

    bool pressed_ = false;
};

// A thin frame around whichever of its controls has the focus, for controls whose style shows
// none (a frame, the sheet, a scroll bar): drawn over the window, within what the control shows
// of itself, taking no input and moving nothing.
class FocusRing final : public QWidget
{
    Q_OBJECT
public:
    FocusRing(QWidget& window, std::vector<QWidget*> controls);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<QWidget*> controls_;
};

} // namespace sumvarl
