// TfrmMain: the simulator's window. It stands in for the instrument's
// hardware: the front panel with the LCD and keys, the tabs of simulated
// inputs, the serial GPS port, the 100 ms timer (held to the wall clock,
// host/core/tick_pacer.h); and it drives the firmware's
// passes from the Qt event loop: one main-loop pass per display frame, or
// four splash or notice passes of which only the last is shown. What the
// firmware reads and shows through its platform goes through the window's
// WindowPlatform.
#pragma once
#include <QDateTime>
#include <QElapsedTimer>
#include <QHash>
#include <QImage>
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/core/tick_pacer.h"
#include "host/window_platform.h"

class QActionGroup;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSlider;
class QTabWidget;
class QTimer;

namespace host {

class AlarmSound;
class LcdPanel;
class KeyArea;
class SerialLink;
class EchoSink;
class FlightViewer;
class NmeaSourceSelector;
class NmeaTcpSource;
class NmeaFileReplay;
class NmeaUdpSource;
class NmeaGpsdSource;
class FlightGearLink;
class FlightGearPlayer;
struct FlightGearSample;
class PowerLamp;
struct SaveState;

class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    // working_dir holds the SDCARD folder (the process's working directory by default).
    explicit TfrmMain(const QString& working_dir = QString(), QWidget* parent = nullptr);
    ~TfrmMain() override;

    // Controls by "TAB/CAPTION" (sliders, check boxes, combo boxes) or caption (buttons).
    QSlider* slider(const QString& key) const { return sliders_.value(key); }
    QLabel* slider_label(const QString& key) const { return slider_labels_.value(key); }
    QCheckBox* check(const QString& key) const { return checks_.value(key); }
    QComboBox* combo(const QString& key) const { return combos_.value(key); }
    QPushButton* button(const QString& caption) const { return buttons_.value(caption); }
    QLineEdit* line_edit(const QString& key) const { return line_edits_.value(key); }
    QStringList slider_keys() const { return sliders_.keys(); }
    QStringList check_keys() const { return checks_.keys(); }
    KeyArea* key_area(int code) const; // 1..6
    LcdPanel* lcd() const { return panel1_; }
    QWidget* front() const { return front_; }
    PowerLamp* power_lamp() const { return power_lamp_; }
    // The engineering-unit readout beside a sensor slider ("TAB/CAPTION"), if it has one.
    QLabel* readout(const QString& key) const { return readouts_.value(key); }
    QLabel* status_label(int i) const { return status_[i]; } // 0 power, 1 pass rate, 2 GPS source
    QPlainTextEdit* memo() const { return memo1_; }
    QTabWidget* tabs() const { return page_control1_; }
    // The NMEA sources of the GPS tab, owned by the selector.
    NmeaSourceSelector* nmea_sources() const { return sources_.get(); }
    SerialLink* serial() const { return serial_; }
    NmeaTcpSource* nmea_tcp() const { return nmea_tcp_; }
    NmeaFileReplay* nmea_replay() const { return nmea_replay_; }
    NmeaUdpSource* nmea_udp() const { return nmea_udp_; }
    NmeaGpsdSource* nmea_gpsd() const { return nmea_gpsd_; }
    // The FlightGear link (one of the NMEA sources) and the player of
    // recorded FlightGear streams, paced by the 100 ms ticks.
    FlightGearLink* flightgear() const { return flightgear_; }
    FlightGearPlayer* flightgear_player() const { return flightgear_player_; }
    // The alarm tone, asked after every pass; View / "Mute Alarm" mutes it.
    AlarmSound* alarm_sound() const { return alarm_sound_; }

    // Scenario mode: the 100 ms timer and the passes advance only when told.
    void set_virtual_time(bool on);
    bool virtual_time() const { return virtual_time_; }
    void advance_ticks(int n);  // n timer ticks (100 ms each)
    void run_passes(int n);     // n firmware passes (none while it is off), each with a round of events
    // From now on the firmware reads this as the PC's UTC; it advances with the ticks.
    void set_clock(const QDateTime& t) { platform_.set_clock(t); }

