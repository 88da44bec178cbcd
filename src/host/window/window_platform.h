// The firmware's platform as the window provides it: the PC's UTC (or a
// scenario's virtual one), the card folder, the LCD panel Panel1, the GPS
// tab's echo window and the check boxes and power-on sliders of the input
// tabs. The window owns one, wires its controls into it as it builds them
// and installs it for its life.
#pragma once
#include <QDateTime>
#include <array>
#include <filesystem>

#include "host/card/core/card_folder.h"
#include "system/platform.h"

class QCheckBox;
class QLabel;
class QSlider;
class QWidget;

namespace host {

class EchoSink;
class LcdPanel;

class WindowPlatform final : public ems::Clock, public ems::Panel, public ems::SerialEcho, public ems::HostInputs {
public:
    // working_dir holds the SDCARD folder; message boxes open over window.
    WindowPlatform(std::filesystem::path working_dir, QWidget* window);
    WindowPlatform(const WindowPlatform&) = delete;
    WindowPlatform& operator=(const WindowPlatform&) = delete;

    // Makes this the firmware's platform, every part of it.
    void install();
    CardFolder& card() { return card_; }
    const CardFolder& card() const { return card_; }
    // While set, the card reads as not mounted whatever the check box says
    // (it is being changed).
    bool card_out = false;

    // The controls behind the parts, wired by the window; a missing one reads
    // as unchecked, at 0, or shows nothing.
    LcdPanel* lcd = nullptr;
    EchoSink* echo_sink = nullptr;
    std::array<QCheckBox*, size_t(ems::CheckBox::Count)> boxes{};
    void wire_slider(ems::PowerOnSlider s, QSlider* slider, QLabel* value_label);

    // From set_clock on, the PC's UTC reads as t's date and time (taken as
    // UTC whatever its zone) plus 100 ms per clock_tick.
    void set_clock(const QDateTime& t);
    void clock_tick() { ++clock_ticks_; }

    // Between hold and release a present only notes that a frame is ready;
    // release shows it, once.
    void hold_presents();
    void release_presents();
    int presented_frames() const { return presented_frames_; }

    ems::UtcTime utc_time() override;
    void present() override;
    void message_box(const char* text) override;
    void echo(const char* line) override;
    bool check_box(ems::CheckBox box) override;
    int slider_position(ems::PowerOnSlider s) override;
    void show_slider_value(ems::PowerOnSlider s) override;

private:
    struct SliderControls {
        QSlider* slider = nullptr;
        QLabel* value_label = nullptr;
    };

    CardFolder card_;
    QWidget* window_;
    std::array<SliderControls, size_t(ems::PowerOnSlider::Count)> sliders_{};
    bool clock_set_ = false;
    QDateTime clock_base_;
    qint64 clock_ticks_ = 0;
    int presented_frames_ = 0;
    bool hold_presents_ = false; // inside a frame: a pass's present waits for the frame's end
    bool held_frame_ = false;    // a pass asked to present while held
};

} // namespace host
