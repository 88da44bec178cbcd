#include "host/viewer/flight_viewers.h"

#include <QPointer>
#include <QThread>
#include <filesystem>
#include <memory>

#include "host/card/core/card_folder.h"
#include "host/viewer/flight_list_dialog.h"
#include "host/viewer/flight_viewer.h"
#include "ops/data_recording.h"

namespace host {

FlightViewers::FlightViewers(const CardFolder& card, QWidget* window) : QObject(window), card_(card), window_(window) {}

FlightViewer* FlightViewers::open(const QString& path, QString& error)
{
    FlightViewer* viewer = FlightViewer::open(path, window_, error);
    if (viewer) show(viewer);
    return viewer;
}

void FlightViewers::show(FlightViewer* viewer)
{
    last_ = viewer;
    viewer->show();
}

void FlightViewers::open_later(const QString& path, std::function<void(const QString&)> failed)
{
    auto file = std::make_shared<FlightFile>();
    QThread* reader = QThread::create([path, file] { *file = read_flight_file(path); });
    connect(reader, &QThread::finished, reader, &QObject::deleteLater);
    connect(reader, &QThread::finished, this, [this, path, file, failed] {
        if (file->data) show(new FlightViewer(file->data, path, window_));
        else failed(file->error);
    });
    reader->start();
}

FlightListDialog* FlightViewers::show_list()
{
    auto* dialog = new FlightListDialog(data_folder(), {}, window_);
    QPointer<FlightListDialog> shown(dialog);
    dialog->set_open([this, shown](const QString& path) {
        open_later(path, [shown](const QString& error) {
            if (shown) shown->show_error(error);
        });
    });
    dialog->show();
    return dialog;
}

QString FlightViewers::data_folder() const
{
    // Found as the firmware finds it: on the card in use, in any letter case.
    std::error_code error;
    const std::filesystem::path data = card_.resolve(ems::RECORDING_FOLDER);
    const bool has_data = !data.empty() && std::filesystem::is_directory(data, error);
    return QString::fromStdString((has_data ? data : card_.card_dir()).string());
}

} // namespace host
