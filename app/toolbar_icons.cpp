#include "app/toolbar_icons.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cmath>

namespace korvane {
namespace {

const QColor kInk(40, 40, 40);
const QColor kBlue(40, 90, 200);
const QColor kPaper(250, 250, 250);
const QColor kGreen(40, 150, 60);

QPen Pen(const QColor& colour, qreal width = 1.2) {
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void DrawArrow(QPainter& p, QPointF from, QPointF to) {
    p.drawLine(from, to);
    const QPointF d = (to - from) / std::hypot(to.x() - from.x(), to.y() - from.y());
    const QPointF n(-d.y(), d.x());
    p.drawLine(to, to - 3 * d + 2.5 * n);
    p.drawLine(to, to - 3 * d - 2.5 * n);
}

void DrawPage(QPainter& p) {
    QPainterPath page;
    page.moveTo(3.5, 1.5);
    page.lineTo(9.5, 1.5);
    page.lineTo(12.5, 4.5);
    page.lineTo(12.5, 14.5);
    page.lineTo(3.5, 14.5);
    page.closeSubpath();
    p.setPen(Pen(kInk, 1.0));
    p.setBrush(kPaper);
    p.drawPath(page);
    p.drawPolyline(QPolygonF({{9.5, 1.5}, {9.5, 4.5}, {12.5, 4.5}}));
}

void DrawTray(QPainter& p) {
    p.setPen(Pen(kInk));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({{1.5, 10.5}, {1.5, 14.5}, {14.5, 14.5}, {14.5, 10.5}}));
}

void DrawCurve(QPainter& p, const QColor& colour) {
    QPainterPath curve;
    curve.moveTo(1.5, 13.5);
    curve.cubicTo(4, 1, 12, 15, 14.5, 2.5);
    p.setPen(Pen(colour, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(curve);
}

void DrawGear(QPainter& p) {
    p.setPen(Pen(kInk, 1.0));
    p.setBrush(QColor(160, 160, 170));
    QPolygonF teeth;
    for (int i = 0; i < 16; ++i) {
        const qreal angle = i * M_PI / 8;
        const qreal radius = (i % 2 == 0) ? 7.0 : 5.0;
        teeth << QPointF(8 + radius * std::cos(angle), 8 + radius * std::sin(angle));
    }
    p.drawPolygon(teeth);
    p.setBrush(kPaper);
    p.drawEllipse(QPointF(8, 8), 2.2, 2.2);
}

void Draw(QPainter& p, ToolbarImage image) {
    switch (image) {
        case ToolbarImage::kNew:
            DrawPage(p);
            break;
        case ToolbarImage::kImport:
            DrawTray(p);
            p.setPen(Pen(kGreen, 1.6));
            DrawArrow(p, {8, 1.5}, {8, 11});
            break;
        case ToolbarImage::kExport:
            DrawTray(p);
            p.setPen(Pen(kBlue, 1.6));
            DrawArrow(p, {8, 11}, {8, 1.5});
            break;
        case ToolbarImage::kConnect: {
            p.setPen(Pen(kBlue, 1.5));
            QPainterPath joined;
            joined.moveTo(1.5, 12.5);
            joined.quadTo(8, 1, 14.5, 12.5);
            p.drawPath(joined);
            p.setPen(Pen(Qt::red, 1.0));
            p.setBrush(Qt::red);
            p.drawEllipse(QPointF(8, 6.8), 1.8, 1.8);
            break;
        }
        case ToolbarImage::kVertices:
            p.setPen(Qt::NoPen);
            p.setBrush(kInk);
            for (const QPointF& point : {QPointF(3, 3), QPointF(13, 4), QPointF(8, 8),
                                         QPointF(3, 13), QPointF(12.5, 12.5)}) {
                p.drawRect(QRectF(point - QPointF(1.5, 1.5), QSizeF(3, 3)));
            }
            break;
        case ToolbarImage::kCurves:
            DrawCurve(p, kBlue);
            break;
        case ToolbarImage::kSurfaces: {
            QPainterPath patch;
            patch.moveTo(2, 5);
            patch.quadTo(8, 1, 14, 4);
            patch.lineTo(13, 13);
            patch.quadTo(8, 15.5, 3, 12.5);
            patch.closeSubpath();
            QLinearGradient shade(2, 2, 14, 14);
            shade.setColorAt(0, QColor(230, 200, 120));
            shade.setColorAt(1, QColor(170, 110, 40));
            p.setPen(Pen(kInk, 1.0));
            p.setBrush(shade);
            p.drawPath(patch);
            break;
        }
        case ToolbarImage::kSetting:
            DrawGear(p);
            break;
        case ToolbarImage::kRotate: {
            p.setPen(Pen(kInk, 1.5));
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(2.5, 2.5, 11, 11), 60 * 16, 280 * 16);
            p.setPen(Pen(kInk, 1.2));
            DrawArrow(p, {10.5, 1.8}, {11.3, 3.8});
            break;
        }
        case ToolbarImage::kMove:
            p.setPen(Pen(kInk, 1.3));
            DrawArrow(p, {8, 8}, {8, 1.5});
            DrawArrow(p, {8, 8}, {8, 14.5});
            DrawArrow(p, {8, 8}, {1.5, 8});
            DrawArrow(p, {8, 8}, {14.5, 8});
            break;
        case ToolbarImage::kZoom:
            p.setPen(Pen(kInk, 1.4));
            p.setBrush(QColor(210, 230, 250));
            p.drawEllipse(QPointF(6.5, 6.5), 4.5, 4.5);
            p.setPen(Pen(kInk, 2.4));
            p.drawLine(QPointF(10, 10), QPointF(14.5, 14.5));
            break;
        case ToolbarImage::kFrameAll: {
            // A model inside the four corners of the view.
            p.setPen(Pen(kInk, 1.4));
            const QPointF corners[][3] = {{{1, 5}, {1, 1}, {5, 1}},
                                          {{11, 1}, {15, 1}, {15, 5}},
                                          {{15, 11}, {15, 15}, {11, 15}},
                                          {{5, 15}, {1, 15}, {1, 11}}};
            for (const auto& corner : corners) {
                p.drawPolyline(corner, 3);
            }
            p.setPen(Pen(kBlue, 1.2));
            p.setBrush(QColor(210, 230, 250));
            p.drawRect(QRectF(4.5, 4.5, 7, 7));
            break;
        }
        case ToolbarImage::kAbout: {
            p.setPen(Pen(kBlue, 1.2));
            p.setBrush(kPaper);
            p.drawEllipse(QPointF(8, 8), 6.8, 6.8);
            QFont font;
            font.setPixelSize(11);
            font.setBold(true);
            p.setFont(font);
            p.drawText(QRectF(0, 0, 16, 16.5), Qt::AlignCenter, QStringLiteral("?"));
            break;
        }
    }
}

// Paints the image into any rectangle, scaling the 16 x 16 drawing; disabled buttons fade.
class ToolbarIconEngine : public QIconEngine {
  public:
    explicit ToolbarIconEngine(ToolbarImage image) : image_(image) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->translate(rect.topLeft());
        painter->scale(rect.width() / 16.0, rect.height() / 16.0);
        if (mode == QIcon::Disabled) {
            painter->setOpacity(0.35);
        }
        Draw(*painter, image_);
        painter->restore();
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return pixmap;
    }

    // size is already in device pixels.
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        QPixmap drawn = pixmap(size, mode, state);
        drawn.setDevicePixelRatio(scale);
        return drawn;
    }

    QIconEngine* clone() const override { return new ToolbarIconEngine(image_); }

  private:
    ToolbarImage image_;
};

}  // namespace

QIcon ToolbarIcon(ToolbarImage image) {
    return QIcon(new ToolbarIconEngine(image));
}

}  // namespace korvane
