// FlightPlot: a recording's channels over time, for the flight-data viewer.
// Time runs along the bottom in the recording's seconds; every unit among the
// channels shown has its own value axis (left, right, left ...), fitted to
// what is in view, so each trace reads in its real values. EGTn and CHTn share
// cylinder n's colour, EGT solid and CHT dashed. Seconds in which an alarm word
// was set are shaded red. The wheel zooms time around the mouse, a drag pans,
// a double click or Home shows the whole recording; the mouse (or the arrow
// keys) moves a cursor line whose record the viewer lists.
#pragma once
#include <QChartView>
#include <QPen>
#include <map>
#include <memory>
#include <vector>

#include "host/viewer/core/flight_data.h"
#include "host/viewer/core/flight_trace.h"

class QLineSeries;
class QValueAxis;

namespace host {

class FlightPlot : public QChartView {
    Q_OBJECT
public:
    explicit FlightPlot(std::shared_ptr<const FlightData> data, QWidget* parent = nullptr);

    // The pen channel i is drawn with (its colour and line style).
    QPen channel_pen(size_t i) const { return traces_[i].pen; }
    void set_channel_shown(size_t i, bool shown);
    bool channel_shown(size_t i) const { return traces_[i].shown; }

    // The time in view, kept within the recording and at least MIN_SPAN wide.
    void set_time_range(double t0, double t1);
    void reset_zoom();
    double time_from() const { return t0_; }
    double time_to() const { return t1_; }

    // The record under the cursor line, -1 for none.
    int cursor_row() const { return cursor_row_; }
    void set_cursor_row(int row);
    // The record nearest to time t.
    int row_at(double t) const;

    static constexpr double MIN_SPAN = 10; // seconds

    // About how many labels each value axis has; 0 leaves it to the axis.
    void set_value_ticks(int ticks) { value_ticks_ = ticks; }

    // The channels shown, by index.
    std::vector<size_t> shown_channels() const;

signals:
    void cursor_moved(int row);
    void view_changed(); // the time in view or the channels shown

protected:
    void resizeEvent(QResizeEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void drawForeground(QPainter* painter, const QRectF& rect) override;

private:
    struct Trace {
        bool shown = false;
        QPen pen;
        QValueAxis* axis = nullptr;        // its unit's axis
        std::vector<QLineSeries*> series;  // one per unbroken run; the first carries the legend
        std::unique_ptr<ValueExtrema> extrema; // made when the channel first shows
    };

    QValueAxis* unit_axis(const std::string& unit);
    QLineSeries* add_series(size_t channel);
    void redraw(); // the traces and value axes for the time in view
    QRectF plot_rect() const; // the plot area in scene coordinates
    double time_at(double scene_x) const;
    double scene_x(double t) const;

    std::shared_ptr<const FlightData> data_;
    std::vector<TimeSpan> alarms_;
    std::vector<Trace> traces_;
    std::map<std::string, QValueAxis*> unit_axes_;
    QValueAxis* time_axis_ = nullptr;
    double first_ = 0, last_ = 0; // the recording's time
    double t0_ = 0, t1_ = 0;      // the time in view
    int cursor_row_ = -1;
    int value_ticks_ = 0;
    bool dragging_ = false;
    bool dragged_ = false;
    double drag_x_ = 0, drag_t0_ = 0, drag_t1_ = 0;
};

} // namespace host
