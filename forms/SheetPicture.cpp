#include "forms/SheetPicture.h"

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

} // namespace sumvarl
