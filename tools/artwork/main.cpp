// artwork: draws the instrument's icons, the engine-computer picture, the
// splash picture and the sample info pages as palette-exact PNG files.
//
//   artwork OUTPUT_DIR
//
// Everything is drawn here with QPainter (antialiased, then snapped to the
// palette); text uses the DejaVu fonts from /usr/share/fonts/truetype/dejavu.
// The regenerate target (tools/CMakeLists.txt) runs it and turns the PNGs into
// MIF pictures and firmware data.
#include <QDir>
#include <QGuiApplication>
#include <cstdio>

#include "art.h"

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: artwork OUTPUT_DIR\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(dir)) {
        std::fprintf(stderr, "artwork: cannot create %s\n", argv[1]);
        return 1;
    }
    return art::make_icons(dir) && art::make_pictures(dir) ? 0 : 1;
}
