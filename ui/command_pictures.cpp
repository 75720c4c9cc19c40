#include "ui/command_pictures.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace gravlink {

namespace {

const QColor Green(0, 150, 40);
const QColor DarkGreen(0, 100, 20);
const QColor Red(220, 20, 20);

void DrawTick(QPainter& painter, const QRectF& box, qreal width) {
    QPainterPath path;
    path.moveTo(box.left(), box.top() + box.height() * 0.55);
    path.lineTo(box.left() + box.width() * 0.38, box.bottom());
    path.lineTo(box.right(), box.top());
    painter.setPen(QPen(DarkGreen, width + 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(path);
    painter.setPen(QPen(Green, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(path);
}

void DrawLargeTick(QPainter& painter) {
    DrawTick(painter, QRectF(2.5, 3, 11.5, 10), 2.6);
}

void DrawSmallTicks(QPainter& painter) {
    DrawTick(painter, QRectF(3, 1.5, 9, 5), 1.8);
    DrawTick(painter, QRectF(3, 9, 9, 5), 1.8);
}

void DrawCross(QPainter& painter) {
    painter.setPen(QPen(Red, 2.2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
    painter.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
}

void DrawTriangle(QPainter& painter, const QPolygonF& corners, const QColor& fill,
                  const QColor& edge) {
    painter.setPen(QPen(edge, 1));
    painter.setBrush(fill);
    painter.drawPolygon(corners);
}

void DrawHammer(QPainter& painter) {
    // Handle: blue, from the lower left up to the head.
    painter.setPen(QPen(QColor(20, 40, 140), 1));
    painter.setBrush(QColor(40, 90, 220));
    QPolygonF handle;
    handle << QPointF(2, 13) << QPointF(3, 14.5) << QPointF(10.5, 7) << QPointF(9, 5.5);
    painter.drawPolygon(handle);
    // Head: grey, across the top of the handle.
    painter.setPen(QPen(QColor(70, 70, 70), 1));
    painter.setBrush(QColor(165, 165, 165));
    QPolygonF head;
    head << QPointF(6, 4.5) << QPointF(9.5, 1) << QPointF(15, 6.5) << QPointF(11.5, 10);
    painter.drawPolygon(head);
    painter.setPen(QPen(QColor(225, 225, 225), 1));
    painter.drawLine(QPointF(8, 4.5), QPointF(9.5, 3));
}

void DrawArrowHead(QPainter& painter, QPointF tip, QPointF back) {
    const QPointF along = tip - back;
    const QPointF across(-along.y() * 0.8, along.x() * 0.8);
    QPolygonF head;
    head << tip << back + across << back - across;
    painter.setPen(Qt::NoPen);
    painter.setBrush(Green);
    painter.drawPolygon(head);
}

void DrawCircleArrows(QPainter& painter) {
    const QRectF circle(3, 3, 10, 10);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Green, 2.2, Qt::SolidLine, Qt::FlatCap));
    // Two arcs, each ending in a head, chasing each other round the circle.
    painter.drawArc(circle, 20 * 16, 130 * 16);
    painter.drawArc(circle, 200 * 16, 130 * 16);
    DrawArrowHead(painter, QPointF(12.8, 10.8), QPointF(13.2, 6.8));
    DrawArrowHead(painter, QPointF(3.2, 5.2), QPointF(2.8, 9.2));
}

// Drawn on a 16 x 16 grid, which the painter scales to the size asked for.
void DrawCommandPicture(QPainter& painter, int index) {
    painter.setRenderHint(QPainter::Antialiasing);
    switch (index) {
    case cpExport: {
        QPolygonF right;
        right << QPointF(4, 2) << QPointF(13, 8) << QPointF(4, 14);
        DrawTriangle(painter, right, QColor(30, 170, 50), DarkGreen);
        break;
    }
    case cpSettings:
        DrawHammer(painter);
        break;
    case cpCheck:
        DrawLargeTick(painter);
        break;
    case cpCheckAll:
        DrawSmallTicks(painter);
        break;
    case cpClearAll:
        DrawSmallTicks(painter);
        DrawCross(painter);
        break;
    case cpClearOne:
        DrawLargeTick(painter);
        DrawCross(painter);
        break;
    case cpExpand: {
        QPolygonF down;
        down << QPointF(3, 5) << QPointF(13, 5) << QPointF(8, 11);
        DrawTriangle(painter, down, Qt::black, Qt::black);
        break;
    }
    case cpRefresh:
        DrawCircleArrows(painter);
        break;
    default:
        break;
    }
}

// A picture as a vector image: drawn afresh for every size and pixel ratio, so that it
// stays sharp on a scaled screen.
class TCommandPictureEngine final : public QIconEngine {
public:
    explicit TCommandPictureEngine(int index) : FIndex(index) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override {
        painter->save();
        painter->translate(rect.topLeft());
        painter->scale(rect.width() / qreal(CommandPictureSize),
                       rect.height() / qreal(CommandPictureSize));
        DrawCommandPicture(*painter, FIndex);
        painter->restore();
    }
    // The size is in device pixels: the icon sets the pixel ratio on what comes back.
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QPixmap picture(size);
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return picture;
    }
    QIconEngine* clone() const override { return new TCommandPictureEngine(FIndex); }

private:
    int FIndex;
};

} // namespace

QPixmap CommandPicture(int index, int size) {
    return TCommandPictureEngine(index).pixmap(QSize(size, size), QIcon::Normal, QIcon::Off);
}

std::vector<QIcon> CommandPictures() {
    std::vector<QIcon> pictures;
    pictures.reserve(CommandPictureCount);
    for (int index = 0; index < CommandPictureCount; ++index)
        pictures.emplace_back(new TCommandPictureEngine(index));
    return pictures;
}

} // namespace gravlink
