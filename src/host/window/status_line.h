// StatusLine: the window's status bar: power, firmware passes per second,
// and the GPS source with its state.
#pragma once
#include <QElapsedTimer>
#include <QObject>
#include <array>

class QLabel;
class QStatusBar;

namespace host {

class NmeaSource;

class StatusLine : public QObject {
    Q_OBJECT
public:
    explicit StatusLine(QStatusBar* bar);

    QLabel* label(int i) const { return labels_[size_t(i)]; } // 0 power, 1 pass rate, 2 GPS source
    void show_power(bool on, bool starting);
    // passes is the count of firmware passes run so far; under a script
    // passes follow the script, not the clock.
    void show_rate(long long passes, bool scripted);
    void show_source(const NmeaSource& source);

private:
    std::array<QLabel*, 3> labels_{};
    QElapsedTimer clock_;
    long long passes_shown_ = 0; // the passes at the last rate shown
};

} // namespace host
