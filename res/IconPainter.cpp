#include "res/IconPainter.h"

#include "res/CommandIds.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace {

// Every picture is drawn on a 16 by 16 grid and scaled to the size asked for.
using Drawing = std::function<void(QPainter&)>;

QPixmap Paint(int size, const Drawing& draw)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    draw(p);
    return pixmap;
}

QPen Outline(const QColor& c, qreal width = 1.0)
{
    return QPen(c, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QPainterPath Polygon(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(points)));
    path.closeSubpath();
    return path;
}

// A handheld radio: dark body, antenna, lit display and a few keys; `dx` moves it sideways.
void DrawRadio(QPainter& p, qreal dx)
{
    p.setPen(Outline(QColor(0x20, 0x20, 0x20)));
    p.setBrush(QColor(0x20, 0x20, 0x20));
    p.drawRect(QRectF(dx + 1.5, 0.5, 1.5, 5));
    p.setBrush(QColor(0x3c, 0x3c, 0x3c));
    p.drawRoundedRect(QRectF(dx + 0.5, 4.5, 6.5, 11), 1.2, 1.2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x9c, 0xe0, 0x8c));
    p.drawRect(QRectF(dx + 1.75, 6, 4, 3));
    p.setBrush(QColor(0xd0, 0xd0, 0xd0));
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 2; ++col)
            p.drawRect(QRectF(dx + 1.75 + col * 2.25, 10.5 + row * 2.25, 1.5, 1.5));
}

// A fat arrow along y = 8 from x0 to x1 (the head at x1).
void DrawArrow(QPainter& p, qreal x0, qreal x1, const QColor& fill)
{
    const qreal dir = x1 > x0 ? 1.0 : -1.0;
    const qreal neck = x1 - dir * 3.5;
    p.setPen(Outline(fill.darker(140)));
    p.setBrush(fill);
    p.drawPath(Polygon({{x0, 6.5}, {neck, 6.5}, {neck, 4}, {x1, 8}, {neck, 12}, {neck, 9.5}, {x0, 9.5}}));
}

void DrawNew(QPainter& p)
{
    p.setPen(Outline(QColor(0x50, 0x50, 0x50)));
    p.setBrush(Qt::white);
    p.drawPath(Polygon({{2.5, 0.5}, {9.5, 0.5}, {13.5, 4.5}, {13.5, 15.5}, {2.5, 15.5}}));
    p.setBrush(QColor(0xd8, 0xd8, 0xd8));
    p.drawPath(Polygon({{9.5, 0.5}, {9.5, 4.5}, {13.5, 4.5}}));
}

void DrawOpen(QPainter& p)
{
    p.setPen(Outline(QColor(0x9a, 0x70, 0x10)));
    p.setBrush(QColor(0xe0, 0xb0, 0x30));
    p.drawPath(Polygon({{0.5, 2.5}, {5.5, 2.5}, {7, 4.5}, {13.5, 4.5}, {13.5, 14.5}, {0.5, 14.5}}));
    p.setBrush(QColor(0xf8, 0xd8, 0x70));
    p.drawPath(Polygon({{3, 7.5}, {15.5, 7.5}, {13.5, 14.5}, {0.5, 14.5}}));
}

void DrawSave(QPainter& p)
{
    p.setPen(Outline(QColor(0x1e, 0x3f, 0x75)));
    p.setBrush(QColor(0x2f, 0x5f, 0xa8));
    p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(3, 1, 10, 6));
    p.setBrush(QColor(0xb8, 0xb8, 0xb8));
    p.drawRect(QRectF(4, 10, 8, 5.5));
    p.setBrush(QColor(0x1e, 0x3f, 0x75));
    p.drawRect(QRectF(5.5, 11, 2, 3.5));
}

void DrawRead(QPainter& p)
{
    DrawRadio(p, 0);
    DrawArrow(p, 8.5, 15.5, QColor(0x2e, 0xa0, 0x40));
}

void DrawWrite(QPainter& p)
{
    DrawRadio(p, 0);
    DrawArrow(p, 15.5, 8.5, QColor(0xe0, 0x60, 0x20));
}

