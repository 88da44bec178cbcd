// appicon: draws the program's desktop icon, a simple instrument face (a
// dial with green, yellow and red bands, ticks and a needle in a bezel),
// once as scalable SVG and once as PNG files in the given pixel sizes.
//
//   appicon OUTPUT_DIR SIZE...
//
// writes OUTPUT_DIR/sorvik-ems.svg and OUTPUT_DIR/sorvik-ems-SIZE.png. Both
// come from the one list of shapes below, on a 256 x 256 canvas.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr double CANVAS = 256;
constexpr double CX = 128, CY = 132; // the dial's centre
constexpr double PI = 3.14159265358979323846;

enum class Kind { RoundRect, Circle, Arc, Line, Polygon };

struct Shape {
    Kind kind;
    std::vector<double> v; // RoundRect x y w h r; Circle cx cy r; Arc cx cy r from to (degrees clockwise from up); Line x1 y1 x2 y2; Polygon x y ...
    const char* fill;      // nullptr: none
    const char* stroke;    // nullptr: none
    double width = 0;
};

QPointF on_dial(double r, double deg)
{
    const double a = deg * PI / 180;
    return {CX + r * std::sin(a), CY - r * std::cos(a)};
}

// The dial spans from -135 to +135 degrees.
std::vector<Shape> face()
{
    std::vector<Shape> s;
    s.push_back({Kind::RoundRect, {8, 8, 240, 240, 44}, "#3a3f47", "#1c1f24", 6});
    s.push_back({Kind::Circle, {CX, CY, 100}, "#0d1014", "#c9ced4", 6});
    s.push_back({Kind::Arc, {CX, CY, 80, -135, 45}, nullptr, "#2fb84a", 16});
    s.push_back({Kind::Arc, {CX, CY, 80, 45, 90}, nullptr, "#f2c21b", 16});
    s.push_back({Kind::Arc, {CX, CY, 80, 90, 135}, nullptr, "#e0322b", 16});
    for (int deg = -135; deg <= 135; deg += 45) {
        const QPointF a = on_dial(58, deg), b = on_dial(70, deg);
        s.push_back({Kind::Line, {a.x(), a.y(), b.x(), b.y()}, nullptr, "#ffffff", 6});
    }
    const double needle = 30; // degrees: in the green, near the yellow
    const QPointF tip = on_dial(86, needle), left = on_dial(9, needle - 90), right = on_dial(9, needle + 90),
                  tail = on_dial(20, needle + 180);
    s.push_back({Kind::Polygon, {tip.x(), tip.y(), left.x(), left.y(), tail.x(), tail.y(), right.x(), right.y()},
                 "#ff8a1c", nullptr});
    s.push_back({Kind::Circle, {CX, CY, 13}, "#c9ced4", "#0d1014", 3});
    return s;
}

QString num(double x) { return QString::number(x, 'f', 2); }

QString svg_paint(const Shape& sh)
{
    QString out = QString(" fill=\"%1\"").arg(sh.fill ? sh.fill : "none");
    if (sh.stroke) out += QString(" stroke=\"%1\" stroke-width=\"%2\"").arg(sh.stroke, num(sh.width));
    return out;
}

QString svg(const std::vector<Shape>& shapes)
{
    QString out = QString("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%1\" viewBox=\"0 0 %1 %1\">\n")
                      .arg(CANVAS);
    for (const Shape& sh : shapes) {
        const auto& v = sh.v;
        switch (sh.kind) {
        case Kind::RoundRect:
            out += QString("  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\"")
                       .arg(num(v[0]), num(v[1]), num(v[2]), num(v[3]), num(v[4]));
            break;
        case Kind::Circle:
            out += QString("  <circle cx=\"%1\" cy=\"%2\" r=\"%3\"").arg(num(v[0]), num(v[1]), num(v[2]));
            break;
        case Kind::Arc: {
            const QPointF a = on_dial(v[2], v[3]), b = on_dial(v[2], v[4]);
            out += QString("  <path d=\"M %1 %2 A %3 %3 0 %4 1 %5 %6\"")
                       .arg(num(a.x()), num(a.y()), num(v[2]), v[4] - v[3] > 180 ? "1" : "0", num(b.x()), num(b.y()));
            break;
        }
        case Kind::Line:
            out += QString("  <line x1=\"%1\" y1=\"%2\" x2=\"%3\" y2=\"%4\" stroke-linecap=\"round\"")
                       .arg(num(v[0]), num(v[1]), num(v[2]), num(v[3]));
            break;
        case Kind::Polygon: {
            QStringList points;
            for (size_t i = 0; i + 1 < v.size(); i += 2) points << num(v[i]) + "," + num(v[i + 1]);
            out += QString("  <polygon points=\"%1\"").arg(points.join(' '));
            break;
        }
        }
        out += svg_paint(sh) + "/>\n";
    }
    return out + "</svg>\n";
}

void paint(QPainter& p, const Shape& sh)
{
    const auto& v = sh.v;
    QPen pen = sh.stroke ? QPen(QColor(sh.stroke), sh.width) : QPen(Qt::NoPen);
    if (sh.kind == Kind::Line) pen.setCapStyle(Qt::RoundCap);
    if (sh.kind == Kind::Arc) pen.setCapStyle(Qt::FlatCap);
    p.setPen(pen);
    p.setBrush(sh.fill ? QBrush(QColor(sh.fill)) : QBrush(Qt::NoBrush));
    switch (sh.kind) {
    case Kind::RoundRect: p.drawRoundedRect(QRectF(v[0], v[1], v[2], v[3]), v[4], v[4]); break;
    case Kind::Circle: p.drawEllipse(QPointF(v[0], v[1]), v[2], v[2]); break;
    case Kind::Arc: {
        // Qt counts degrees anticlockwise from three o'clock.
        const QRectF box(v[0] - v[2], v[1] - v[2], 2 * v[2], 2 * v[2]);
        QPainterPath path;
        path.arcMoveTo(box, 90 - v[3]);
        path.arcTo(box, 90 - v[3], -(v[4] - v[3]));
        p.drawPath(path);
        break;
    }
    case Kind::Line: p.drawLine(QPointF(v[0], v[1]), QPointF(v[2], v[3])); break;
    case Kind::Polygon: {
        QPolygonF poly;
        for (size_t i = 0; i + 1 < v.size(); i += 2) poly << QPointF(v[i], v[i + 1]);
        p.drawPolygon(poly);
        break;
    }
    }
}

bool write_png(const std::vector<Shape>& shapes, int size, const QString& path)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / CANVAS, size / CANVAS);
    for (const Shape& sh : shapes) paint(p, sh);
    p.end();
    return image.save(path, "PNG");
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: appicon OUTPUT_DIR SIZE...\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(".")) return 1;
    const std::vector<Shape> shapes = face();
    QFile f(dir.filePath("sorvik-ems.svg"));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(svg(shapes).toUtf8()) < 0) {
        std::fprintf(stderr, "appicon: cannot write %s\n", qPrintable(f.fileName()));
        return 1;
    }
    for (int i = 2; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        const QString path = dir.filePath(QString("sorvik-ems-%1.png").arg(size));
        if (size <= 0 || !write_png(shapes, size, path)) {
            std::fprintf(stderr, "appicon: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
