#include "host/viewer/flight_plot.h"

#include <QChart>
#include <QKeyEvent>
#include <QLegend>
#include <QGraphicsLayout>
#include <QLegendMarker>
#include <QLineSeries>
#include <QValueAxis>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "host/viewer/core/time_ticks.h"

namespace host {

namespace {

// One colour per cylinder, told apart at a glance; EGTn and CHTn share one.
const QColor CYLINDER_COLOURS[] = {"#1f77b4", "#ff7f0e", "#2ca02c", "#d62728", "#9467bd", "#8c564b",
                                   "#e377c2", "#17becf", "#bcbd22", "#7f7f7f", "#393b79", "#ad494a"};
// The other channels, darker, so they do not pass for a cylinder.
const QColor OTHER_COLOURS[] = {"#000000", "#636363", "#843c39", "#31a354", "#3182bd",
                                "#756bb1", "#e6550d", "#637939", "#7b4173", "#8c6d31"};
const QColor ALARM_SHADE(220, 0, 0, 40);
const QColor CURSOR_COLOUR(0, 0, 0, 160);

constexpr size_t MAX_RUNS = 64;        // per channel; only a broken file has more gaps in view
constexpr double WHEEL_ZOOM = 0.8;     // the span a wheel notch in leaves
constexpr double VALUE_MARGIN = 0.05;  // of a value axis's span, above and below the traces
constexpr int TIME_TICKS = 8;          // about this many time labels

} // namespace

FlightPlot::FlightPlot(std::shared_ptr<const FlightData> data, QWidget* parent)
    : QChartView(parent), data_(std::move(data)), alarms_(alarm_spans(*data_))
{
    setRenderHint(QPainter::Antialiasing);
    setRubberBand(QChartView::NoRubberBand);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    viewport()->setMouseTracking(true);

    QChart* c = chart();
    c->legend()->setAlignment(Qt::AlignBottom);
    c->legend()->setMarkerShape(QLegend::MarkerShapeFromSeries); // a stroke in the line style
    c->setMargins(QMargins(4, 4, 4, 4));
    time_axis_ = new QValueAxis(c);
    time_axis_->setTitleText("T (s)");
    time_axis_->setLabelFormat("%.0f");
    time_axis_->setTickType(QValueAxis::TicksDynamic);
    time_axis_->setTickAnchor(0);
    c->addAxis(time_axis_, Qt::AlignBottom);

    first_ = data_->seconds.front();
    last_ = std::max(data_->seconds.back(), first_ + MIN_SPAN);
    int others = 0;
    traces_.resize(data_->channels.size());
    for (size_t i = 0; i < traces_.size(); ++i) {
        const FlightChannel& ch = data_->channels[i];
        Trace& t = traces_[i];
        const int n = channel_cylinder(ch.name);
        if (n > 0) {
            t.pen = QPen(CYLINDER_COLOURS[(n - 1) % std::size(CYLINDER_COLOURS)], 2);
            if (ch.name[0] == 'C') t.pen.setStyle(Qt::DashLine);
        } else {
            t.pen = QPen(OTHER_COLOURS[others++ % std::size(OTHER_COLOURS)], 1.5);
        }
    }
    t0_ = first_;
    t1_ = last_;
}

QValueAxis* FlightPlot::unit_axis(const std::string& unit)
{
    auto it = unit_axes_.find(unit);
    if (it != unit_axes_.end()) return it->second;
    // A unit's axis is made when its first channel shows, on the side with
    // fewer axes showing, and keeps that side.
    int left = 0, right = 0;
    for (const auto& [u, a] : unit_axes_)
        if (a->isVisible()) ++(a->alignment() == Qt::AlignLeft ? left : right);
    auto* axis = new QValueAxis(chart());
    axis->setTitleText(unit.empty() ? QString("value") : QString::fromStdString(unit));
    axis->setLabelFormat("%g");
    chart()->addAxis(axis, left <= right ? Qt::AlignLeft : Qt::AlignRight);
    unit_axes_.emplace(unit, axis);
    return axis;
}

QLineSeries* FlightPlot::add_series(size_t channel)
{
    auto* s = new QLineSeries;
    s->setName(QString::fromStdString(data_->channels[channel].name));
    s->setPen(traces_[channel].pen);
    chart()->addSeries(s);
    s->attachAxis(time_axis_);
    s->attachAxis(traces_[channel].axis);
    return s;
}

void FlightPlot::set_channel_shown(size_t i, bool shown)
{
    if (i >= traces_.size() || traces_[i].shown == shown) return;
    traces_[i].shown = shown;
    if (shown && !traces_[i].axis) traces_[i].axis = unit_axis(data_->channels[i].unit);
    if (shown && !traces_[i].extrema) traces_[i].extrema = std::make_unique<ValueExtrema>(data_->channels[i].values);
    redraw();
}

void FlightPlot::set_time_range(double t0, double t1)
{
    const double full = last_ - first_;
    double span = std::clamp(t1 - t0, std::min(MIN_SPAN, full), full);
    if (!std::isfinite(span)) span = full;
    t0_ = std::clamp(t0, first_, last_ - span);
    t1_ = t0_ + span;
    redraw();
}

std::vector<size_t> FlightPlot::shown_channels() const
{
    std::vector<size_t> shown;
    for (size_t i = 0; i < traces_.size(); ++i)
        if (traces_[i].shown) shown.push_back(i);
    return shown;
}

void FlightPlot::reset_zoom() { set_time_range(first_, last_); }

int FlightPlot::row_at(double t) const
{
    const auto& s = data_->seconds;
    const auto it = std::lower_bound(s.begin(), s.end(), t);
    if (it == s.begin()) return 0;
    if (it == s.end()) return int(s.size()) - 1;
    return int(it - s.begin()) - (t - *(it - 1) <= *it - t ? 1 : 0);
}

void FlightPlot::set_cursor_row(int row)
{
    row = std::clamp(row, -1, int(data_->seconds.size()) - 1);
    if (row == cursor_row_) return;
    cursor_row_ = row;
    scene()->update();
    emit cursor_moved(row);
}

void FlightPlot::redraw()
{
    const int columns = std::max(1, int(chart()->plotArea().width()));
    struct Extent {
        double lo = INFINITY, hi = -INFINITY;
    };
    std::map<QValueAxis*, Extent> extents;
    for (size_t i = 0; i < traces_.size(); ++i) {
        Trace& t = traces_[i];
        std::vector<TraceRun> runs;
        if (t.shown) {
            runs = trace_runs(TraceSource{data_->seconds, data_->channels[i].values, *t.extrema}, t0_, t1_, columns,
                              MAX_RUNS);
            extents[t.axis]; // an axis with a shown channel shows, even without values in view
        }
        while (t.series.size() < runs.size()) t.series.push_back(add_series(i));
        for (size_t k = 0; k < t.series.size(); ++k) {
            QList<QPointF> points;
            if (k < runs.size()) {
                points.reserve(qsizetype(runs[k].size()));
                Extent& e = extents[t.axis];
                for (const TracePoint& p : runs[k]) {
                    points.append(QPointF(p.t, p.v));
                    e.lo = std::min(e.lo, p.v);
                    e.hi = std::max(e.hi, p.v);
                }
            }
            t.series[k]->replace(points);
            t.series[k]->setVisible(t.shown);
            for (QLegendMarker* m : chart()->legend()->markers(t.series[k])) m->setVisible(t.shown && k == 0);
        }
    }
    for (auto& [unit, axis] : unit_axes_) {
        const auto it = extents.find(axis);
        axis->setVisible(it != extents.end());
        if (it == extents.end()) continue;
        double lo = it->second.lo, hi = it->second.hi;
        if (!(lo <= hi)) lo = 0, hi = 1;
        const double pad = hi > lo ? (hi - lo) * VALUE_MARGIN : std::max(1.0, std::fabs(lo) * VALUE_MARGIN);
        axis->setRange(lo - pad, hi + pad);
        if (value_ticks_ > 0) axis->setTickCount(value_ticks_);
        axis->applyNiceNumbers();
    }
    // The legend lays itself out again only when told.
    chart()->legend()->layout()->invalidate();
    emit view_changed();
    // The interval first: a range set first is laid out at the old interval,
    // and a whole flight at a few seconds' interval is tens of thousands of labels.
    time_axis_->setTickInterval(time_tick_step(t1_ - t0_, TIME_TICKS));
    time_axis_->setRange(t0_, t1_);
    scene()->update();
}

QRectF FlightPlot::plot_rect() const { return chart()->mapRectToScene(chart()->plotArea()); }

double FlightPlot::time_at(double x) const
{
    const QRectF r = plot_rect();
    return r.width() > 0 ? t0_ + (x - r.left()) / r.width() * (t1_ - t0_) : t0_;
}

double FlightPlot::scene_x(double t) const
{
    const QRectF r = plot_rect();
    return r.left() + (t - t0_) / (t1_ - t0_) * r.width();
}

void FlightPlot::resizeEvent(QResizeEvent* e)
{
    QChartView::resizeEvent(e);
    redraw(); // the number of pixel columns changed
}

void FlightPlot::wheelEvent(QWheelEvent* e)
{
    const double notches = e->angleDelta().y() / 120.0;
    if (notches == 0) return;
    const double t = time_at(mapToScene(e->position().toPoint()).x());
    const double factor = std::pow(WHEEL_ZOOM, notches);
    set_time_range(t - (t - t0_) * factor, t + (t1_ - t) * factor);
    e->accept();
}

void FlightPlot::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton) return;
    dragging_ = true;
    dragged_ = false;
    drag_x_ = mapToScene(e->position().toPoint()).x();
    drag_t0_ = t0_;
    drag_t1_ = t1_;
    e->accept();
}

