#include "tools/asset_builder/tile_sheet.h"

#include <QPainter>
#include <QPainterPath>
#include <QTransform>
#include <cmath>

namespace travoli::assets {

namespace {

// The sixteen colours. Red, white and blue keep clearly different brightness (dark blue,
// middle red, light white) so that the pieces stay apart for colour-blind players too.
enum Ink {
    Black,
    Shadow,
    FrameGrey,
    LightGrey,
    White,
    FieldWhite,
    DarkRed,
    FieldRed,
    BrightRed,
    PaleRed,
    Navy,
    FieldBlue,
    BrightBlue,
    PaleBlue,
    WhiteShade,
    DeepShadow,
};

const std::vector<QRgb> Palette = {
    qRgb(0, 0, 0),       qRgb(84, 84, 92),    qRgb(150, 150, 158), qRgb(212, 212, 218),
    qRgb(255, 255, 255), qRgb(230, 228, 218), qRgb(118, 18, 14),   qRgb(212, 56, 40),
    qRgb(246, 112, 84),  qRgb(255, 196, 176), qRgb(10, 20, 72),    qRgb(30, 56, 150),
    qRgb(84, 128, 226),  qRgb(176, 204, 255), qRgb(184, 182, 172), qRgb(44, 44, 50),
};

QColor InkColor(Ink ink) {
    return QColor(Palette[ink]);
}

struct FieldLook {
    Ink face, light, dark, castShadow;
};

const FieldLook Fields[3] = {
    {FieldRed, BrightRed, DarkRed, DarkRed},
    {FieldWhite, White, WhiteShade, WhiteShade},
    {FieldBlue, BrightBlue, Navy, Navy},
};

struct CrossLook {
    Ink body, rim, outline, gleam;
};

const CrossLook Crosses[3] = {
    {FieldRed, PaleRed, DarkRed, BrightRed},
    {White, LightGrey, Black, White},
    {FieldBlue, PaleBlue, Navy, BrightBlue},
};

// The outline of four arrows joined at their shafts, in tile-centred coordinates.
QPainterPath CrossShape(bool diagonal) {
    const double reach = diagonal ? 33.0 : 31.0;
    const double shaft = 3.6;
    const double headHalf = 9.8;
    const double headBase = reach - 12.0;
    const QPointF arm[] = {{-shaft, -shaft}, {-shaft, -headBase},   {-headHalf, -headBase},
                           {0, -reach},      {headHalf, -headBase}, {shaft, -headBase}};
    QPolygonF outline;
    for (int i = 0; i < 4; ++i) {
        QTransform turn;
        turn.rotate(90.0 * i + (diagonal ? 45.0 : 0.0));
        for (const QPointF& point : arm) {
            outline << turn.map(point);
        }
    }
    QPainterPath shape;
    shape.addPolygon(outline);
    shape.closeSubpath();
    return shape;
}

QPainterPath Hub() {
    QPainterPath hub;
    hub.addEllipse(QPointF(0, 0), 9.5, 9.5);
    return hub;
}

void DrawField(QPainter& p, const QRect& r, const FieldLook& look) {
    p.fillRect(r, InkColor(look.face));
    // Thin raised frame: a grey outer line lit from the top left, an inner bevel in the
    // field's own light and dark.
    const int l = r.left(), t = r.top(), rr = r.right(), b = r.bottom();
    p.setPen(InkColor(LightGrey));
    p.drawLine(l, t, rr - 1, t);
    p.drawLine(l, t, l, b - 1);
    p.setPen(InkColor(Shadow));
    p.drawLine(l, b, rr, b);
    p.drawLine(rr, t, rr, b);
    p.setPen(InkColor(look.light));
    p.drawLine(l + 1, t + 1, rr - 2, t + 1);
    p.drawLine(l + 1, t + 1, l + 1, b - 2);
    p.setPen(InkColor(look.dark));
    p.drawLine(l + 1, b - 1, rr - 1, b - 1);
    p.drawLine(rr - 1, t + 1, rr - 1, b - 1);
}

void DrawCross(QPainter& p, const QRect& r, int colour, bool diagonal, const FieldLook& field) {
    const CrossLook& look = Crosses[colour];
    const QPainterPath shape = CrossShape(diagonal);
    const QPainterPath hub = Hub();
    p.save();
    p.translate(r.left() + r.width() / 2.0, r.top() + r.height() / 2.0);
    p.setRenderHint(QPainter::Antialiasing, true);

    // Cast shadow on the field.
    p.save();
    p.translate(2.5, 2.5);
    p.fillPath(shape, InkColor(field.castShadow));
    p.fillPath(hub, InkColor(field.castShadow));
    p.restore();

    // Dark outline, then a light rim inside it: the cross stays visible on any field.
    const QPen outline(InkColor(look.outline), 5.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    const QPen rim(InkColor(look.rim), 2.6, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    for (const QPen& pen : {outline, rim}) {
        p.strokePath(shape, pen);
        p.strokePath(hub, pen);
    }
    p.fillPath(shape, InkColor(look.body));
    p.fillPath(hub, InkColor(look.body));

    // A ring and a gleam mark the hub.
    p.setPen(QPen(InkColor(look.outline), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(0, 0), 5.5, 5.5);
    p.setPen(QPen(InkColor(look.gleam), 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(-3.6, -3.6, 7.2, 7.2), 100 * 16, 70 * 16);
    p.restore();
}

}  // namespace

IndexedImage DrawTileSheet(int scale) {
    QImage image(TileColumns * CellWidth * scale, TileRows * CellHeight * scale,
                 QImage::Format_RGB32);
    QPainter p(&image);
    p.scale(scale, scale);
    for (int row = 0; row < 3; ++row) {
        for (int kind = 0; kind < 7; ++kind) {
            const QRect tile(kind * CellWidth, row * CellHeight, CellWidth, CellHeight);
            p.setClipRect(tile);
            p.setRenderHint(QPainter::Antialiasing, false);
            DrawField(p, tile, Fields[row]);
            if (kind < 6) {
                const QRect inner = tile.adjusted(2, 2, -2, -2);
                p.setClipRect(inner);
                DrawCross(p, tile, kind % 3, kind >= 3, Fields[row]);
            }
        }
    }
    p.end();
    return Quantize(image, Palette, 4);
}

}  // namespace travoli::assets
