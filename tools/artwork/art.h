// Shared helpers of the artwork generator: palette colours, the fonts, and
// snapping a drawn picture to the instrument's palette before it is saved.
#pragma once
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QString>

namespace art {

// Palette indices the artwork uses.
enum : int {
    BLACK = 0,
    GREY = 8,         // #AAAAAA
    WHITE = 15,
    ORANGE = 216,     // #FF8000
    RED = 247,
    YELLOW = 249,
    SILVER = 250,     // #C0C0C0
    CYAN = 251,
    GREEN = 252,
    G20 = 224, G30, G40, G50, G60, G70, G80, G90, GA0, GB0, GC0, GD0, GE0, GF0, // greys #202020..#F0F0F0
};

QColor pal(int index);                 // the palette colour of an index
QImage canvas(int width, int height);  // a black ARGB picture
void begin(QPainter& p, QImage& img);  // antialiased painter on img

// Fonts from the DejaVu family shipped by Debian, at a size in pixels.
QFont sans(int pixels, bool bold = true, bool condensed = false);

// Text as a path, so that it can be placed by its real ink extent.
QPainterPath text_path(const QString& text, const QFont& font);
// Fills a path centred on (cx, cy) by its bounding box.
void fill_centred(QPainter& p, QPainterPath path, double cx, double cy, const QColor& colour);

// Every pixel becomes the nearest palette colour (exact ones stay).
void snap(QImage& img);
// Snaps and writes the picture as PNG; false (with a message) on failure.
bool save(QImage img, const QString& path);

// Pictures, each drawn and saved into dir.
bool make_icons(const QString& dir);
bool make_pictures(const QString& dir);

} // namespace art
