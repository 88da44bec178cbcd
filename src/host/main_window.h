// TfrmMain: the simulator's window. It stands in for the instrument's
// hardware: the front panel with the LCD and keys, the tabs of simulated
// inputs, the serial GPS port, the 100 ms timer; and it drives the firmware's
// passes from the Qt event loop: one main-loop pass per display frame, or
// four splash or notice passes of which only the last is shown. What the
// firmware reads and shows through its platform goes through the window's
// WindowPlatform.
#pragma once
#include <QDateTime>
#include <QElapsedTimer>
#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>
#include <memory>

#include "host/window_platform.h"

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSlider;
class QTabWidget;
class QTimer;

namespace host {

class LcdPanel;
class KeyArea;
class SerialLink;
class EchoSink;
class NmeaSourceSelector;
class NmeaTcpSource;
class NmeaFileReplay;

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
    QStringList slider_keys() const { return sliders_.keys(); }
    QStringList check_keys() const { return checks_.keys(); }
    KeyArea* key_area(int code) const; // 1..6
    LcdPanel* lcd() const { return panel1_; }
    QPlainTextEdit* memo() const { return memo1_; }
    QTabWidget* tabs() const { return page_control1_; }
    // The NMEA sources of the GPS tab, owned by the selector.
    NmeaSourceSelector* nmea_sources() const { return sources_.get(); }
    SerialLink* serial() const { return serial_; }
    NmeaTcpSource* nmea_tcp() const { return nmea_tcp_; }
    NmeaFileReplay* nmea_replay() const { return nmea_replay_; }

    // Scenario mode: the 100 ms timer and the passes advance only when told.
    void set_virtual_time(bool on);
    bool virtual_time() const { return virtual_time_; }
    void advance_ticks(int n);  // n timer ticks (100 ms each)
    void run_passes(int n);     // n firmware passes (while the firmware runs)
    // From now on the firmware reads this local time; it advances with the ticks.
    void set_clock(const QDateTime& t) { platform_.set_clock(t); }

    // Button handlers, also used by the scenario runner.
    void Button1Click(); // "&On"
    void Button2Click(); // "&Off"
    void Exit1Click();   // File / "&Exit"

    // Shows the frame buffer on Panel1, as the firmware's present does.
    void present() { platform_.present(); }
    int presented_frames() const { return platform_.presented_frames(); }

protected:
    void closeEvent(QCloseEvent* e) override; // FormClose
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build_front(QWidget* central);
    void build_tabs(QWidget* central);
    void wire_platform(); // the controls the firmware reads and shows through its platform
    QWidget* build_ems_tab();
    QWidget* build_gps_tab();
    QWidget* build_selection_tab();
    QWidget* build_ul_power_tab();
    QSlider* add_slider(QGridLayout* grid, int row, const QString& tab, const QString& caption, int min,
                        int max, int start, std::function<void(int)> on_change, bool value_label = true);
    QCheckBox* add_check(QWidget* parent, const QString& tab, const QString& caption, bool checked);
    void Timer1Timer();
    void frame();
    void press_key(int code);
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
    QTimer* timer1_ = nullptr;
    QTimer* frame_timer_ = nullptr;
    // The NMEA sources (build_gps_tab); at most one feeds the receive handler.
    std::unique_ptr<NmeaSourceSelector> sources_;
    SerialLink* serial_ = nullptr;
    NmeaTcpSource* nmea_tcp_ = nullptr;
    NmeaFileReplay* nmea_replay_ = nullptr;
    EchoSink* echo_ = nullptr;
    bool virtual_time_ = false;
};

} // namespace host
