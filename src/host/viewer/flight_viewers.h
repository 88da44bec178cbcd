// FlightViewers: the flight-data viewers the window opens, File / "Open
// Flight Data...". A recording is opened in a new viewer window; the last one
// opened is kept for the scenario's viewer commands.
#pragma once
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

#include "host/viewer/flight_viewer.h"

class QWidget;

namespace host {

class CardFolder;
class FlightListDialog;

class FlightViewers : public QObject {
    Q_OBJECT
public:
    // The viewers open over window; recordings are looked for on card.
    FlightViewers(const CardFolder& card, QWidget* window);

    // Opens a recording in a new viewer; nullptr with a message when nothing
    // of it can be shown.
    FlightViewer* open(const QString& path, QString& error);
    // The same with the file read on a worker thread, so that a long
    // recording does not hold up the unit: the viewer shows when it is read,
    // or failed gets the message.
    void open_later(const QString& path, std::function<void(const QString&)> failed);
    FlightViewer* last() const { return last_; } // the last one opened, while open
    QString data_folder() const; // the card's DATA folder, or the card while it has none
    // File / "Flights on the Card...": the card's recordings as flights, one
    // opened with a double click; a failure says why in the list.
    FlightListDialog* show_list();

private:
    void show(FlightViewer* viewer);

    const CardFolder& card_;
    QWidget* window_;
    QPointer<FlightViewer> last_;
};

} // namespace host