    // Button handlers, also used by the scenario runner.
    void Button1Click(); // "&On"
    void Button2Click(); // "&Off"
    void Exit1Click();   // File / "&Exit"

    // Re-reads the firmware's converted values into the readouts (also done
    // four times a second, and after scripted passes).
    void refresh_readouts();

    // View / Zoom: the front panel at 1x..4x, pixel for pixel; remembered in
    // the application's settings. The window resizes to the zoom, never
    // larger than its screen (larger zooms are not offered); resized by the
    // user, the front panel takes the largest whole zoom that fits and the
    // tabs the rest.
    int zoom() const { return zoom_; }
    void set_zoom(int factor);

    // Sensor presets (sensor_presets.cpp): a preset name as the chooser lists
    // it, or a file path. False with a message when the preset cannot be used;
    // then no control has moved.
    bool load_sensor_preset(const QString& name_or_path, QString& error);
    bool save_sensor_preset(const QString& path, QString& error) const;
    static QStringList shipped_presets(); // the names, in menu order

    // Save states (window_state.cpp): the unit's settings, calibration,
    // counters, flight log and page with every input of the window. Loading
    // checks the whole file first; a file that cannot be used changes nothing
    // and leaves a message. Loaded while the unit is off, the unit's part
    // goes in at the next power-on, which follows at once when the state was
    // saved running.
    bool save_state(const QString& path, QString& error) const;
    bool load_state(const QString& path, QString& error);
    // View / "Resume Where I Left Off" (remembered): the state is kept when
    // the window closes and loaded at the next start.
    static bool resume_enabled();
    static void set_resume_enabled(bool on);
    void keep_for_resume() const;
    bool resume(QString& error); // false when there is nothing to resume or it cannot be loaded
    void save_state_as();   // File / "Save State..."
    void load_state_from(); // File / "Load State..."

    // Help / Key Map's text: the unit's keys and every menu shortcut.
    QString key_map_text() const;

    // The LCD as shown (black while the unit is off), at the zoom.
    QImage lcd_screenshot() const;
    bool save_lcd_screenshot(const QString& path) const;
    void copy_lcd_to_clipboard() const;

    // The card folder (window_card.cpp): the folder standing for the SD
    // card. Switching it while the unit runs is pulling one card and
    // inserting another: the firmware sees no card for a pass, the folder
    // changes once no card file is open, then the new card is in. While the
    // unit is off it changes at once. The status bar names the card.
    QString card_folder() const;
    void switch_card(const QString& dir);
    bool card_switch_pending() const { return !pending_card_.isEmpty(); }
    void open_card_folder(); // File / "Open Card Folder...": choose, switch, remember
    // The flight-data viewer (flight_viewer.cpp): opens a recording in a new
    // viewer window; nullptr with a message when nothing of it can be shown.
    FlightViewer* open_flight_data(const QString& path, QString& error);
    // The same with the file read on a worker thread, so that a long recording
    // does not hold up the unit: the viewer shows when it is read, or failed
    // gets the message.
    void open_flight_data_later(const QString& path, std::function<void(const QString&)> failed);
    FlightViewer* flight_viewer() const; // the last one opened, while open
    QString flight_data_folder(); // the card's DATA folder, or the card while it has none

