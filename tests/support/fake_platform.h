// A platform for tests: real files in a fresh temporary working directory
// (with an SDCARD folder), a settable clock, settable check boxes and slider
// positions, and records of what the firmware presented and reported.
#pragma once
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "host/card/core/card_folder.h"
#include "system/platform.h"

namespace test {

class FakePlatform : public host::CardFolder,
                     public ems::Clock,
                     public ems::Panel,
                     public ems::SerialEcho,
                     public ems::HostInputs {
public:
    FakePlatform();           // creates the temp folder and installs itself
    ~FakePlatform() override; // uninstalls itself and removes the folder

    std::filesystem::path dir() const { return working_dir(); }
    std::filesystem::path card() const { return working_dir() / "SDCARD"; }

    ems::UtcTime now{};                          // what utc_time returns
    bool boxes[size_t(ems::CheckBox::Count)] = {}; // check-box states; SD card mounted at start
    int presents = 0;
    std::vector<std::string> messages;
    std::vector<std::string> echoes;
    std::mutex echo_mutex;
    int slider_values[size_t(ems::PowerOnSlider::Count)] = {0, 0, 31000}; // Volts, OAT, RPM slider positions
    int rpm_label_shows = 0;

    ems::UtcTime utc_time() override { return now; }
    void message_box(const char* text) override { messages.emplace_back(text); }
    void present() override { ++presents; }
    bool check_box(ems::CheckBox b) override { return boxes[size_t(b)]; }
    int slider_position(ems::PowerOnSlider s) override { return slider_values[size_t(s)]; }
    void show_slider_value(ems::PowerOnSlider s) override
    {
        if (s == ems::PowerOnSlider::Rpm) ++rpm_label_shows;
    }
    void echo(const char* line) override
    {
        std::lock_guard<std::mutex> lock(echo_mutex);
        echoes.emplace_back(line);
    }
};

} // namespace test
