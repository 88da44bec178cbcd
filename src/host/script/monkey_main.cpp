// sorvik-monkey: writes a random scenario script for the window to standard
// output. The window itself (built offscreen, never shown) names its sliders
// with their ranges and its check boxes, so every control it has is played.
// The script powers on, then mixes keys (the knob and push open every menu
// and setup page), sliders anywhere in their range, check boxes (the card
// too), valid and broken NMEA, power cycles, clock jumps, the FlightGear link
// and the flight-data viewer, and passes of time, and ends with "quit". The same seed gives the same script.
//
//   sorvik-monkey SEED STEPS > script.scn
#include <QApplication>
#include <QCheckBox>
#include <QSlider>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "host/inputs/control_panel.h"
#include "host/window/main_window.h"

namespace {

struct Control {
    std::string key;
    int min = 0, max = 0;
};

std::string script_word(const std::string& text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n";
        else if (c == '\t') out += "\\t";
        else out += c;
    }
    return out + "\"";
}

class Monkey {
public:
    Monkey(unsigned seed, std::vector<Control> sliders, std::vector<std::string> checks)
        : rng_(seed), sliders_(std::move(sliders)), checks_(std::move(checks))
    {
    }

    void step()
    {
        const int what = pick(0, 99);
        if (what < 40) keys();
        else if (what < 58) slider();
        else if (what < 64) check();
        else if (what < 76) nmea();
        else if (what < 79) power_cycle();
        else if (what < 81) clock();
        else if (what < 82) host_feature();
        else if (what < 90) line("ticks " + std::to_string(pick(1, 40)));
        else line("passes " + std::to_string(pick(1, 120)));
    }

    void line(const std::string& text) { std::printf("%s\n", text.c_str()); }

private:
    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

    // A burst of keys with a pass or a few between them; mostly the knob and
    // push, which walk the menus and setup pages.
    void keys()
    {
        for (int n = pick(1, 12); n > 0; --n) {
            const int k = pick(0, 9);
            line("key " + std::to_string(k < 5 ? k + 1 : k < 7 ? 6 : k < 8 ? 7 : 8));
            line("passes " + std::to_string(pick(1, 4)));
        }
    }

    void slider()
    {
        if (sliders_.empty()) return;
        const Control& s = sliders_[size_t(pick(0, int(sliders_.size()) - 1))];
        const int where = pick(0, 9);
        const int value = where == 0 ? s.min : where == 1 ? s.max : pick(s.min, s.max);
        line("slider " + script_word(s.key) + " " + std::to_string(value));
        line("passes " + std::to_string(pick(1, 10)));
    }

    void check()
    {
        if (checks_.empty()) return;
        line("check " + script_word(checks_[size_t(pick(0, int(checks_.size()) - 1))]) + (pick(0, 1) ? " on" : " off"));
        line("passes 2");
    }

    std::string number(int digits, int decimals)
    {
        std::string out;
        for (int i = 0; i < digits; ++i) out += char('0' + pick(0, 9));
        if (decimals) out += '.';
        for (int i = 0; i < decimals; ++i) out += char('0' + pick(0, 9));
        return out;
    }

    std::string sentence()
    {
        const char* ns = pick(0, 1) ? "N" : "S";
        const char* ew = pick(0, 1) ? "E" : "W";
        std::string body;
        switch (pick(0, 3)) {
        case 0:
            body = "GPRMC," + number(6, 2) + "," + (pick(0, 4) ? "A" : "V") + "," + number(4, 3) + "," + ns + "," +
                   number(5, 3) + "," + ew + "," + number(3, 1) + "," + number(3, 1) + "," + number(6, 0) + "," +
                   number(3, 1) + "," + ew;
            break;
        case 1:
            body = "GPGGA," + number(6, 2) + "," + number(4, 3) + "," + ns + "," + number(5, 3) + "," + ew + "," +
                   std::to_string(pick(0, 2)) + "," + number(2, 0) + "," + number(1, 1) + "," + number(4, 1) +
                   ",M," + number(2, 1) + ",M,,";
            break;
        case 2:
            body = "GPGSA,A," + std::to_string(pick(1, 3)) + ",04,05,,09,12,,,24,,,,," + number(1, 1) + "," +
                   number(1, 1) + "," + number(1, 1);
            break;
        default: {
            body = "GPGSV,3," + std::to_string(pick(1, 3)) + "," + number(2, 0);
            for (int i = pick(0, 4); i > 0; --i)
                body += "," + number(2, 0) + "," + number(2, 0) + "," + number(3, 0) + "," + number(2, 0);
        }
        }
        uint8_t sum = 0;
        for (char c : body) sum ^= uint8_t(c);
        char tail[8];
        std::snprintf(tail, sizeof tail, "*%02X\r\n", sum);
        return "$" + body + tail;
    }

