#pragma once

// Picture1 of the worksheet window: a sunken, white sheet that keeps its drawing in a pixmap.
// The builder draws into the pixmap once; exposing, covering and scrolling only copy from it.

#include <QFrame>
#include <QPixmap>

namespace sumvarl {

class SheetPicture final : public QFrame
{
    Q_OBJECT
public:
    explicit SheetPicture(QWidget* parent = nullptr);

    // The kept picture: the whole area inside the border, white until something is drawn.
    // Text drawn past its edges is cut off; the sheet never grows.
    QPixmap& Sheet() { return sheet_; }
    const QPixmap& Sheet() const { return sheet_; }

    // Makes a white sheet of the size of the area inside the border.
    void ResetSheet();

signals:
    // A right click, the Menu key or Shift+F10 asks for the sheet's menu at globalPos.
    void menuRequested(const QPoint& globalPos); // NOLINT(readability-identifier-naming)

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QPixmap sheet_;
};

} // namespace sumvarl
