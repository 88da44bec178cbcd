// FlightViewer: a window onto one flight-data recording (File / "Open Flight
// Data..."): the channels to tick on the left (EGT and CHT grouped), the plot
// in the middle, and on the right every value of the record under the cursor.
// A recording cut short or with broken lines opens with what could be read;
// the status bar says how many lines were skipped.
#pragma once
#include <QMainWindow>
#include <QString>
#include <memory>

#include "host/viewer/core/flight_data.h"

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace host {

class FlightPlot;

// A recording read from its file, or the message saying why it cannot be shown.
struct FlightFile {
    std::shared_ptr<const FlightData> data;
    QString error;
};

// Reads the recording at path: a regular file of at most FLIGHT_DATA_MAX_BYTES,
// opened without blocking. Safe on any thread.
FlightFile read_flight_file(const QString& path);

class FlightViewer : public QMainWindow {
    Q_OBJECT
public:
    // A new viewer window (not yet shown) onto data read from path.
    FlightViewer(std::shared_ptr<const FlightData> data, const QString& path, QWidget* parent);
    // Reads the recording at path into a new viewer window (not yet shown),
    // or returns nullptr with a message in error when nothing of it can be shown.
    static FlightViewer* open(const QString& path, QWidget* parent, QString& error);

    FlightPlot* plot() const { return plot_; }
    const FlightData& data() const { return *data_; }
    // What was skipped while reading ("3 lines skipped (...)"), empty when nothing.
    const QString& note() const { return note_; }
    // Ticks or clears a channel by name; false when the recording has none of that name.
    bool set_channel(const QString& name, bool shown);
    // The value list's text for a channel at the cursor ("1320 F"), or an empty string.
    QString cursor_value(const QString& name) const;
    // The plot as shown, with its legend and cursor.
    QImage plot_image() const;
    bool save_png(const QString& path) const;

private:
    void build_channel_list();
    void build_value_list();
    void build_menus();
    void build_status_bar(); // what the recording spans, and what was skipped
    void show_cursor_values(int row);
    void channel_ticked(QTreeWidgetItem* item);

    std::shared_ptr<const FlightData> data_;
    QString note_;
    FlightPlot* plot_ = nullptr;
    QTreeWidget* channels_ = nullptr;
    QTreeWidget* values_ = nullptr;
};

} // namespace host
