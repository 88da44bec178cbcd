// GUI tests run inside one QApplication on the offscreen platform.
#include <QApplication>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // Offscreen, one screen of 1920 x 1080, which the window's zooms must fit
    // (Qt's offscreen screen is 800 x 600 unless told).
    QTemporaryDir screen_dir;
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.isEmpty() || platform == "offscreen") {
        QFile config(screen_dir.filePath("screen.json"));
        if (config.open(QIODevice::WriteOnly))
            config.write(R"({"screens": [{"name": "Screen", "x": 0, "y": 0, "width": 1920, "height": 1080,
                             "logicalDpi": 96, "logicalBaseDpi": 96}]})");
        config.close();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(config.fileName()));
    }
    QApplication app(argc, argv);
    // The window remembers its zoom in the application's settings: keep the
    // user's own settings out of reach of the tests.
    QTemporaryDir settings_dir;
    QApplication::setOrganizationName("SorvikTests");
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings_dir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings_dir.path());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
