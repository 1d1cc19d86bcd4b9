// How the board is painted: the background textures and the nine cells go into a canvas,
// and the surface copies from it only what needs repainting. Painting changes no text.
#include <QPainter>
#include <QTimer>

#include "game/board_geometry.h"
#include "ui/main_form.h"

namespace travoli {

namespace {
// A rectangle of logical pixels in the pixels of a sheet drawn at `ratio`.
QRect InSheet(const QPixmap& sheet, int x, int y, int width, int height) {
    const qreal ratio = sheet.devicePixelRatio();
    return QRectF(x * ratio, y * ratio, width * ratio, height * ratio).toRect();
}
}  // namespace

void TMainForm::PaintBoxArea(QPainter& painter, const QRect& dirty) {
    // The canvas is made at the first painting, and again on a screen of another density.
    if (canvas_.isNull() || canvas_.devicePixelRatio() != box->devicePixelRatioF()) {
        boxPaint();
    }
    painter.drawPixmap(dirty, canvas_,
                       InSheet(canvas_, dirty.x(), dirty.y(), dirty.width(), dirty.height()));
    if (firstPaint_) {
        // The first painting of the board composes its texts, outside the painting.
        firstPaint_ = false;
        QTimer::singleShot(0, this, [this] { ShowLevelTexts(); });
    }
}

void TMainForm::DrawCell(int column, int row) {
    const int kind = session_.board().at(column, row);
    const QRect target(BoardLeft + CellWidth * column, BoardTop + CellHeight * row, CellWidth,
                       CellHeight);
    {
        QPainter painter(&canvas_);
        painter.drawPixmap(
            target, tileSheet_,
            InSheet(tileSheet_, CellWidth * kind, CellHeight * row, CellWidth, CellHeight));
    }
    box->update(target);
}

void TMainForm::boxPaint() {
    const qreal ratio = box->devicePixelRatioF();
    if (canvas_.isNull() || canvas_.devicePixelRatio() != ratio) {
        canvas_ = QPixmap(QSize(BoardSurface, BoardSurface) * ratio);
        canvas_.setDevicePixelRatio(ratio);
    }
    {
        QPainter painter(&canvas_);
        const QRect texture =
            InSheet(backgroundSheet_, TextureSize * backgroundIndex_, 0, TextureSize, TextureSize);
        for (int x = 0; x < box->width(); x += TextureSize) {
            for (int y = 0; y < box->height(); y += TextureSize) {
                painter.drawPixmap(QRect(x, y, TextureSize, TextureSize), backgroundSheet_,
                                   texture);
            }
        }
    }
    for (int column = 0; column < 3; ++column) {
        for (int row = 0; row < 3; ++row) {
            DrawCell(column, row);
        }
    }
    box->update();
}

void TMainForm::ShowLevel() {
    boxPaint();
    ShowLevelTexts();
}

}  // namespace travoli
