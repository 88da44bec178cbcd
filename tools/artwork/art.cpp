#include "art.h"

#include <QFontDatabase>
#include <cstdio>

#include "../png2mif/mif_encode.h"
#include "gfx/palette.h"

namespace art {

QColor pal(int index)
{
    return QColor::fromRgb(0xFF000000u | ems::Palette[size_t(index & 0xFF)]);
}

QImage canvas(int width, int height)
{
    QImage img(width, height, QImage::Format_ARGB32);
    img.fill(Qt::black);
    return img;
}

void begin(QPainter& p, QImage& img)
{
    p.begin(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
}

QFont sans(int pixels, bool bold, bool condensed)
{
    static const bool loaded = [] {
        const char* files[] = {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf", "DejaVuSansCondensed.ttf",
                               "DejaVuSansCondensed-Bold.ttf"};
        for (const char* f : files)
            QFontDatabase::addApplicationFont(QString("/usr/share/fonts/truetype/dejavu/") + f);
        return true;
    }();
    (void)loaded;
    QFont f(condensed ? "DejaVu Sans Condensed" : "DejaVu Sans");
    f.setPixelSize(pixels);
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

QPainterPath text_path(const QString& text, const QFont& font)
{
    QPainterPath path;
    path.addText(0, 0, font, text);
    return path;
}

void fill_centred(QPainter& p, QPainterPath path, double cx, double cy, const QColor& colour)
{
    const QRectF r = path.boundingRect();
    path.translate(cx - r.center().x(), cy - r.center().y());
    p.fillPath(path, colour);
}

void snap(QImage& img)
{
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const uint8_t i = mif::nearest_index(line[x] & 0xFFFFFFu, ems::Palette);
            line[x] = 0xFF000000u | ems::Palette[i];
        }
    }
}

bool save(QImage img, const QString& path)
{
    img = img.convertToFormat(QImage::Format_ARGB32);
    snap(img);
    if (!img.convertToFormat(QImage::Format_RGB32).save(path, "PNG")) {
        std::fprintf(stderr, "artwork: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s: %d x %d\n", qPrintable(path), img.width(), img.height());
    return true;
}

} // namespace art
