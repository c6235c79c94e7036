#include "ui/widgets/ToolIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace dorvane {

namespace {

constexpr int Size = 32;
const QColor Ink(40, 70, 110);
const QColor Accent(0, 150, 200);
const QColor Warm(220, 120, 30);

void drawDisk(QPainter &p)
{
    p.drawRoundedRect(QRectF(5, 5, 22, 22), 2, 2);
    p.fillRect(QRectF(10, 6, 12, 7), Accent);
    p.drawRect(QRectF(9, 17, 14, 9));
}

void drawSonar(QPainter &p)
{
    p.setBrush(QColor(0, 0, 80));
    p.drawEllipse(QRectF(4, 4, 24, 24));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 230, 180), 2));
    p.drawEllipse(QRectF(9, 9, 14, 14));
}

void drawIcon(QPainter &p, ToolIcon icon)
{
    p.setPen(QPen(Ink, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    switch (icon) {
    case ToolIcon::Acquire: // probe with echoes
        p.drawEllipse(QRectF(12, 12, 8, 8));
        p.setPen(QPen(Accent, 2));
        p.drawArc(QRectF(6, 6, 20, 20), 30 * 16, 120 * 16);
        p.drawArc(QRectF(2, 2, 28, 28), 30 * 16, 120 * 16);
        break;
    case ToolIcon::Import: // arrow into a tray
        p.drawLine(16, 4, 16, 19);
        p.drawLine(10, 13, 16, 19);
        p.drawLine(22, 13, 16, 19);
        p.drawPolyline(QPolygonF({{5, 20}, {5, 27}, {27, 27}, {27, 20}}));
        break;
    case ToolIcon::Open: { // folder
        QPainterPath folder;
        folder.moveTo(4, 9);
        folder.lineTo(12, 9);
        folder.lineTo(14, 12);
        folder.lineTo(28, 12);
        folder.lineTo(28, 26);
        folder.lineTo(4, 26);
        folder.closeSubpath();
        p.fillPath(folder, QColor(250, 210, 110));
        p.drawPath(folder);
        break;
    }
    case ToolIcon::SaveAs:
        drawDisk(p);
        p.setPen(QPen(Warm, 2.5));
        p.drawLine(22, 2, 30, 10);
        break;
    case ToolIcon::Screenshot: // camera
        p.drawRoundedRect(QRectF(4, 10, 24, 16), 3, 3);
        p.drawRect(QRectF(11, 6, 10, 4));
        p.drawEllipse(QRectF(11, 12, 10, 10));
        break;
    case ToolIcon::Video: // film with play mark
        p.drawRect(QRectF(4, 7, 24, 18));
        p.setBrush(Accent);
        p.drawPolygon(QPolygonF({{13, 11}, {13, 21}, {21, 16}}));
        break;
    case ToolIcon::Report: // page with lines
        p.drawRect(QRectF(7, 4, 18, 24));
        for (int y = 10; y <= 22; y += 4)
            p.drawLine(11, y, 21, y);
        break;
    case ToolIcon::AnimationView:
        drawSonar(p);
        break;
    case ToolIcon::StrokeView:
        p.setPen(QPen(Ink, 1));
        p.drawEllipse(QRectF(5, 5, 22, 22));
        p.setPen(QPen(Warm, 2));
        p.drawPolyline(QPolygonF({{6, 17}, {9, 22}, {16, 25}, {23, 22}, {26, 17}}));
        break;
    case ToolIcon::View3D: // pipe in perspective
        p.drawEllipse(QRectF(4, 8, 10, 16));
        p.drawLine(9, 8, 25, 11);
        p.drawLine(9, 24, 25, 21);
        p.drawArc(QRectF(21, 11, 8, 10), -90 * 16, 180 * 16);
        break;
    case ToolIcon::Properties: // list
        for (int y = 8; y <= 24; y += 8) {
            p.drawPoint(7, y);
            p.drawLine(12, y, 26, y);
        }
        break;
    case ToolIcon::PipeAttributes: // manhole cover
        p.drawEllipse(QRectF(5, 5, 22, 22));
        p.drawLine(10, 12, 22, 12);
        p.drawLine(9, 16, 23, 16);
        p.drawLine(10, 20, 22, 20);
        break;
    case ToolIcon::Settings: // gear
        for (int k = 0; k < 8; ++k) {
            p.save();
            p.translate(16, 16);
            p.rotate(k * 45);
            p.drawLine(0, -13, 0, -9);
            p.restore();
        }
        p.drawEllipse(QRectF(8, 8, 16, 16));
        p.drawEllipse(QRectF(13, 13, 6, 6));
        break;
    case ToolIcon::Help:
        p.drawEllipse(QRectF(4, 4, 24, 24));
        p.drawArc(QRectF(11, 8, 10, 9), 0, 200 * 16);
        p.drawLine(21, 13, 16, 18);
        p.drawLine(16, 18, 16, 20);
        p.drawPoint(16, 24);
        break;
    case ToolIcon::Save:
        drawDisk(p);
        break;
    case ToolIcon::Discard: // undo arrow
        p.setPen(QPen(Warm, 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(8, 8, 18, 16), -90 * 16, 270 * 16);
        p.drawLine(8, 16, 4, 11);
        p.drawLine(8, 16, 12, 11);
        break;
    case ToolIcon::PlayBackward:
        p.setBrush(Ink);
        p.drawPolygon(QPolygonF({{24, 6}, {24, 26}, {8, 16}}));
        break;
    case ToolIcon::Pause:
        p.fillRect(QRectF(9, 7, 5, 18), Ink);
        p.fillRect(QRectF(18, 7, 5, 18), Ink);
        break;
    case ToolIcon::PlayForward:
        p.setBrush(Ink);
        p.drawPolygon(QPolygonF({{8, 6}, {8, 26}, {24, 16}}));
        break;
    case ToolIcon::ApplyAll: // the shown frame's value into every frame of the stack
        p.setBrush(Qt::white);
        for (int y : {4, 11, 18})
            p.drawRect(QRectF(15, y, 13, 10));
        p.setPen(QPen(Accent, 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(3, 16, 11, 16);
        p.drawLine(11, 16, 7, 12);
        p.drawLine(11, 16, 7, 20);
        break;
    case ToolIcon::ApplyBefore:
        p.drawLine(6, 6, 6, 26);
        p.setPen(QPen(Accent, 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(26, 16, 10, 16);
        p.drawLine(10, 16, 16, 10);
        p.drawLine(10, 16, 16, 22);
        break;
    case ToolIcon::ApplyAfter:
        p.drawLine(26, 6, 26, 26);
        p.setPen(QPen(Accent, 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(6, 16, 22, 16);
        p.drawLine(22, 16, 16, 10);
        p.drawLine(22, 16, 16, 22);
        break;
    case ToolIcon::Delete:
        p.setPen(QPen(QColor(200, 40, 40), 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(8, 8, 24, 24);
        p.drawLine(24, 8, 8, 24);
        break;
    case ToolIcon::Grid:
        p.setPen(QPen(Accent, 1.5));
        p.drawEllipse(QRectF(4, 4, 24, 24));
        p.drawEllipse(QRectF(10, 10, 12, 12));
        p.drawLine(16, 3, 16, 29);
        p.drawLine(3, 16, 29, 16);
        break;
    case ToolIcon::Grey: {
        QLinearGradient ramp(4, 0, 28, 0);
        ramp.setColorAt(0, Qt::black);
        ramp.setColorAt(1, Qt::white);
        p.setBrush(ramp);
        p.drawRect(QRectF(4, 8, 24, 16));
        break;
    }
    case ToolIcon::Restore:
        p.setPen(QPen(Ink, 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(7, 7, 18, 18), 60 * 16, 300 * 16);
        p.drawLine(20, 5, 21, 10);
        p.drawLine(21, 10, 16, 11);
        break;
    case ToolIcon::Curve:
        p.drawLine(5, 4, 5, 27);
        p.drawLine(5, 27, 28, 27);
        p.setPen(QPen(Warm, 2));
        p.drawPolyline(QPolygonF({{6, 20}, {11, 14}, {16, 18}, {21, 9}, {27, 12}}));
        break;
    case ToolIcon::MoveUp:
        p.drawLine(16, 6, 16, 26);
        p.drawLine(8, 14, 16, 6);
        p.drawLine(24, 14, 16, 6);
        break;
    case ToolIcon::MoveDown:
        p.drawLine(16, 6, 16, 26);
        p.drawLine(8, 18, 16, 26);
        p.drawLine(24, 18, 16, 26);
        break;
    case ToolIcon::Stop:
        p.fillRect(QRectF(8, 8, 16, 16), Warm);
        break;
    case ToolIcon::ZeroDistance: // a counter back to zero
        p.drawEllipse(QRectF(10, 6, 12, 20));
        p.setPen(QPen(Accent, 2));
        p.drawLine(4, 28, 28, 28);
        break;
    case ToolIcon::FixedCamera: // a camera on a tripod
        p.drawRoundedRect(QRectF(6, 5, 20, 12), 2, 2);
        p.drawEllipse(QRectF(12, 7, 8, 8));
        p.setPen(QPen(Accent, 2));
        p.drawLine(16, 17, 16, 22);
        p.drawLine(16, 22, 8, 28);
        p.drawLine(16, 22, 24, 28);
        break;
    case ToolIcon::Assessment: // a pipe's section with its graded lengths
        p.drawEllipse(QRectF(4, 4, 14, 14));
        p.fillRect(QRectF(4, 13, 14, 5), Warm);
        p.setPen(QPen(Accent, 3));
        p.drawLine(20, 28, 20, 20);
        p.drawLine(25, 28, 25, 14);
        p.setPen(QPen(Warm, 3));
        p.drawLine(30, 28, 30, 8);
        break;
    case ToolIcon::Library: // a drawer of survey files
        p.drawRect(QRectF(4, 6, 24, 9));
        p.drawRect(QRectF(4, 17, 24, 9));
        p.setPen(QPen(Accent, 2));
        p.drawLine(13, 10, 19, 10);
        p.drawLine(13, 21, 19, 21);
        break;
    case ToolIcon::Program: // a pipe's cross-section on the sonar screen
        drawSonar(p);
        p.setPen(QPen(Warm, 2));
        p.drawLine(11, 21, 21, 21);
        break;
    }
}

} // namespace

QIcon toolIcon(ToolIcon icon)
{
    QPixmap pixmap(Size, Size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    drawIcon(painter, icon);
    return QIcon(pixmap);
}

} // namespace dorvane
