// FlightAnalysisView: the flight-data viewer's side panel of what a recording
// says beyond its traces, in three tabs: "Range" (each shown channel's lowest,
// highest and mean over the time in view), "Alarms" (the alarm periods; a
// click puts the cursor on one) and "Lean Find" (each mixture sweep: the order
// in which the cylinders peaked, "1st EGT3" to "last EGT2", their EGT and fuel
// flow at the peak, and the "Flow spread" between the first and the last).
#pragma once
#include <QStringList>
#include <QTabWidget>
#include <memory>
#include <vector>

#include "host/viewer/core/flight_data.h"
#include "host/viewer/core/lean_find.h"

class QTreeWidget;

namespace host {

class FlightAnalysisView : public QTabWidget {
    Q_OBJECT
public:
    explicit FlightAnalysisView(std::shared_ptr<const FlightData> data, QWidget* parent = nullptr);

    // The figures of channels (indexes into the recording's) from t0 to t1.
    void show_range(double t0, double t1, const std::vector<size_t>& channels);

    // A tab's rows as text, cells joined by " | ", children indented: what the
    // panel shows, for scripts and tests.
    QStringList rows(const QString& tab) const;
    const std::vector<LeanSweep>& sweeps() const { return sweeps_; }
    // Brings the tab of that name to the front; false when there is none.
    bool show_tab(const QString& name);

signals:
    void jump_to(int row); // a record to put the cursor on

private:
    void fill_alarms();
    void fill_lean_find();

    std::shared_ptr<const FlightData> data_;
    std::vector<LeanSweep> sweeps_;
    QTreeWidget* range_ = nullptr;
    QTreeWidget* alarms_ = nullptr;
    QTreeWidget* lean_ = nullptr;
};

} // namespace host
