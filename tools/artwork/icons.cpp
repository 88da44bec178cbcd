// The 50 x 50 icons: notice symbols and menu tiles. One style throughout:
// solid white shapes with red accents on black, strokes of 2 to 3 pixels,
// nothing thinner than a pixel so that every shape stays crisp at 1:1.
#include <QtMath>

#include "art.h"

namespace art {
namespace {

constexpr int S = 50; // icon size

QPen pen(int colour, double width)
{
    return QPen(pal(colour), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A point at angle deg (0 = right, counter-clockwise, y downward) and radius r.
QPointF polar(QPointF c, double r, double deg)
{
    const double a = qDegreesToRadians(deg);
    return {c.x() + r * std::cos(a), c.y() - r * std::sin(a)};
}

// A cog wheel with n trapezoid teeth.
QPainterPath cog(QPointF c, double outer, double root, int n, double hole)
{
    QPainterPath path;
    const double pitch = 360.0 / n;
    QPolygonF poly;
    for (int k = 0; k < n; ++k) {
        const double a = k * pitch;
        poly << polar(c, root, a - 0.30 * pitch) << polar(c, outer, a - 0.17 * pitch)
             << polar(c, outer, a + 0.17 * pitch) << polar(c, root, a + 0.30 * pitch)
             << polar(c, root, a + 0.50 * pitch);
    }
    path.addPolygon(poly);
    path.closeSubpath();
    QPainterPath h;
    h.addEllipse(c, hole, hole);
    return path.subtracted(h);
}

// An aeroplane seen from above, nose up, centred on c, wing span w.
QPainterPath aeroplane(QPointF c, double w)
{
    const double s = w / 20.0;
    auto P = [&](double x, double y) { return QPointF(c.x() + x * s, c.y() + y * s); };
    QPainterPath path;
    path.addRoundedRect(QRectF(P(-1.6, -10), P(1.6, 9)), 1.6 * s, 1.6 * s);
    QPolygonF wing;
    wing << P(-1.5, -3) << P(1.5, -3) << P(10, 1) << P(10, 3) << P(-10, 3) << P(-10, 1);
    path.addPolygon(wing);
    QPolygonF tail;
    tail << P(-1, 5.5) << P(1, 5.5) << P(4.5, 7.5) << P(4.5, 9.2) << P(-4.5, 9.2) << P(-4.5, 7.5);
    path.addPolygon(tail);
    return path.simplified();
}

// A drop, tip up, round part centred on c.
QPainterPath drop(QPointF c, double r)
{
    QPainterPath path;
    path.moveTo(c.x(), c.y() - 2.2 * r);
    path.cubicTo(c.x() + 0.3 * r, c.y() - 1.4 * r, c.x() + r, c.y() - 0.8 * r, c.x() + r, c.y());
    path.arcTo(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), 0, -180);
    path.cubicTo(c.x() - r, c.y() - 0.8 * r, c.x() - 0.3 * r, c.y() - 1.4 * r, c.x(), c.y() - 2.2 * r);
    return path;
}

void disc(QPainter& p, QPointF c, double r, int colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(pal(colour));
    p.drawEllipse(c, r, r);
}

QImage attention()
{
    QImage img = canvas(S, S);
    QPainter p;
    begin(p, img);
    disc(p, {25, 25}, 24, WHITE);
    QPainterPath bar;
    bar.moveTo(20.5, 11);
    bar.quadTo(25, 7.5, 29.5, 11);
    bar.lineTo(27, 31);
    bar.lineTo(23, 31);
    bar.closeSubpath();
    p.fillPath(bar, pal(RED));
    disc(p, {25, 38}, 3.6, RED);
    return img;
}

QImage question()
{
    QImage img = canvas(S, S);
    QPainter p;
    begin(p, img);
    disc(p, {25, 25}, 24, WHITE);
    fill_centred(p, text_path("?", sans(38)), 25.5, 25, pal(RED));
    return img;
}

QImage flight_log()
{
    QImage img = canvas(S, S);
    QPainter p;
    begin(p, img);
    p.setPen(Qt::NoPen);
    p.setBrush(pal(WHITE));
    p.drawRoundedRect(QRectF(9, 4, 33, 42), 3, 3);
    p.setBrush(pal(SILVER));
    p.drawRoundedRect(QRectF(9, 4, 8, 42), 3, 3);
    p.fillRect(QRectF(17, 4, 1.5, 42), pal(BLACK));
    p.fillPath(aeroplane({30, 19}, 19), pal(RED));
    p.fillRect(QRectF(22, 34, 16, 2), pal(G80));
    p.fillRect(QRectF(22, 39, 11, 2), pal(G80));
    return img;
}

// A round instrument face: white bezel, ticks, needle at fraction f of a 270
// degree sweep.
void dial(QPainter& p, bool bands, double f)
{
    const QPointF c(25, 25);
    p.setPen(pen(WHITE, 3));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, 22.5, 22.5);
    auto angle = [](double v) { return 225.0 - 270.0 * v; };
    if (bands) {
        struct Band { double from, to; int colour; };
        const Band list[] = {{0.0, 0.62, GREEN}, {0.62, 0.80, YELLOW}, {0.80, 1.0, RED}};
        for (const Band& b : list) {
            p.setPen(QPen(pal(b.colour), 4, Qt::SolidLine, Qt::FlatCap));
            const QRectF r(c.x() - 16, c.y() - 16, 32, 32);
            p.drawArc(r, int(angle(b.from) * 16), int((angle(b.to) - angle(b.from)) * 16));
        }
    } else {
        p.setPen(QPen(pal(WHITE), 2, Qt::SolidLine, Qt::FlatCap));
        for (int k = 1; k <= 5; ++k) { // the end ticks would run into the caption
            const double a = angle(k / 6.0);
            p.drawLine(polar(c, 13, a), polar(c, 18, a));
        }
    }
    p.setPen(pen(RED, 3));
    p.drawLine(c, polar(c, 16, angle(f)));
    disc(p, c, 4, SILVER);
}

QImage ems_setup()
{
    QImage img = canvas(S, S);
    QPainter p;
    begin(p, img);
    dial(p, true, 0.5);
    return img;
}

QImage map_setup()
{
    QImage img = canvas(S, S);
    QPainter p;
    begin(p, img);
    dial(p, false, 0.3);
    fill_centred(p, text_path("MAP", sans(10)), 25, 35.5, pal(WHITE));
    return img;
}

QImage gps_setup()
{
    QImage img = canvas(S, S);
    QPainter p;
    begin(p, img);
    const QPointF c(22, 28);
    const double r = 18;
    p.setBrush(Qt::NoBrush);
    p.setPen(pen(SILVER, 1.5));
    p.drawEllipse(c, 8, r);
    p.drawLine(QPointF(c.x(), c.y() - r), QPointF(c.x(), c.y() + r));
    p.drawLine(QPointF(c.x() - r, c.y()), QPointF(c.x() + r, c.y()));
    p.drawLine(QPointF(c.x() - 15.5, c.y() - 9), QPointF(c.x() + 15.5, c.y() - 9));
    p.drawLine(QPointF(c.x() - 15.5, c.y() + 9), QPointF(c.x() + 15.5, c.y() + 9));
    p.setPen(pen(WHITE, 2.5));
    p.drawEllipse(c, r, r);
    // Position mark over the globe, cut free by a black outline.
    QPainterPath pin;
    pin.moveTo(36, 30);
    pin.cubicTo(33, 24, 28, 19.5, 28, 14);
    pin.arcTo(QRectF(28, 6, 16, 16), 180, -180);
    pin.cubicTo(44, 19.5, 39, 24, 36, 30);
    pin.closeSubpath();
    p.setPen(QPen(pal(BLACK), 3));
    p.setBrush(Qt::NoBrush);
    p.drawPath(pin);
    p.fillPath(pin, pal(RED));
    disc(p, {36, 14}, 3, WHITE);
    return img;
}

QImage timers_setup()
{
    QImage img = canvas(S, S);
    QPainter p;
    begin(p, img);
    const QPointF c(25, 28);
    p.setPen(Qt::NoPen);
    p.setBrush(pal(WHITE));
    p.drawRoundedRect(QRectF(20, 2, 10, 5), 1.5, 1.5);
    p.drawRect(QRectF(23, 6, 4, 4));
    p.save();
    p.translate(c);
    p.rotate(45);
    p.drawRoundedRect(QRectF(-3, -24, 6, 5), 1.5, 1.5);
    p.restore();
    p.setBrush(pal(RED));
    p.drawPie(QRectF(c.x() - 13, c.y() - 13, 26, 26), 90 * 16, -125 * 16);
    p.setPen(pen(WHITE, 3.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, 18.5, 18.5);
    p.setPen(QPen(pal(WHITE), 2.5, Qt::SolidLine, Qt::FlatCap));
    for (int a = 0; a < 360; a += 90) p.drawLine(polar(c, 14, a), polar(c, 17, a));
    p.setPen(pen(WHITE, 2));
    p.drawLine(c, polar(c, 13, 90));
    disc(p, c, 2.5, WHITE);
    return img;
}

QImage data_rec_setup()
{
    QImage img = canvas(S, S);
    QPainter p;
    begin(p, img);
    QPolygonF card;
    card << QPointF(10, 3) << QPointF(32, 3) << QPointF(41, 12) << QPointF(41, 47)
         << QPointF(10, 47);
    QPainterPath body;
    body.addPolygon(card);
    body.closeSubpath();
    p.setPen(pen(WHITE, 2));
    p.setBrush(pal(WHITE));
    p.drawPath(body);
    for (int k = 0; k < 4; ++k) p.fillRect(QRectF(14 + 5 * k, 6, 3, 7), pal(G80));
    fill_centred(p, text_path("SD", sans(11)), 25.5, 22, pal(BLACK));
    QPolygonF trace;
    trace << QPointF(14, 37) << QPointF(19, 37) << QPointF(22, 30) << QPointF(26, 43)
          << QPointF(30, 33) << QPointF(33, 37) << QPointF(37, 37);
    p.setPen(pen(RED, 2.5));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(trace);
    return img;
}

QImage misc_setup()
{
    QImage img = canvas(S, S);
    QPainter p;
    begin(p, img);
    p.fillPath(cog({20, 20}, 17.5, 13, 8, 5.5), pal(WHITE));
    const QPainterPath small = cog({37, 37}, 11, 8, 6, 3.5);
    p.setPen(QPen(pal(BLACK), 4));
    p.setBrush(Qt::NoBrush);
    p.drawPath(small);
    p.fillPath(small, pal(RED));
    return img;
}

QImage fuel_setup()
{
    QImage img = canvas(S, S);
    QPainter p;
    begin(p, img);
    p.setPen(Qt::NoPen);
    p.setBrush(pal(WHITE));
    p.drawRoundedRect(QRectF(8, 5, 24, 38), 3, 3);
    p.drawRoundedRect(QRectF(5, 42, 30, 5), 1.5, 1.5);
    p.setBrush(pal(BLACK));
    p.drawRoundedRect(QRectF(12, 9, 16, 13), 1.5, 1.5);
    p.fillPath(drop({20, 18}, 3), pal(RED));
    // Hose from the lower right of the pump up to the nozzle.
    QPainterPath hose;
    hose.moveTo(32, 34);
    hose.lineTo(37, 34);
    hose.quadTo(41, 34, 41, 30);
    hose.lineTo(41, 16);
    p.setPen(QPen(pal(WHITE), 3, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(hose);
    QPolygonF nozzle;
    nozzle << QPointF(38.5, 18) << QPointF(43.5, 18) << QPointF(43.5, 11) << QPointF(41, 7.5)
           << QPointF(34, 7.5) << QPointF(34, 11) << QPointF(38.5, 11);
    p.setPen(Qt::NoPen);
    p.setBrush(pal(WHITE));
    p.drawPolygon(nozzle);
    return img;
}

QImage oil_setup()
{
    QImage img = canvas(S, S);
    QPainter p;
    begin(p, img);
    p.setBrush(Qt::NoBrush);
    p.setPen(pen(WHITE, 3));
    p.drawEllipse(QPointF(8, 29), 5, 7.5);
    p.setPen(pen(WHITE, 3.5));
    p.drawLine(QPointF(27, 25), QPointF(45, 12));
    QPolygonF body;
    body << QPointF(7, 40) << QPointF(7, 26) << QPointF(14, 19) << QPointF(27, 19)
         << QPointF(34, 26) << QPointF(34, 40);
    p.setPen(Qt::NoPen);
    p.setBrush(pal(WHITE));
    p.drawPolygon(body);
    p.drawRoundedRect(QRectF(16.5, 13, 8, 5), 1, 1);
    p.drawRoundedRect(QRectF(4, 39, 33, 5), 1.5, 1.5);
    p.fillPath(drop({45, 26}, 3), pal(RED));
    return img;
}

QImage temperature_setup()
{
    QImage img = canvas(S, S);
    QPainter p;
    begin(p, img);
    const QPointF bulb(21, 38);
    p.setPen(pen(WHITE, 2.5));
    p.setBrush(pal(BLACK));
    p.drawRoundedRect(QRectF(15.5, 3, 11, 32), 5.5, 5.5);
    disc(p, bulb, 9, WHITE);
    disc(p, bulb, 6, RED);
    p.fillRect(QRectF(19, 14, 4, 24), pal(RED));
    p.setPen(QPen(pal(WHITE), 2, Qt::SolidLine, Qt::FlatCap));
    for (int k = 0; k < 5; ++k) {
        const double y = 7 + 6 * k;
        p.drawLine(QPointF(31, y), QPointF(k % 2 ? 36 : 40, y));
    }
    return img;
}

QImage analog_setup()
{
    QImage img = canvas(S, S);
    QPainter p;
    begin(p, img);
    p.setPen(QPen(pal(G60), 1));
    for (int x = 15; x < 45; x += 10) p.drawLine(QPointF(x + 0.5, 10), QPointF(x + 0.5, 40));
    p.drawLine(QPointF(5, 25.5), QPointF(45, 25.5));
    QPainterPath wave;
    for (int k = 0; k <= 80; ++k) {
        const double x = 7 + 36.0 * k / 80;
        const double y = 25.5 - 10 * std::sin(k / 80.0 * 2 * M_PI * 1.5);
        if (k == 0)
            wave.moveTo(x, y);
        else
            wave.lineTo(x, y);
    }
    p.setPen(pen(RED, 2.5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(wave);
    p.setPen(pen(WHITE, 2.5));
    p.drawRoundedRect(QRectF(3, 7, 44, 37), 3, 3);
    return img;
}

// 50 x 42: the battery is wider than tall, so the picture ends below it.
QImage electrical_setup()
{
    QImage img = canvas(S, 42);
    QPainter p;
    begin(p, img);
    p.setPen(Qt::NoPen);
    p.setBrush(pal(SILVER));
    p.drawRoundedRect(QRectF(9, 3, 9, 7), 1.5, 1.5);
    p.drawRoundedRect(QRectF(32, 3, 9, 7), 1.5, 1.5);
    p.setBrush(pal(WHITE));
    p.drawRoundedRect(QRectF(3, 8, 44, 31), 3, 3);
    p.fillRect(QRectF(10, 22, 11, 3.5), pal(RED));
    p.fillRect(QRectF(13.75, 18.25, 3.5, 11), pal(RED));
    p.fillRect(QRectF(30, 22, 11, 3.5), pal(BLACK));
    return img;
}

QImage ecu_setup()
{
    QImage img = canvas(S, S);
    QPainter p;
    begin(p, img);
    for (int k = 0; k < 4; ++k) {
        const double t = 14.5 + 7 * k;
        p.fillRect(QRectF(t, 3, 3, 9), pal(SILVER));
        p.fillRect(QRectF(t, 38, 3, 9), pal(SILVER));
        p.fillRect(QRectF(3, t, 9, 3), pal(SILVER));
        p.fillRect(QRectF(38, t, 9, 3), pal(SILVER));
    }
    p.setPen(pen(WHITE, 2));
    p.setBrush(pal(G30));
    p.drawRoundedRect(QRectF(10, 10, 30, 30), 2.5, 2.5);
    disc(p, {16, 16}, 2, RED);
    fill_centred(p, text_path("ECU", sans(11)), 25, 27, pal(WHITE));
    return img;
}

} // namespace

bool make_icons(const QString& dir)
{
    struct Item {
        const char* file;
        QImage (*draw)();
    };
    const Item items[] = {
        {"icon_attention", attention},         {"icon_question", question},
        {"icon_flight_log", flight_log},       {"icon_ems_setup", ems_setup},
        {"icon_gps_setup", gps_setup},         {"icon_timers_setup", timers_setup},
        {"icon_data_rec_setup", data_rec_setup}, {"icon_misc_setup", misc_setup},
        {"icon_fuel_setup", fuel_setup},       {"icon_map_setup", map_setup},
        {"icon_oil_setup", oil_setup},         {"icon_temperature_setup", temperature_setup},
        {"icon_analog_setup", analog_setup},   {"icon_electrical_setup", electrical_setup},
        {"icon_ecu_setup", ecu_setup},
    };
    for (const Item& it : items)
        if (!save(it.draw(), dir + "/" + it.file + ".png")) return false;
    return true;
}

} // namespace art