void DrawPrint(QPainter& p)
{
    p.setPen(Outline(QColor(0x50, 0x50, 0x50)));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(3.5, 0.5, 9, 6));
    p.setBrush(QColor(0x80, 0x80, 0x80));
    p.drawRoundedRect(QRectF(0.5, 5.5, 15, 6.5), 1.5, 1.5);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(3.5, 9.5, 9, 6));
    p.setPen(Outline(QColor(0x90, 0x90, 0x90)));
    p.drawLine(QPointF(5, 12), QPointF(11, 12));
    p.drawLine(QPointF(5, 14), QPointF(9.5, 14));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x50, 0xe0, 0x50));
    p.drawEllipse(QRectF(12, 7, 2, 2));
}

void DrawNextLanguage(QPainter& p)
{
    const QRectF globe(0.5, 0.5, 12, 12);
    p.setPen(Outline(QColor(0x1c, 0x4f, 0x9c)));
    p.setBrush(QColor(0x3a, 0x7b, 0xd5));
    p.drawEllipse(globe);
    p.setPen(Outline(QColor(0xe8, 0xf0, 0xff), 0.9));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(3.5, 0.5, 6, 12));
    p.drawLine(QPointF(6.5, 0.5), QPointF(6.5, 12.5));
    p.drawLine(QPointF(0.5, 6.5), QPointF(12.5, 6.5));
    p.setPen(Outline(QColor(0xa0, 0x40, 0x00)));
    p.setBrush(QColor(0xff, 0x90, 0x20));
    p.drawPath(Polygon({{9.5, 9.5}, {15.5, 12.5}, {9.5, 15.5}}));
}

void DrawHelp(QPainter& p)
{
    p.setPen(Outline(QColor(0x1c, 0x4f, 0x9c)));
    p.setBrush(QColor(0x2f, 0x6f, 0xd0));
    p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    // The question mark drawn as strokes, so it looks the same with every font.
    p.setPen(Outline(Qt::white, 2.0));
    p.setBrush(Qt::NoBrush);
    QPainterPath hook;
    hook.moveTo(5.2, 5.6);
    hook.cubicTo(5.2, 2.6, 10.8, 2.6, 10.8, 5.6);
    hook.cubicTo(10.8, 7.6, 8, 7.6, 8, 10);
    p.drawPath(hook);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(6.9, 11.4, 2.2, 2.2));
}

// A curved arrow turning back to the left (undo), or mirrored to the right (redo).
void DrawTurn(QPainter& p, bool redo)
{
    if (redo) {
        p.translate(16, 0);
        p.scale(-1, 1);
    }
    p.setPen(QPen(QColor(0x20, 0x50, 0xA0), 2.0, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath arc;
    arc.moveTo(4.5, 7);
    arc.cubicTo(8, 3.5, 14, 5, 13, 11);
    p.drawPath(arc);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x20, 0x50, 0xA0));
    p.drawPath(Polygon({{1.5, 4}, {7.5, 3.5}, {4, 10}}));
}

QIcon MakeIcon(const Drawing& draw, std::initializer_list<int> sizes)
{
    QIcon icon;
    for (int size : sizes)
        icon.addPixmap(Paint(size, draw));
    return icon;
}

} // namespace

QIcon CIconPainter::ToolIcon(int command)
{
    Drawing draw;
    switch (command) {
    case cmd::FileNew:
        draw = DrawNew;
        break;
    case cmd::FileOpen:
        draw = DrawOpen;
        break;
    case cmd::FileSave:
        draw = DrawSave;
        break;
    case cmd::ReadFromRadio:
        draw = DrawRead;
        break;
    case cmd::WriteToRadio:
        draw = DrawWrite;
        break;
    case cmd::FilePrint:
        draw = DrawPrint;
        break;
    case cmd::NextLanguage:
        draw = DrawNextLanguage;
        break;
    case cmd::HelpContents:
        draw = DrawHelp;
        break;
    case cmd::EditUndo:
    case cmd::EditRedo:
        draw = [redo = command == cmd::EditRedo](QPainter& p) { DrawTurn(p, redo); };
        break;
    default:
        return {};
    }
    return MakeIcon(draw, {16, 32});
}

QIcon CIconPainter::ProgramIcon()
{
    return MakeIcon([](QPainter& p) { DrawRadio(p, 4.5); }, {16, 32, 48});
}

QPixmap CIconPainter::ProgramPixmap(int size)
{
    return Paint(size, [](QPainter& p) { DrawRadio(p, 4.5); });
}
