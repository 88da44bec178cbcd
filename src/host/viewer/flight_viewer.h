// FlightViewer: a window onto one flight-data recording (File / "Open Flight
// Data..."): the channels to tick on the left (EGT and CHT grouped), the plot
// in the middle, and on the right every value of the record under the cursor
// over the analysis panel (figures of the time in view, alarms, lean-find).
// The EGT and CHT spread are channels of their own.
// A recording cut short or with broken lines opens with what could be read;
// the status bar says how many lines were skipped.
#pragma once
#include <QMainWindow>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "host/viewer/core/flight_data.h"

class QAction;
class QLabel;
class QMenu;
class QStackedWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace host {

class FlightAnalysisView;
class FlightPanels;
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
    FlightAnalysisView* analysis() const { return analysis_; }
    // Writes the records in view to path as a recording, on a worker thread;
    // done is called on the window's thread with an empty string or the error.
    void export_visible(const QString& path, std::function<void(const QString&)> done);
    const FlightData& data() const { return *data_; }
    // What was left out or shortened while reading ("3 lines skipped (...)"), empty when nothing.
    const QString& note() const { return note_; }
    // Ticks or clears a channel by name; false when the recording has none of that name.
    bool set_channel(const QString& name, bool shown);
    // The stacked panels (EGT, CHT, fuel flow, RPM and MAP, electrical, other)
    // in place of the one plot; the channel ticks are each layout's own. The
    // choice, the panels shown and the panels' ticks are remembered.
    void set_stacked(bool on);
    bool stacked() const;
    // Shows or hides the panel of that key ("egt", "flow" ...); false when the
    // recording has nothing for it.
    bool set_panel(const QString& key, bool shown);
    FlightPanels* panels() const { return panels_; }

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
    void jump_to(int row); // the cursor to a record, the view moved to show it
    // The layouts (flight_viewer_layout.cpp).
    QWidget* build_panels(); // the one plot and the stacked panels, one showing at a time
    void build_layout_menu(QMenu* view);
    void show_layout(bool stacked); // the plot area, the menu and the ticks, not remembered
    void apply_ticks(); // the channel ticks as the layout showing has them
    void show_range_figures(); // of the channels the layout showing shows
    void remember_layout() const;
    void restore_layout();

    std::shared_ptr<const FlightData> data_;
    QString note_;
    FlightPlot* plot_ = nullptr;
    QTreeWidget* channels_ = nullptr;
    QTreeWidget* values_ = nullptr;
    FlightAnalysisView* analysis_ = nullptr;
    FlightPanels* panels_ = nullptr;
    QStackedWidget* plot_area_ = nullptr;
    QAction* stacked_action_ = nullptr;
    std::vector<QAction*> panel_actions_; // one per panel kind, null where the recording has none
    bool applying_ticks_ = false;
};

} // namespace host