    // Valid sentences, or ones broken in a way a real line breaks them.
    void nmea()
    {
        std::string bytes;
        for (int n = pick(1, 4); n > 0; --n) bytes += sentence();
        switch (pick(0, 5)) {
        case 0: bytes.erase(size_t(pick(0, int(bytes.size()) - 1))); break; // cut off
        case 1: bytes[size_t(pick(0, int(bytes.size()) - 1))] = char(pick(1, 255)); break;
        case 2: bytes.insert(size_t(pick(0, int(bytes.size()))), std::string(size_t(pick(1, 300)), ',')); break;
        case 3:
            for (int i = pick(1, 40); i > 0; --i) bytes += char(pick(1, 255));
            break;
        default: break;
        }
        line("nmea " + script_word(bytes));
        line("passes " + std::to_string(pick(1, 5)));
    }

    // The host's own features: a stretch of a recorded FlightGear flight
    // through the link (nothing else moves the sliders or feeds the serial
    // input meanwhile), or a recording opened in the flight-data viewer. The
    // two example files lie beside the script (scripts/monkey.sh).
    void host_feature()
    {
        if (pick(0, 1)) {
            line("flightgear start 0");
            line("flightgear play flightgear_flight.csv " + std::to_string(pick(1, 20)));
            for (int n = pick(1, 6); n > 0; --n) {
                line("ticks " + std::to_string(pick(1, 30)));
                line("passes " + std::to_string(pick(1, 30)));
            }
            line("flightgear stop");
            return;
        }
        line("viewer open sample_flight.csv");
        line("viewer cursor " + std::to_string(pick(0, 700)));
        const int t0 = pick(0, 600);
        line("viewer range " + std::to_string(t0) + " " + std::to_string(t0 + pick(1, 120)));
        line(std::string("viewer channel EGT1 ") + (pick(0, 1) ? "on" : "off"));
    }

    void power_cycle()
    {
        line("power off");
        line("passes " + std::to_string(pick(0, 3)));
        line("power on");
        if (pick(0, 1)) line("passes " + std::to_string(pick(1, 3000))); // the splash and notice run out
    }

    void clock()
    {
        char text[40];
        std::snprintf(text, sizeof text, "clock %04d-%02d-%02d %02d:%02d:%02d", pick(1980, 2099), pick(1, 12),
                      pick(1, 28), pick(0, 23), pick(0, 59), pick(0, 59));
        line(text);
    }

    std::mt19937 rng_;
    std::vector<Control> sliders_;
    std::vector<std::string> checks_;
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: sorvik-monkey SEED STEPS > script.scn\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const unsigned seed = unsigned(std::strtoul(argv[1], nullptr, 10));
    const long steps = std::strtol(argv[2], nullptr, 10);

    std::vector<Control> sliders;
    std::vector<std::string> checks;
    {
        host::TfrmMain window;
        QStringList keys = window.inputs()->slider_keys();
        keys.sort();
        for (const QString& k : keys) {
            const QSlider* s = window.inputs()->slider(k);
            sliders.push_back({k.toStdString(), s->minimum(), s->maximum()});
        }
        keys = window.inputs()->check_keys();
        keys.sort();
        for (const QString& k : keys) checks.push_back(k.toStdString());
    }

    Monkey monkey(seed, std::move(sliders), std::move(checks));
    std::printf("# sorvik-monkey %u %ld\n", seed, steps);
    monkey.line("power on");
    for (long i = 0; i < steps; ++i) monkey.step();
    monkey.line("quit");
    return 0;
}
