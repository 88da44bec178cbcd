// A platform for tests: real files in a fresh temporary working directory
// (with an SDCARD folder), a settable clock, settable check boxes, and
// records of what the firmware presented and reported.
#pragma once
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "host/core/card_folder.h"
#include "system/platform.h"

namespace test {

class FakePlatform : public ems::Platform {
public:
    FakePlatform();           // creates the temp folder and installs itself
    ~FakePlatform() override; // uninstalls itself and removes the folder

    std::filesystem::path dir() const { return card_.working_dir(); }
    std::filesystem::path card() const { return card_.working_dir() / "SDCARD"; }

    ems::LocalTime now{};
    bool boxes[size_t(ems::CheckBox::Count)] = {};
    int presents = 0;
    std::vector<std::string> messages;
    std::vector<std::string> echoes;
    std::mutex echo_mutex;

    ems::LocalTime local_time() override { return now; }
    int file_open(const char* p, ems::FileMode m) override { return card_.file_open(p, m); }
    size_t file_read(int h, uint8_t* d, size_t n) override { return card_.file_read(h, d, n); }
    size_t file_write(int h, const uint8_t* d, size_t n) override { return card_.file_write(h, d, n); }
    bool file_close(int h) override { return card_.file_close(h); }
    bool file_replace(const char* s, const char* d) override { return card_.file_replace(s, d); }
    bool file_remove(const char* p) override { return card_.file_remove(p); }
    int dir_open(const char* p) override { return card_.dir_open(p); }
    bool dir_next(int h, char* n, size_t s) override { return card_.dir_next(h, n, s); }
    void dir_close(int h) override { card_.dir_close(h); }
    void message_box(const char* text) override { messages.emplace_back(text); }
    void present() override { ++presents; }
    bool check_box(ems::CheckBox b) override { return boxes[size_t(b)]; }
    int slider_values[3] = {0, 0, 31000}; // Volts, OAT, RPM slider positions
    int rpm_label_shows = 0;
    int slider_position(ems::PowerOnSlider s) override { return slider_values[size_t(s)]; }
    void show_slider_value(ems::PowerOnSlider s) override
    {
        if (s == ems::PowerOnSlider::Rpm) ++rpm_label_shows;
    }
    void serial_echo(const char* line) override
    {
        std::lock_guard<std::mutex> lock(echo_mutex);
        echoes.emplace_back(line);
    }

private:
    static std::filesystem::path make_temp_dir();
    host::CardFolder card_;
};

} // namespace test
