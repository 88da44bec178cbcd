// FlightPanels: the flight-data viewer's stacked layout: a plot for each
// panel (EGT, CHT, fuel flow, RPM and MAP, electrical, other) the recording
// has channels for, one above the other, every one showing the time and the
// cursor of the leading plot, so that a zoom, pan or cursor move in any of
// them moves all.
#pragma once
#include <QWidget>
#include <array>
#include <memory>
#include <vector>

#include "host/viewer/core/flight_data.h"
#include "host/viewer/core/flight_panels.h"

class QSplitter;

namespace host {

class FlightPlot;

class FlightPanels : public QWidget {
    Q_OBJECT
public:
    FlightPanels(std::shared_ptr<const FlightData> data, FlightPlot* leader, QWidget* parent = nullptr);

    // Channel i shows in its own panel.
    void set_channel_shown(size_t i, bool shown);
    bool channel_shown(size_t i) const;
    std::vector<size_t> shown_channels() const; // of the panels shown, by index
    // Whether the recording has a channel for the panel at all.
    bool has_panel(size_t panel) const { return plots_[panel] != nullptr; }
    void set_panel_shown(size_t panel, bool shown);
    bool panel_shown(size_t panel) const;
    FlightPlot* panel_plot(size_t panel) const { return plots_[panel]; }

private:
    void follow(const FlightPlot* from);

    std::shared_ptr<const FlightData> data_;
    FlightPlot* leader_;
    QSplitter* split_ = nullptr;
    std::array<FlightPlot*, FLIGHT_PANEL_COUNT> plots_{}; // null where the recording has no channel for it
    bool following_ = false;
};

} // namespace host
