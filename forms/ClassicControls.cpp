#include "forms/ClassicControls.h"

#include "forms/Twips.h"

#include <QApplication>
#include <QGuiApplication>
#include <QHash>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QTextLayout>
#include <QWheelEvent>
#include <algorithm>
#include <qdrawutil.h>
#include <utility>

namespace sumvarl {

QFont FormFont()
{
    QFont font(QFont::substitute(QStringLiteral("System")));
    font.setPointSizeF(12);
    font.setBold(true);
    return font;
}

// QGuiApplication's setter: QApplication's would also drop the fonts the platform's theme gives
// to classes of widgets, which the one restored afterwards does not bring back.
ApplicationFontWhileMaking::ApplicationFontWhileMaking(const QFont& font)
    : before_(QGuiApplication::font())
{
    QGuiApplication::setFont(font);
}

ApplicationFontWhileMaking::~ApplicationFontWhileMaking()
{
    QGuiApplication::setFont(before_);
}

QLabel* MakeLabel(QWidget* parent, const QString& objectName, const QString& text, QRect twips)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(objectName);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    PlaceTwips(*label, twips.x(), twips.y(), twips.width(), twips.height());
    return label;
}

void WidenToText(QLabel& label)
{
    label.resize(std::max(label.sizeHint().width(), label.width()), label.height());
}

void WidenLabelsToText(QWidget& window)
{
    QHash<QString, int> measured;
    for (QLabel* label : window.findChildren<QLabel*>()) {
        const QString key = label->font().key() + QLatin1Char('\n') +
                            QString::number(label->alignment().toInt()) + QLatin1Char('\n') +
                            label->text();
        auto found = measured.constFind(key);
        if (found == measured.cend()) {
            found = measured.insert(key, label->sizeHint().width());
        }
        if (*found > label->width()) {
            label->resize(*found, label->height());
        }
    }
}

DropDownBox::DropDownBox(QWidget* parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // setEditable gives the field an inline completer over the list.
    setCompleter(nullptr);
    // Qt's default lets the wheel take the focus, and then the value.
    setFocusPolicy(Qt::StrongFocus);
}

void DropDownBox::wheelEvent(QWheelEvent* event)
{
    if (!hasFocus()) {
        event->ignore();
        return;
    }
    QComboBox::wheelEvent(event);
}

PushButton::PushButton(const QString& text, QWidget* parent) : QPushButton(text, parent)
{
    // A default-capable button draws a wider frame in some styles; Return is handled below.
    setAutoDefault(false);
}

void PushButton::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (enter && modifiers == Qt::NoModifier) {
        event->accept();
        if (!event->isAutoRepeat()) {
            click();
        }
        return;
    }
    QPushButton::keyPressEvent(event);
}

CaptionFrame::CaptionFrame(const QString& caption, QWidget* parent) : QGroupBox(caption, parent) {}

QRect CaptionFrame::CaptionRect() const
{
    // Windows puts the caption a few pixels in from the left edge, with a little room on
    // either side where the line stops.
    constexpr int Indent = 6;
    constexpr int Room = 2;
    const QFontMetrics metrics(font());
    return {Indent, 0, metrics.horizontalAdvance(title()) + 2 * Room, metrics.height()};
}

void CaptionFrame::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    const QRect caption = CaptionRect();
    const QRect box = rect().adjusted(0, caption.height() / 2, 0, 0);
    painter.save();
    painter.setClipRegion(QRegion(rect()).subtracted(caption));
    // An etched rectangle: a dark line with a light one inside it.
    qDrawShadeRect(&painter, box, palette(), true, 1, 0);
    painter.restore();
    style()->drawItemText(&painter, caption, Qt::AlignCenter | Qt::TextShowMnemonic, palette(),
                          isEnabled(), title(), QPalette::WindowText);
}

LinkLabel::LinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent)
{
    setTextFormat(Qt::PlainText);
    Underline();
    QPalette blue = palette();
    blue.setColor(QPalette::WindowText, QColor(0, 0, 255));
    setPalette(blue);
    setCursor(Qt::PointingHandCursor);
}

void LinkLabel::Underline()
{
    if (!font().underline()) {
        QFont underlined = font();
        underlined.setUnderline(true);
        setFont(underlined);
    }
}

void LinkLabel::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    // Whatever font it is given, a link stays underlined.
    if (event->type() == QEvent::FontChange) {
        Underline();
    }
}

// Laid out, formatted and placed as a rich-text label lays out, formats and places its one
// line, so that text and underline fall on the same pixels as such a link's.
void LinkLabel::paintEvent(QPaintEvent* /*event*/)
{
    QFont plain = font();
    plain.setUnderline(false);
    QTextLayout layout(text(), plain, this);
    QTextCharFormat link;
    link.setFontUnderline(true);
    link.setForeground(palette().color(QPalette::WindowText));
    layout.setFormats({{0, static_cast<int>(text().size()), link}});
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLeadingIncluded(true);
    layout.endLayout();
    const QRectF area = contentsRect();
    // A rich-text label centres its document, which is a pixel taller than its line.
    const qreal top = std::max((area.height() - line.height() - 1) / 2, qreal(0));
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    layout.draw(&painter, QPointF(area.left(), area.top() + top));
}

void LinkLabel::mousePressEvent(QMouseEvent* event)
{
    pressed_ = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    QLabel::mouseReleaseEvent(event);
    if (click) {
        emit activated();
    }
}

FocusRing::FocusRing(QWidget& window, std::vector<QWidget*> controls)
    : QWidget(&window), controls_(std::move(controls))
{
    setObjectName(QStringLiteral("FocusRing"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(window.rect());
    raise();
    window.installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, [this] { update(); });
}

bool FocusRing::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parent() && event->type() == QEvent::Resize) {
        setGeometry(parentWidget()->rect());
    }
    return QWidget::eventFilter(watched, event);
}

void FocusRing::paintEvent(QPaintEvent* /*event*/)
{
    const QWidget* focused = QApplication::focusWidget();
    if (focused == nullptr || std::ranges::find(controls_, focused) == controls_.end()) {
        return;
    }
    // What the control shows: its rectangle cut by each enclosing widget's.
    QRect shown(focused->mapTo(parentWidget(), QPoint()), focused->size());
    for (const QWidget* w = focused->parentWidget(); w != nullptr && w != parentWidget();
         w = w->parentWidget()) {
        shown &= QRect(w->mapTo(parentWidget(), QPoint()), w->size());
    }
    QPainter painter(this);
    QPen pen(palette().color(QPalette::Highlight), 2);
    painter.setPen(pen);
    painter.drawRect(shown.adjusted(1, 1, -2, -2));
}

} // namespace sumvarl