void FlightPlot::mouseMoveEvent(QMouseEvent* e)
{
    const QPointF p = mapToScene(e->position().toPoint());
    if (dragging_) {
        const QRectF r = plot_rect();
        if (std::fabs(p.x() - drag_x_) >= 3) dragged_ = true;
        if (dragged_ && r.width() > 0) {
            const double dt = (drag_x_ - p.x()) / r.width() * (drag_t1_ - drag_t0_);
            set_time_range(drag_t0_ + dt, drag_t1_ + dt);
        }
    } else if (plot_rect().contains(p)) {
        set_cursor_row(row_at(time_at(p.x())));
    }
    e->accept();
}

void FlightPlot::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton) return;
    if (dragging_ && !dragged_) set_cursor_row(row_at(time_at(mapToScene(e->position().toPoint()).x())));
    dragging_ = false;
    e->accept();
}

void FlightPlot::mouseDoubleClickEvent(QMouseEvent* e)
{
    reset_zoom();
    e->accept();
}

void FlightPlot::keyPressEvent(QKeyEvent* e)
{
    const double span = t1_ - t0_;
    switch (e->key()) {
    case Qt::Key_Left: set_cursor_row(std::max(0, cursor_row_ - 1)); break;
    case Qt::Key_Right: set_cursor_row(cursor_row_ + 1); break;
    case Qt::Key_Home: reset_zoom(); break;
    case Qt::Key_Plus: set_time_range(t0_ + span * 0.1, t1_ - span * 0.1); break;
    case Qt::Key_Minus: set_time_range(t0_ - span * 0.125, t1_ + span * 0.125); break;
    default: QChartView::keyPressEvent(e); return;
    }
    e->accept();
}

void FlightPlot::drawForeground(QPainter* painter, const QRectF& rect)
{
    QChartView::drawForeground(painter, rect);
    const QRectF r = plot_rect();
    painter->save();
    painter->setClipRect(r);
    for (const TimeSpan& s : alarms_) {
        if (s.end <= t0_ || s.begin >= t1_) continue;
        painter->fillRect(QRectF(QPointF(scene_x(s.begin), r.top()), QPointF(scene_x(s.end), r.bottom())), ALARM_SHADE);
    }
    if (cursor_row_ >= 0) {
        const double x = scene_x(data_->seconds[size_t(cursor_row_)]);
        painter->setPen(QPen(CURSOR_COLOUR, 1));
        painter->drawLine(QPointF(x, r.top()), QPointF(x, r.bottom()));
    }
    painter->restore();
}

} // namespace host
