// The larger pictures: the engine computer (180 x 120), the splash picture and
// the sample info pages (480 x 272 each).
#include <QFontMetricsF>
#include <QtMath>

#include "art.h"

namespace art {
namespace {

constexpr int W = 480, H = 272;

void disc(QPainter& p, QPointF c, double r, int colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(pal(colour));
    p.drawEllipse(c, r, r);
}

void screw(QPainter& p, QPointF c)
{
    disc(p, c, 3.5, G90);
    p.setPen(QPen(pal(G30), 1.5));
    p.drawLine(c + QPointF(-2, 2), c + QPointF(2, -2));
}

// A multi-pin connector housing at r with cols x rows pins.
void connector(QPainter& p, const QRectF& r, int cols, int rows)
{
    p.setPen(QPen(pal(G80), 1.5));
    p.setBrush(pal(G20));
    p.drawRoundedRect(r, 3, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(pal(G60));
    p.drawRoundedRect(QRectF(r.center().x() - 7, r.top() - 5, 14, 6), 1.5, 1.5);
    const double dx = (r.width() - 10) / cols, dy = (r.height() - 10) / rows;
    for (int j = 0; j < rows; ++j)
        for (int i = 0; i < cols; ++i)
            disc(p, {r.left() + 5 + dx * (i + 0.5), r.top() + 5 + dy * (j + 0.5)}, 1.6, SILVER);
}

QImage engine_computer()
{
    QImage img = canvas(180, 120);
    QPainter p;
    begin(p, img);
    // Mounting flanges behind the box.
    p.setPen(Qt::NoPen);
    p.setBrush(pal(G50));
    p.drawRoundedRect(QRectF(1, 86, 178, 18), 3, 3);
    disc(p, {9, 95}, 3.5, BLACK);
    disc(p, {171, 95}, 3.5, BLACK);
    // Cooling fins on top.
    for (int x = 16; x <= 158; x += 8) {
        p.fillRect(QRectF(x, 6, 5, 20), pal(G60));
        p.fillRect(QRectF(x, 6, 1.5, 20), pal(G90));
    }
    // Body with a lit top edge and a shadowed bottom edge.
    p.setBrush(pal(G40));
    p.drawRoundedRect(QRectF(12, 24, 156, 84), 4, 4);
    p.fillRect(QRectF(14, 24, 152, 2), pal(G80));
    p.fillRect(QRectF(14, 105, 152, 2), pal(G20));
    for (QPointF c : {QPointF(19, 32), QPointF(161, 32), QPointF(19, 100), QPointF(161, 100)})
        screw(p, c);
    // Name plate.
    p.setPen(QPen(pal(SILVER), 1));
    p.setBrush(pal(BLACK));
    p.drawRect(QRectF(26.5, 36.5, 58, 38));
    p.fillRect(QRectF(27, 66, 58, 8), pal(RED));
    fill_centred(p, text_path("ECU", sans(20)), 55.5, 50, pal(WHITE));
    // Status lamp.
    disc(p, {34, 90}, 4.5, G20);
    disc(p, {34, 90}, 3, GREEN);
    p.setPen(pal(SILVER));
    p.setFont(sans(9));
    p.drawText(QPointF(42, 93.5), "PWR");
    // Two harness connectors.
    connector(p, QRectF(90, 40, 30, 56), 3, 6);
    connector(p, QRectF(126, 40, 28, 56), 2, 6);
    return img;
}

// Text helpers for the 480 x 272 pages; y is the baseline.
void text(QPainter& p, double x, double y, const QString& s, const QFont& f, int colour,
          int align = Qt::AlignLeft)
{
    p.setFont(f);
    p.setPen(pal(colour));
    const double w = QFontMetricsF(f).horizontalAdvance(s);
    if (align == Qt::AlignRight) x -= w;
    if (align == Qt::AlignHCenter) x -= w / 2;
    p.drawText(QPointF(x, y), s);
}

double text_width(const QString& s, const QFont& f)
{
    return QFontMetricsF(f).horizontalAdvance(s);
}

// A page heading like the instrument's title bar: red title, silver note at
// the right, white rule across row 40.
void heading(QPainter& p, const QString& title, const QString& note)
{
    text(p, 12, 29, title, sans(22), RED);
    text(p, 468, 29, note, sans(14, false), SILVER, Qt::AlignRight);
    p.fillRect(QRect(0, 40, W, 1), pal(WHITE));
}

// Label at x, value right-aligned at x_end, grey dot leaders between them.
void leader_row(QPainter& p, double y, double x, const QString& label, int label_colour,
                const QString& value, int value_colour, const QFont& f, double x_end = 468)
{
    text(p, x, y, label, f, label_colour);
    text(p, x_end, y, value, f, value_colour, Qt::AlignRight);
    const double from = x + text_width(label, f) + 8, to = x_end - text_width(value, f) - 8;
    for (double d = std::ceil(from / 6) * 6; d <= to; d += 6)
        p.fillRect(QRectF(d, y - 2, 2, 2), pal(G70));
}

void footer(QPainter& p, const QString& note)
{
    p.fillRect(QRect(0, 247, W, 1), pal(G50));
    text(p, 240, 265, note, sans(12, false), GREY, Qt::AlignHCenter);
}

QImage splash()
{
    QImage img = canvas(W, H);
    QPainter p;
    begin(p, img);
    // A faint instrument scale behind the logo.
    const QPointF c(240, 206);
    const double r = 176;
    auto polar = [&](double rr, double deg) {
        const double a = qDegreesToRadians(deg);
        return QPointF(c.x() + rr * std::cos(a), c.y() - rr * std::sin(a));
    };
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(pal(G30), 2, Qt::SolidLine, Qt::FlatCap));
    p.drawArc(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), 40 * 16, 120 * 16);
    p.setPen(QPen(QColor(0x50, 0, 0), 4, Qt::SolidLine, Qt::FlatCap));
    p.drawArc(QRectF(c.x() - r + 1, c.y() - r + 1, 2 * r - 2, 2 * r - 2), 20 * 16, 20 * 16);
    for (int k = 0; k <= 28; ++k) {
        const double a = 160 - 5 * k;
        const bool major = k % 4 == 0;
        p.setPen(QPen(pal(major ? G40 : G30), major ? 2 : 1.5, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(polar(r - 2, a), polar(r - (major ? 14 : 8), a));
    }
    // The logo: red S, white orvik, as one word centred on the screen.
    const QFont logo = sans(84);
    QPainterPath s = text_path("S", logo), rest = text_path("orvik", logo);
    const double adv = QFontMetricsF(logo).horizontalAdvance("S");
    rest.translate(adv, 0);
    const QRectF box = s.boundingRect().united(rest.boundingRect());
    const QPointF shift(240 - box.center().x(), 128 - box.bottom());
    s.translate(shift);
    rest.translate(shift);
    // A black margin keeps the scale off the letters.
    p.setPen(QPen(pal(BLACK), 8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(s);
    p.drawPath(rest);
    p.fillPath(s, pal(RED));
    p.fillPath(rest, pal(WHITE));
    // Subtitle between two fine rules.
    QFont sub = sans(26);
    sub.setLetterSpacing(QFont::AbsoluteSpacing, 6);
    const QPainterPath g2 = text_path("EMS G2", sub);
    const double gw = g2.boundingRect().width();
    fill_centred(p, g2, 240, 160, pal(SILVER));
    p.fillRect(QRectF(240 - gw / 2 - 70, 160, 56, 1), pal(G60));
    p.fillRect(QRectF(240 + gw / 2 + 14, 160, 56, 1), pal(G60));
    QFont small = sans(12, false);
    small.setLetterSpacing(QFont::AbsoluteSpacing, 3);
    fill_centred(p, text_path("ENGINE MONITORING SYSTEM", small), 240, 196, pal(G90));
    // Rows 238..271 stay black: the firmware writes the registration, serial
    // number and version there.
    return img;
}

QImage vspeeds()
{
    QImage img = canvas(W, H);
    QPainter p;
    begin(p, img);
    heading(p, "V-SPEEDS", "KIAS");
    struct Row {
        const char* name;
        const char* what;
        const char* value;
        int colour;
    };
    const Row rows[] = {
        {"VSO", "STALL, FULL FLAP", "40", WHITE},
        {"VS1", "STALL, CLEAN", "47", WHITE},
        {"VX", "BEST ANGLE OF CLIMB", "60", WHITE},
        {"VY", "BEST RATE OF CLIMB", "70", WHITE},
        {"VG", "BEST GLIDE", "68", GREEN},
        {"VFE", "MAX FLAPS EXTENDED", "80", WHITE},
        {"VA", "MANOEUVRING SPEED", "98", WHITE},
        {"VNO", "MAX STRUCTURAL CRUISE", "110", YELLOW},
        {"VNE", "NEVER EXCEED", "135", RED},
    };
    const QFont bold = sans(16), plain = sans(16, false, true), value = sans(16, true, true);
    double y = 62;
    for (const Row& r : rows) {
        text(p, 16, y, r.name, bold, WHITE);
        leader_row(p, y, 80, r.what, SILVER, "", r.colour, plain, 468 - text_width(r.value, value));
        text(p, 468, y, r.value, value, r.colour, Qt::AlignRight);
        y += 20.5;
    }
    footer(p, "SAMPLE CARD - USE THE FIGURES OF YOUR FLIGHT MANUAL");
    return img;
}

QImage engine_failure()
{
    QImage img = canvas(W, H);
    QPainter p;
    begin(p, img);
    heading(p, "ENGINE FAILURE IN FLIGHT", "EMERGENCY");
    const QFont f = sans(14, false, true), b = sans(14, true, true);
    struct Row {
        const char* item;
        const char* action;
    };
    const Row first[] = {
        {"AIRSPEED", "BEST GLIDE 68 KT"},  {"LANDING SITE", "SELECT"},
        {"FUEL SELECTOR", "OTHER TANK"},   {"ELECTRIC FUEL PUMP", "ON"},
        {"IGNITION", "BOTH ON"},           {"RESTART", "IF HEIGHT PERMITS"},
    };
    const Row second[] = {
        {"MAYDAY / SQUAWK", "121.5 / 7700"},
        {"FUEL VALVE AND IGNITION", "OFF"},
        {"MASTER SWITCH", "OFF BEFORE TOUCHDOWN"},
        {"HARNESS", "TIGHT"},
    };
    double y = 60;
    int n = 1;
    for (const Row& r : first) {
        text(p, 16, y, QString::number(n++) + ".", b, SILVER);
        leader_row(p, y, 44, r.item, WHITE, r.action, WHITE, f);
        y += 17.5;
    }
    text(p, 16, y + 2, "IF NO RESTART:", sans(14), RED);
    y += 20;
    for (const Row& r : second) {
        text(p, 16, y, QString::number(n++) + ".", b, SILVER);
        leader_row(p, y, 44, r.item, WHITE, r.action, WHITE, f);
        y += 17.5;
    }
    footer(p, "SAMPLE CARD - FOLLOW YOUR AIRCRAFT'S FLIGHT MANUAL");
    return img;
}

QImage radio()
{
    QImage img = canvas(W, H);
    QPainter p;
    begin(p, img);
    heading(p, "RADIO FREQUENCIES", "COM / XPDR");
    const QFont f = sans(15, false, true), b = sans(15, true, true), sec = sans(13);
    double y = 63;
    text(p, 16, y, "EMERGENCY", sec, RED);
    y += 19;
    leader_row(p, y, 16, "GUARD", WHITE, "121.500", WHITE, b);
    y += 24;
    text(p, 16, y, "HOME FIELD (SAMPLE)", sec, RED);
    y += 19;
    leader_row(p, y, 16, "AIR / GROUND", WHITE, "123.505", WHITE, b);
    y += 18;
    leader_row(p, y, 16, "FLIGHT INFORMATION", WHITE, "124.750", WHITE, b);
    y += 18;
    leader_row(p, y, 16, "APPROACH", WHITE, "119.280", WHITE, b);
    y += 24;
    text(p, 16, y, "TRANSPONDER", sec, RED);
    y += 19;
    struct Code {
        const char* code;
        const char* what;
    };
    const Code codes[] = {{"7700", "EMERGENCY"}, {"7600", "RADIO FAILURE"},
                          {"7500", "UNLAWFUL INTERFERENCE"}};
    for (const Code& c : codes) {
        text(p, 16, y, c.code, b, WHITE);
        text(p, 70, y, c.what, f, SILVER);
        y += 18;
    }
    footer(p, "SAMPLE CARD - CHECK CURRENT FREQUENCIES BEFORE EVERY FLIGHT");
    return img;
}

} // namespace

bool make_pictures(const QString& dir)
{
    return save(engine_computer(), dir + "/picture_engine_computer.png") &&
           save(splash(), dir + "/SPLASH.png") && save(vspeeds(), dir + "/VSPEEDS.png") &&
           save(engine_failure(), dir + "/ENGFAIL.png") && save(radio(), dir + "/RADIO.png");
}

} // namespace art
