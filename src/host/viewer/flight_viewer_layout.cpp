// The flight-data viewer's two layouts, the one plot and the stacked panels,
// the View menu that chooses between them and the panels shown, and the
// layout remembered from one viewer to the next.
#include <QAction>
#include <QMenu>
#include <QSettings>
#include <QStackedWidget>

#include "host/viewer/core/flight_panels.h"
#include "host/viewer/flight_panels.h"
#include "host/viewer/flight_plot.h"
#include "host/viewer/flight_viewer.h"

namespace host {

namespace {

const char* const STACKED_KEY = "viewer/stacked";
const char* const HIDDEN_PANELS_KEY = "viewer/hidden_panels";
// The panels' channels the user ticked against what shows at first.
const char* const PANEL_CHANNELS_OFF_KEY = "viewer/panel_channels_off";
const char* const PANEL_CHANNELS_ON_KEY = "viewer/panel_channels_on";

void set_member(QStringList& list, const QString& name, bool member)
{
    list.removeAll(name);
    if (member) list << name;
}

} // namespace

QWidget* FlightViewer::build_panels()
{
    panels_ = new FlightPanels(data_, plot_);
    plot_area_ = new QStackedWidget;
    plot_area_->addWidget(plot_);
    plot_area_->addWidget(panels_);
    return plot_area_;
}

bool FlightViewer::stacked() const { return plot_area_->currentWidget() == panels_; }

void FlightViewer::set_stacked(bool on)
{
    show_layout(on);
    remember_layout();
}

void FlightViewer::show_layout(bool stacked)
{
    plot_area_->setCurrentWidget(stacked ? static_cast<QWidget*>(panels_) : plot_);
    stacked_action_->setChecked(stacked);
    for (QAction* a : panel_actions_)
        if (a) a->setEnabled(stacked);
    apply_ticks();
    show_range_figures();
}

bool FlightViewer::set_panel(const QString& key, bool shown)
{
    const size_t p = panel_by_key(key.toStdString());
    if (p >= FLIGHT_PANEL_COUNT || !panels_->has_panel(p)) return false;
    panels_->set_panel_shown(p, shown);
    panel_actions_[p]->setChecked(shown);
    show_range_figures();
    remember_layout();
    return true;
}

void FlightViewer::build_layout_menu(QMenu* view)
{
    view->addSeparator();
    stacked_action_ = view->addAction("Stacked Panels");
    stacked_action_->setCheckable(true);
    connect(stacked_action_, &QAction::toggled, this, [this](bool on) {
        if (on != stacked()) set_stacked(on);
    });
    QMenu* shown = view->addMenu("Panels");
    panel_actions_.assign(FLIGHT_PANEL_COUNT, nullptr);
    for (size_t p = 0; p < FLIGHT_PANEL_COUNT; ++p) {
        if (!panels_->has_panel(p)) continue;
        QAction* a = shown->addAction(FLIGHT_PANELS[p].title);
        a->setCheckable(true);
        a->setChecked(true);
        a->setEnabled(false);
        connect(a, &QAction::toggled, this, [this, p](bool on) {
            if (on != panels_->panel_shown(p)) set_panel(FLIGHT_PANELS[p].key, on);
        });
        panel_actions_[p] = a;
    }
}

void FlightViewer::remember_layout() const
{
    QSettings settings;
    settings.setValue(STACKED_KEY, stacked());
    QStringList hidden = settings.value(HIDDEN_PANELS_KEY).toStringList();
    QStringList off = settings.value(PANEL_CHANNELS_OFF_KEY).toStringList();
    QStringList on = settings.value(PANEL_CHANNELS_ON_KEY).toStringList();
    for (size_t p = 0; p < FLIGHT_PANEL_COUNT; ++p)
        if (panels_->has_panel(p)) set_member(hidden, FLIGHT_PANELS[p].key, !panels_->panel_shown(p));
    for (size_t i = 0; i < data_->channels.size(); ++i) {
        const std::string& name = data_->channels[i].name;
        if (!panels_->has_panel(panel_of(name))) continue;
        const bool at_first = shown_in_panel_at_first(name), now = panels_->channel_shown(i);
        set_member(off, QString::fromStdString(name), at_first && !now);
        set_member(on, QString::fromStdString(name), !at_first && now);
    }
    settings.setValue(HIDDEN_PANELS_KEY, hidden);
    settings.setValue(PANEL_CHANNELS_OFF_KEY, off);
    settings.setValue(PANEL_CHANNELS_ON_KEY, on);
}

void FlightViewer::restore_layout()
{
    const QSettings settings;
    // The Other panel has no channel ticked at first: it starts hidden.
    const QStringList hidden = settings.value(HIDDEN_PANELS_KEY, QStringList{FLIGHT_PANELS[OTHER_PANEL].key}).toStringList();
    const QStringList off = settings.value(PANEL_CHANNELS_OFF_KEY).toStringList();
    const QStringList on = settings.value(PANEL_CHANNELS_ON_KEY).toStringList();
    for (size_t p = 0; p < FLIGHT_PANEL_COUNT; ++p) {
        if (!panels_->has_panel(p)) continue;
        const bool shown = !hidden.contains(FLIGHT_PANELS[p].key);
        panels_->set_panel_shown(p, shown);
        panel_actions_[p]->setChecked(shown);
    }
    for (size_t i = 0; i < data_->channels.size(); ++i) {
        const QString name = QString::fromStdString(data_->channels[i].name);
        if (off.contains(name)) panels_->set_channel_shown(i, false);
        if (on.contains(name)) panels_->set_channel_shown(i, true);
    }
    show_layout(settings.value(STACKED_KEY, false).toBool());
}

} // namespace host