    // Shows the frame buffer on Panel1, as the firmware's present does.
    void present() { platform_.present(); }
    int presented_frames() const { return platform_.presented_frames(); }

signals:
    // Every tick of the 100 ms timer, real or scripted.
    void ticked();
    // After the firmware passes of a frame, or each scripted pass.
    void passed();

protected:
    void closeEvent(QCloseEvent* e) override; // FormClose
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build_front(QWidget* central);
    void build_tabs(QWidget* central);
    void wire_platform(); // the controls the firmware reads and shows through its platform
    QWidget* build_ems_tab();
    QWidget* build_gps_tab();
    QWidget* build_gps_diagnostics(); // counters of what the receive handler made of the feed
    QLayout* build_replay_controls(); // pause, speed and progress of a log replay
    // The FlightGear link's inputs on the GPS tab (flightgear_controls.cpp):
    // its port and counts in the grid at rows row and row + 1; returns the
    // port's line edit.
    QLineEdit* build_flightgear_controls(QGridLayout* grid, int row);
    void apply_flightgear(const FlightGearSample& sample); // moves the sliders it drives, and locks them
    void release_flightgear_sliders();                      // gives them back
    QWidget* build_selection_tab();
    QWidget* build_ul_power_tab();
    QSlider* add_slider(QGridLayout* grid, int row, const QString& tab, const QString& caption, int min,
                        int max, int start, std::function<void(int)> on_change, bool value_label = true);
    QCheckBox* add_check(QWidget* parent, const QString& tab, const QString& caption, bool checked);
    void build_menus();
    void build_help_menu(); // help_menu.cpp
    void show_about();
    void build_status_bar();
    void build_preset_chooser(QGridLayout* grid, int row);
    std::vector<std::pair<std::string, std::string>> inputs_state() const;
    bool plan_inputs(const SaveState& state, std::vector<std::function<void()>>& moves, QString& error);
    void apply_pending_state(); // after power-on
    void restore_zoom();
    void layout_front(int factor);
    void fit_client(QSize client); // the client area's size changed
    int max_zoom() const;          // the largest zoom whose window fits the screen
    void update_power_state();
    void update_status();
    void type_slider_value(const QString& key);
    void Timer1Timer();  // one 100 ms tick
    void deliver_ticks(); // the ticks due by the wall clock, then waits for the next
    void frame();
    void after_pass(); // a card switch goes on between passes
    void finish_card_switch();
    void show_card();
    void press_key(int code);
    void show_flight_viewer(FlightViewer* viewer);
    void wheel_knob(int steps);

    WindowPlatform platform_;
    LcdPanel* panel1_ = nullptr;
    QTabWidget* page_control1_ = nullptr;
    QPlainTextEdit* memo1_ = nullptr;
    QWidget* front_ = nullptr;
    std::array<KeyArea*, 6> keys_{};
    QHash<QString, QSlider*> sliders_;
    QHash<QString, QLabel*> slider_labels_;
    QHash<QString, QCheckBox*> checks_;
    QHash<QString, QComboBox*> combos_;
    QHash<QString, QPushButton*> buttons_;
    QHash<QString, QLineEdit*> line_edits_;
    QHash<QString, QLabel*> readouts_;
    QStringList control_order_; // slider and check-box keys in the order of the tabs
    PowerLamp* power_lamp_ = nullptr;
    QHash<QWidget*, QRect> front_geometry_; // the front's children at 1x
    int zoom_ = 1;
    std::shared_ptr<SaveState> pending_state_; // loaded while off, for the next power-on
    bool powered_shown_ = false;
    std::array<QLabel*, 3> status_{};
    QTimer* status_timer_ = nullptr;
    QElapsedTimer pass_clock_;
    long long passes_ = 0;       // firmware passes run, for the pass rate
    long long passes_shown_ = 0; // passes_ at the last rate shown
    QTimer* timer1_ = nullptr; // wakes the window when the next tick is due
    QElapsedTimer tick_clock_; // monotonic: decides how many ticks are due
    TickPacer tick_pacer_;
    QTimer* frame_timer_ = nullptr;
    // The NMEA sources (build_gps_tab); at most one feeds the receive handler.
    std::unique_ptr<NmeaSourceSelector> sources_;
    SerialLink* serial_ = nullptr;
    NmeaTcpSource* nmea_tcp_ = nullptr;
    NmeaFileReplay* nmea_replay_ = nullptr;
    NmeaUdpSource* nmea_udp_ = nullptr;
    NmeaGpsdSource* nmea_gpsd_ = nullptr;
    FlightGearLink* flightgear_ = nullptr;
    FlightGearPlayer* flightgear_player_ = nullptr;
    QStringList flightgear_driven_; // slider keys the link moves and has locked
    EchoSink* echo_ = nullptr;
    bool virtual_time_ = false;
    QLabel* card_label_ = nullptr;
    QString pending_card_; // the card going in, while the old one is out
    QPointer<FlightViewer> flight_viewer_;
    AlarmSound* alarm_sound_ = nullptr;
};

} // namespace host
