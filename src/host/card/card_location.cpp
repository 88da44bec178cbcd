#include "host/card/card_location.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include "host/card/core/card_seed.h"

namespace host {

namespace {

constexpr const char* DATA_FOLDER = "sorvik-ems";
constexpr const char* CARD_FOLDER = "SDCARD";
constexpr const char* CARD_KEY = "card/folder";

} // namespace

QString sample_card_dir()
{
    const QString relative = QString("%1/%2").arg(DATA_FOLDER, CARD_FOLDER);
    const QString beside = QCoreApplication::applicationDirPath() + "/../share/" + relative;
    if (QFileInfo(beside).isDir()) return QDir::cleanPath(beside);
    return QStandardPaths::locate(QStandardPaths::GenericDataLocation, relative, QStandardPaths::LocateDirectory);
}

QString default_card_dir()
{
    return QString("%1/%2/%3")
        .arg(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation), DATA_FOLDER, CARD_FOLDER);
}

QString remembered_card() { return QSettings().value(CARD_KEY).toString(); }

void remember_card(const QString& dir) { QSettings().setValue(CARD_KEY, QFileInfo(dir).absoluteFilePath()); }

QString startup_card(QString& warning)
{
    // The installed sample card is never used as a card itself (it is read
    // only), not even when started in its folder to play an example.
    const QFileInfo here(QDir::current().filePath(CARD_FOLDER));
    const QString sample = sample_card_dir();
    if (here.isDir() && (sample.isEmpty() || here.canonicalFilePath() != QFileInfo(sample).canonicalFilePath()))
        return QString();
    const QString remembered = remembered_card();
    if (!remembered.isEmpty() && QFileInfo(remembered).isDir()) return remembered;
    const QString card = default_card_dir();
    if (sample.isEmpty()) {
        QDir().mkpath(card);
    } else {
        const SeedResult r = seed_card(sample.toStdString(), card.toStdString());
        if (!r.ok) warning = QString::fromStdString(r.error);
    }
    return card;
}

} // namespace host
