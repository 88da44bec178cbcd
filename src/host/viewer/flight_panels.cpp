#include "host/viewer/flight_panels.h"

#include <QAbstractAxis>
#include <QChart>
#include <QGraphicsLayout>
#include <QLegend>
#include <QSplitter>
#include <QVBoxLayout>

#include "host/viewer/flight_plot.h"

namespace host {

namespace {

constexpr int PANEL_VALUE_TICKS = 2; // the lowest and the highest
constexpr int PANEL_MIN_HEIGHT = 80; // pixels: room for a few value labels, six of them within the window

} // namespace

FlightPanels::FlightPanels(std::shared_ptr<const FlightData> data, FlightPlot* leader, QWidget* parent)
    : QWidget(parent), data_(std::move(data)), leader_(leader)
{
    split_ = new QSplitter(Qt::Vertical);
    split_->setChildrenCollapsible(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(split_);
    for (const FlightChannel& c : data_->channels) {
        const size_t p = panel_of(c.name);
        if (plots_[p] || is_alarm_word(c.name)) continue;
        auto* plot = new FlightPlot(data_);
        plot->setMinimumHeight(PANEL_MIN_HEIGHT);
        plot->set_value_ticks(PANEL_VALUE_TICKS); // a panel is low: labels that show rather than elide
        // The legend in a row above names the panel's channels; no title, no
        // rounded frame, so the traces get the height.
        plot->chart()->legend()->setAlignment(Qt::AlignTop);
        QFont small = plot->chart()->legend()->font();
        small.setPointSizeF(small.pointSizeF() * 0.85);
        plot->chart()->legend()->setFont(small);
        plot->chart()->setBackgroundRoundness(0);
        plot->chart()->layout()->setContentsMargins(0, 0, 0, 0);
        plot->setToolTip(FLIGHT_PANELS[p].title);
        plots_[p] = plot;
    }
    // Top to bottom in the panels' order; the time axes unnamed, for the
    // height (the seconds read as seconds by their labels).
    for (FlightPlot* plot : plots_) {
        if (!plot) continue;
        split_->addWidget(plot);
        for (QAbstractAxis* axis : plot->chart()->axes(Qt::Horizontal)) axis->setTitleVisible(false);
        connect(plot, &FlightPlot::view_changed, this, [this, plot] { follow(plot); });
        connect(plot, &FlightPlot::cursor_moved, leader_, [this](int row) { leader_->set_cursor_row(row); });
    }
    connect(leader_, &FlightPlot::view_changed, this, [this] { follow(leader_); });
    connect(leader_, &FlightPlot::cursor_moved, this, [this](int row) {
        for (FlightPlot* plot : plots_)
            if (plot) plot->set_cursor_row(row);
    });
    for (size_t i = 0; i < data_->channels.size(); ++i)
        set_channel_shown(i, shown_in_panel_at_first(data_->channels[i].name));
    follow(leader_);
}

void FlightPanels::follow(const FlightPlot* from)
{
    if (following_) return;
    following_ = true;
    const double t0 = from->time_from(), t1 = from->time_to();
    for (FlightPlot* plot : plots_)
        if (plot && plot != from && (plot->time_from() != t0 || plot->time_to() != t1)) plot->set_time_range(t0, t1);
    if (leader_ != from && (leader_->time_from() != t0 || leader_->time_to() != t1)) leader_->set_time_range(t0, t1);
    following_ = false;
}

void FlightPanels::set_channel_shown(size_t i, bool shown)
{
    if (i >= data_->channels.size()) return;
    FlightPlot* plot = plots_[panel_of(data_->channels[i].name)];
    if (!plot) return;
    plot->set_channel_shown(i, shown);
}

std::vector<size_t> FlightPanels::shown_channels() const
{
    std::vector<size_t> shown;
    for (size_t i = 0; i < data_->channels.size(); ++i)
        if (channel_shown(i) && panel_shown(panel_of(data_->channels[i].name))) shown.push_back(i);
    return shown;
}

bool FlightPanels::channel_shown(size_t i) const
{
    if (i >= data_->channels.size()) return false;
    const FlightPlot* plot = plots_[panel_of(data_->channels[i].name)];
    return plot && plot->channel_shown(i);
}

void FlightPanels::set_panel_shown(size_t panel, bool shown)
{
    if (panel < FLIGHT_PANEL_COUNT && plots_[panel]) plots_[panel]->setVisible(shown);
}

bool FlightPanels::panel_shown(size_t panel) const
{
    return panel < FLIGHT_PANEL_COUNT && plots_[panel] && !plots_[panel]->isHidden();
}

} // namespace host
