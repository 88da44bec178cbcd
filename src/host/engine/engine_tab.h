// The Engine tab: the built-in engine's controls, the air, the failure
// switches and the lean-find helper. While "Run engine" is ticked the engine
// steps with the instrument's 100 ms tick and moves the EMS sliders it
// drives, locked, as the FlightGear link does; unticked, they are the
// user's again. It may also send the GPS fixes of a standing or flying
// aeroplane, when no NMEA source is connected.
#pragma once
#include <QHash>
#include <QStringList>
#include <QWidget>
#include <memory>

#include "host/engine/core/engine_session.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSlider;
class QSpinBox;

namespace host {

class ControlPanel;
class GpsTab;

enum class EngineGps : uint8_t { Off, Still, Fly };

class EngineTab : public QWidget {
    Q_OBJECT
public:
    EngineTab(ControlPanel& controls, GpsTab& gps);
    ~EngineTab() override;

    // Whether the engine drives the instrument; false with a reason when it
    // cannot (the FlightGear link drives the inputs).
    bool set_running(bool on, QString& error);
    bool running() const { return running_; }
    void set_gps(EngineGps gps);

    // The "engine" scenario command (words[0] is "engine").
    bool command(const std::vector<std::string>& words, QString& error);

    EngineSession& session() { return *session_; }

    // Every 100 ms tick of the unit: the engine steps and moves the sliders.
    void tick();
    // After every pass: a GPS fix waiting goes to the unit.
    void offer_fix();

private:
    void build();
    QWidget* build_controls();
    QWidget* build_air();
    QWidget* build_failures();
    void show_session(); // the widgets from the session, after a command or a start
    void show_readout();

    ControlPanel& controls_;
    GpsTab& gps_tab_;
    std::unique_ptr<EngineSession> session_;
    bool running_ = false;
    bool showing_ = false; // widgets being set from the session: their signals change nothing
    EngineGps gps_ = EngineGps::Off;
    int ticks_since_fix_ = 0;
    int gsv_part_ = 0;
    QByteArray waiting_fix_;
    QStringList driven_;

    QCheckBox* run_ = nullptr;
    QComboBox* type_ = nullptr;
    QSlider* throttle_ = nullptr;
    QSlider* mixture_ = nullptr;
    QComboBox* mags_ = nullptr;
    QComboBox* tank_ = nullptr;
    QPushButton* starter_ = nullptr;
    QPushButton* lean_find_ = nullptr;
    QCheckBox* master_ = nullptr;
    QCheckBox* alternator_ = nullptr;
    QCheckBox* boost_ = nullptr;
    QSpinBox* altitude_ = nullptr;
    QSpinBox* oat_ = nullptr;
    QSpinBox* airspeed_ = nullptr;
    QComboBox* gps_box_ = nullptr;
    QComboBox* speed_ = nullptr;
    QLabel* readout_ = nullptr;
    QHash<QCheckBox*, std::pair<EngineFailure, int>> failure_boxes_;
};

} // namespace host
