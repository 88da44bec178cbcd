#include "host/viewer/flight_analysis_view.h"

#include <QHeaderView>
#include <QTreeWidget>
#include <algorithm>
#include <cmath>

#include "host/viewer/core/flight_analysis.h"

namespace host {

namespace {

constexpr int ROW_ROLE = Qt::UserRole; // an alarm period's first record

QString number(double v, const std::string& unit = {})
{
    if (std::isnan(v)) return QString::fromUtf8("\u2013");
    const QString n = QString::number(v, 'f', std::fabs(v - std::round(v)) < 1e-9 ? 0 : 1);
    return unit.empty() ? n : n + " " + QString::fromStdString(unit);
}

QTreeWidget* table(const QStringList& headers)
{
    auto* t = new QTreeWidget;
    t->setColumnCount(int(headers.size()));
    t->setHeaderLabels(headers);
    t->setRootIsDecorated(false);
    t->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    return t;
}

void rows_of(const QTreeWidgetItem* item, int depth, QStringList& out)
{
    QStringList cells;
    for (int c = 0; c < item->columnCount(); ++c) cells << item->text(c);
    while (!cells.isEmpty() && cells.back().isEmpty()) cells.removeLast();
    out << QString(depth * 2, ' ') + cells.join(" | ");
    for (int i = 0; i < item->childCount(); ++i) rows_of(item->child(i), depth + 1, out);
}

const char* ordinal(size_t i)
{
    static const char* const names[] = {"1st", "2nd", "3rd"};
    return i < std::size(names) ? names[i] : nullptr;
}

} // namespace

FlightAnalysisView::FlightAnalysisView(std::shared_ptr<const FlightData> data, QWidget* parent)
    : QTabWidget(parent), data_(std::move(data)), sweeps_(find_lean_sweeps(*data_))
{
    range_ = table({"In view", "Min", "Max", "Mean"});
    alarms_ = table({"Alarm from", "T (s)", "For"});
    lean_ = table({"Sweep", "EGT", "Flow"});
    lean_->setRootIsDecorated(true);
    addTab(range_, "Range");
    addTab(alarms_, "Alarms");
    addTab(lean_, "Lean Find");
    fill_alarms();
    fill_lean_find();
    connect(alarms_, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { emit jump_to(item->data(0, ROW_ROLE).toInt()); });
}

void FlightAnalysisView::show_range(double t0, double t1, const std::vector<size_t>& channels)
{
    range_->clear();
    for (size_t i : channels) {
        const FlightChannel& c = data_->channels[i];
        const ChannelStats s = channel_stats(data_->seconds, c.values, t0, t1);
        new QTreeWidgetItem(range_, {QString::fromStdString(c.name), number(s.min, c.unit), number(s.max, c.unit),
                                     number(s.mean, c.unit)});
    }
}

void FlightAnalysisView::fill_alarms()
{
    const auto& seconds = data_->seconds;
    for (const TimeSpan& s : alarm_spans(*data_)) {
        const size_t row = size_t(std::lower_bound(seconds.begin(), seconds.end(), s.begin) - seconds.begin());
        auto* item = new QTreeWidgetItem(alarms_, {QString::fromStdString(data_->utc[row]), number(s.begin),
                                                   number(s.end - s.begin) + " s"});
        item->setData(0, ROW_ROLE, int(row));
    }
    if (alarms_->topLevelItemCount() == 0) new QTreeWidgetItem(alarms_, {"No alarm in this recording"});
}

void FlightAnalysisView::fill_lean_find()
{
    const FlightChannel* flow = find_channel(*data_, LEAN_FLOW_CHANNEL);
    for (const LeanSweep& s : sweeps_) {
        auto* sweep = new QTreeWidgetItem(
            lean_, {QString("%1, %2 s").arg(QString::fromStdString(data_->utc[s.begin_row].substr(11)))
                        .arg(data_->seconds[s.end_row] - data_->seconds[s.begin_row]),
                    QString(), number(flow->values[s.begin_row]) + QString::fromUtf8("\u2192") +
                                   number(flow->values[s.end_row])});
        sweep->setToolTip(0, QString::fromStdString(data_->utc[s.begin_row]));
        sweep->setExpanded(true);
        for (size_t i = 0; i < s.peaks.size(); ++i) {
            const CylinderPeak& p = s.peaks[i];
            const FlightChannel* egt = find_channel(*data_, "EGT" + std::to_string(p.cylinder));
            const QString place = i > 0 && i + 1 == s.peaks.size() ? QString("last")
                                  : ordinal(i)                       ? QString(ordinal(i))
                                                                     : QString("%1th").arg(i + 1);
            new QTreeWidgetItem(sweep, {QString("%1 EGT%2").arg(place).arg(p.cylinder),
                                        number(p.egt, egt ? egt->unit : std::string()), number(p.flow, flow->unit)});
        }
        for (int c : s.not_peaked) new QTreeWidgetItem(sweep, {QString("EGT%1 did not peak").arg(c)});
        if (s.peaks.size() >= 2)
            new QTreeWidgetItem(sweep, {"Flow spread", QString(), number(s.flow_spread(), flow->unit)});
    }
    if (sweeps_.empty())
        new QTreeWidgetItem(lean_, {QString("No mixture sweep (%1 falling while %2 and %3 hold)")
                                        .arg(LEAN_FLOW_CHANNEL, LEAN_RPM_CHANNEL, LEAN_MAP_CHANNEL)});
}

bool FlightAnalysisView::show_tab(const QString& name)
{
    for (int i = 0; i < count(); ++i)
        if (tabText(i) == name) {
            setCurrentIndex(i);
            return true;
        }
    return false;
}

QStringList FlightAnalysisView::rows(const QString& tab) const
{
    const QTreeWidget* t = tab == "Range" ? range_ : tab == "Alarms" ? alarms_ : tab == "Lean Find" ? lean_ : nullptr;
    QStringList out;
    if (t)
        for (int i = 0; i < t->topLevelItemCount(); ++i) rows_of(t->topLevelItem(i), 0, out);
    return out;
}

} // namespace host
