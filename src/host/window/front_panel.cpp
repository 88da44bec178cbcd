#include "host/window/front_panel.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

namespace host {

QRect soft_key_rect(int index) { return QRect(24 + 80 * index, 416, 41, 41); }

namespace {

void draw_screw(QPainter& p, QPointF c)
{
    QRadialGradient g(c + QPointF(-1.5, -1.5), 6);
    g.setColorAt(0, QColor(200, 200, 205));
    g.setColorAt(1, QColor(70, 72, 78));
    p.setPen(QPen(QColor(25, 25, 28), 1));
    p.setBrush(g);
    p.drawEllipse(c, 5.5, 5.5);
    p.setPen(QPen(QColor(40, 40, 45), 1.4));
    p.drawLine(c + QPointF(-3.5, 0), c + QPointF(3.5, 0));
    p.drawLine(c + QPointF(0, -3.5), c + QPointF(0, 3.5));
}

void draw_key(QPainter& p, const QRect& r)
{
    // Recess, then a raised square cap with a soft top light.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(12, 12, 14));
    p.drawRoundedRect(QRectF(r).adjusted(-3, -3, 3, 3), 5, 5);
    QLinearGradient cap(r.topLeft(), r.bottomLeft());
    cap.setColorAt(0, QColor(92, 94, 100));
    cap.setColorAt(0.5, QColor(58, 60, 66));
    cap.setColorAt(1, QColor(38, 39, 44));
    p.setBrush(cap);
    p.setPen(QPen(QColor(20, 20, 22), 1));
    p.drawRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    p.setPen(QPen(QColor(130, 132, 140, 160), 1));
    p.drawLine(QPointF(r.left() + 5, r.top() + 2.5), QPointF(r.right() - 5, r.top() + 2.5));
}

void draw_knob(QPainter& p, const QRect& r)
{
    const QPointF c = QRectF(r).center();
    const double radius = r.width() / 2.0;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(10, 10, 12));
    p.drawEllipse(c, radius + 4, radius + 4);
    // Knurled rim.
    QRadialGradient rim(c + QPointF(-6, -8), radius * 1.3);
    rim.setColorAt(0, QColor(110, 112, 118));
    rim.setColorAt(1, QColor(30, 31, 35));
    p.setBrush(rim);
    p.drawEllipse(c, radius, radius);
    p.setPen(QPen(QColor(15, 15, 18), 1.2));
    for (int i = 0; i < 48; ++i) {
        const double a = i * 2 * M_PI / 48;
        p.drawLine(c + QPointF(std::cos(a), std::sin(a)) * (radius - 4),
                   c + QPointF(std::cos(a), std::sin(a)) * (radius - 0.5));
    }
    // Cap.
    QRadialGradient cap(c + QPointF(-5, -6), radius);
    cap.setColorAt(0, QColor(150, 152, 158));
    cap.setColorAt(0.6, QColor(72, 74, 80));
    cap.setColorAt(1, QColor(40, 41, 46));
    p.setPen(QPen(QColor(20, 20, 22), 1));
    p.setBrush(cap);
    p.drawEllipse(c, radius - 5, radius - 5);
    // Index mark.
    p.setPen(QPen(QColor(235, 235, 235), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(0, -(radius - 8)), c + QPointF(0, -(radius - 15)));
}

} // namespace

QPixmap draw_front_panel()
{
    QPixmap pm(FRONT_WIDTH, FRONT_HEIGHT);
    pm.fill(QColor(48, 50, 54));
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);

    // Bezel: a dark anodised face with a bevelled edge.
    const QRectF face(3, 3, FRONT_WIDTH - 6, FRONT_HEIGHT - 6);
    QLinearGradient body(face.topLeft(), face.bottomLeft());
    body.setColorAt(0, QColor(58, 60, 65));
    body.setColorAt(1, QColor(30, 31, 35));
    p.setPen(QPen(QColor(90, 92, 98), 2));
    p.setBrush(body);
    p.drawRoundedRect(face, 14, 14);
    p.setPen(QPen(QColor(18, 18, 20), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(face.adjusted(5, 5, -5, -5), 10, 10);

    for (QPointF c : {QPointF(17, 17), QPointF(FRONT_WIDTH - 17, 17), QPointF(17, FRONT_HEIGHT - 17),
                      QPointF(FRONT_WIDTH - 17, FRONT_HEIGHT - 17)})
        draw_screw(p, c);

    // Maker's mark, top left: red "S", white "orvik", then the model.
    QFont brand("DejaVu Sans", 17, QFont::Bold);
    p.setFont(brand);
    p.setPen(QColor(225, 30, 30));
    p.drawText(QPointF(36, 44), "S");
    const int s_width = QFontMetrics(brand).horizontalAdvance("S");
    p.setPen(QColor(240, 240, 240));
    p.drawText(QPointF(36 + s_width, 44), "orvik");
    QFont model("DejaVu Sans", 9, QFont::Bold);
    p.setFont(model);
    p.setPen(QColor(170, 172, 178));
    p.drawText(QPointF(36 + QFontMetrics(brand).horizontalAdvance("Sorvik") + 10, 43), "EMS G2");

    // LCD window: a recessed frame around the panel.
    const QRectF lcd = QRectF(LCD_RECT);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(8, 8, 10));
    p.drawRoundedRect(lcd.adjusted(-8, -8, 8, 8), 6, 6);
    QLinearGradient lip(lcd.topLeft(), lcd.bottomLeft());
    lip.setColorAt(0, QColor(20, 20, 22));
    lip.setColorAt(1, QColor(70, 72, 78));
    p.setPen(QPen(QBrush(lip), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(lcd.adjusted(-8, -8, 8, 8), 6, 6);
    p.fillRect(LCD_RECT, Qt::black);

    for (int i = 0; i < 5; ++i) draw_key(p, soft_key_rect(i));
    draw_knob(p, KNOB_RECT);

    // Small legends under the knob's rotation buttons.
    QFont legend("DejaVu Sans", 6, QFont::Bold);
    p.setFont(legend);
    p.setPen(QColor(150, 152, 158));
    p.drawText(QRectF(440, 386, 97, 12), Qt::AlignCenter, "PUSH / TURN");
    return pm;
}

} // namespace host
