// TfrmMain: the simulator's window. It stands in for the instrument's
// hardware and is laid out as the unit's host is: the front panel with the
// LCD and keys (FrontView), the tabs of simulated inputs (ControlPanel, with
// the GPS tab), the menus and the status bar, and the power buttons. The
// firmware runs under its UnitRunner (the 100 ms timer and the passes from
// the Qt event loop); its card slot, flight-data viewers and GPS sources are
// classes of their own, reached through it.
#pragma once
#include <QMainWindow>
#include <memory>

class QTimer;

namespace host {

class CardSlot;
class EngineTab;
class ControlPanel;
class FlightViewers;
class FrontView;
class GpsTab;
class InstrumentReplay;
class SaveStates;
class StatusLine;
class UnitRunner;

class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    // working_dir holds the SDCARD folder (the process's working directory by default).
    explicit TfrmMain(const QString& working_dir = QString(), QWidget* parent = nullptr);
    ~TfrmMain() override;

    ControlPanel* inputs() const { return inputs_; } // the tabs; every control by "TAB/CAPTION"
    GpsTab* gps() const { return gps_; }             // the NMEA sources and the FlightGear link
    EngineTab* engine() const { return engine_; }    // the built-in engine
    FrontView* front() const { return front_; }      // the LCD, the keys, the lamp, the zoom
    UnitRunner* runner() const { return runner_.get(); }
    CardSlot* card() const { return card_; }
    FlightViewers* viewers() const { return viewers_; }
    InstrumentReplay* replay() const { return replay_; }
    StatusLine* status() const { return status_; }
    SaveStates* states() const { return states_; } // File / Save State... and Load State..., resume

    // Button handlers, also used by the scenario runner.
    void Button1Click(); // "&On"
    void Button2Click(); // "&Off"
    void Exit1Click();   // File / "&Exit"

    // View / Zoom: the front panel at 1x..4x, pixel for pixel; remembered in
    // the application's settings. The window resizes to the zoom, never
    // larger than its screen (larger zooms are not offered); resized by the
    // user, the front panel takes the largest whole zoom that fits and the
    // tabs the rest (window_zoom.cpp).
    void set_zoom(int factor);
    void restore_zoom(); // the zoom remembered, 1x at first

protected:
    void closeEvent(QCloseEvent* e) override; // FormClose
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build_menus();
    void update_power_state();
    void refresh_status(); // the pass rate and the GPS source

    std::unique_ptr<UnitRunner> runner_;
    ControlPanel* inputs_ = nullptr;
    GpsTab* gps_ = nullptr;
    EngineTab* engine_ = nullptr;
    FrontView* front_ = nullptr;
    CardSlot* card_ = nullptr;
    FlightViewers* viewers_ = nullptr;
    InstrumentReplay* replay_ = nullptr;
    StatusLine* status_ = nullptr;
    SaveStates* states_ = nullptr;
    QTimer* status_timer_ = nullptr;
    bool powered_shown_ = false;
};

} // namespace host
