#include "forms/SheetPicture.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>

namespace sumvarl {

SheetPicture::SheetPicture(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    // Only newly exposed parts are painted, and those are copied, never drawn again.
    setAttribute(Qt::WA_StaticContents);
}

void SheetPicture::ResetSheet()
{
    const qreal ratio = devicePixelRatioF();
    QPixmap sheet(contentsRect().size() * ratio);
    sheet.setDevicePixelRatio(ratio);
    sheet.fill(Qt::white);
    sheet_ = sheet;
    update();
}

void SheetPicture::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    if (sheet_.deviceIndependentSize().toSize() != contentsRect().size()) {
        ResetSheet();
    }
}

void SheetPicture::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    drawFrame(&painter);
    const QRect inside = contentsRect();
    const QRect dirty = event->rect() & inside;
    if (dirty.isEmpty()) {
        return;
    }
    const qreal ratio = sheet_.devicePixelRatio();
    const QRectF source(QPointF(dirty.topLeft() - inside.topLeft()) * ratio,
                        QSizeF(dirty.size()) * ratio);
    painter.drawPixmap(QRectF(dirty), sheet_, source);
}

void SheetPicture::contextMenuEvent(QContextMenuEvent* event)
{
    // From the keyboard (the Menu key on X11 and Wayland, the keys on Windows) the event's
    // position is the middle of the widget's input area; the top left of the visible sheet is
    // where a keyboard user expects the menu.
    const QPoint at = event->reason() == QContextMenuEvent::Mouse
                          ? event->globalPos()
                          : mapToGlobal(contentsRect().topLeft() + QPoint(8, 8));
    event->accept();
    emit menuRequested(at);
}

void SheetPicture::keyPressEvent(QKeyEvent* event)
{
    // Where the platform sends no context menu event for these keys (Shift+F10 outside Windows,
    // the Menu key from a synthetic key press) the sheet opens its menu itself. On X11 the Menu
    // key's own context menu event comes first and its menu then takes the key press.
    const bool menuKey = event->key() == Qt::Key_Menu && event->modifiers() == Qt::NoModifier;
    const bool shiftF10 = event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier;
    if (menuKey || shiftF10) {
        event->accept();
        emit menuRequested(mapToGlobal(contentsRect().topLeft() + QPoint(8, 8)));
        return;
    }
    QFrame::keyPressEvent(event);
}

} // namespace sumvarl
