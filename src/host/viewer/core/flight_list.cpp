#include "host/viewer/core/flight_list.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "host/common/core/file_read.h"

namespace host {

namespace {

double channel_peak(const FlightData& data, std::string_view kind)
{
    double peak = NAN;
    for (const FlightChannel& c : data.channels) {
        if (channel_cylinder(c.name) == 0 || c.name.rfind(kind, 0) != 0) continue;
        for (double v : c.values)
            if (!std::isnan(v) && !(v <= peak)) peak = v;
    }
    return peak;
}

bool csv_name(const std::filesystem::path& p)
{
    std::string ext = p.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::toupper(c)); });
    return ext == ".CSV";
}

FlightEntry read_entry(const std::filesystem::path& path)
{
    FlightEntry e;
    e.path = path;
    std::string text, system_error;
    switch (read_regular_file(path.string(), FLIGHT_DATA_MAX_BYTES, text, system_error)) {
    case FileRead::Ok: break;
    case FileRead::TooLarge: e.error = "larger than the viewer reads"; return e;
    case FileRead::NotRegular: e.error = "not a regular file"; return e;
    default: e.error = "cannot read it: " + system_error; return e;
    }
    FlightData data;
    if (read_flight_data(text, data, e.error)) e.summary = summarize_flight(data);
    return e;
}

void append_number(std::string& out, double v)
{
    char buf[400]; // the longest fixed form of a double
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
    if (ec == std::errc()) out.append(buf, end);
}

} // namespace

FlightSummary summarize_flight(const FlightData& data)
{
    FlightSummary s;
    if (data.seconds.empty()) return s;
    s.date = data.utc.front().substr(0, 10);
    s.start_utc = data.utc.front().substr(11);
    s.duration = data.seconds.back() - data.seconds.front();
    s.peak_egt = channel_peak(data, "EGT");
    s.peak_cht = channel_peak(data, "CHT");
    s.alarms = alarm_spans(data).size();
    return s;
}

std::vector<FlightEntry> scan_recordings(const std::filesystem::path& folder)
{
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (csv_name(it->path())) files.push_back(it->path());
    std::sort(files.begin(), files.end());
    std::vector<FlightEntry> entries;
    for (const auto& f : files) entries.push_back(read_entry(f));
    return entries;
}

std::string flight_csv(const FlightData& data, double t0, double t1)
{
    std::string out = "UTC,T (s)";
    for (const FlightChannel& c : data.channels)
        if (!c.derived) out += "," + c.name + (c.unit.empty() ? "" : " (" + c.unit + ")");
    out += "\r\n";
    for (size_t r = 0; r < data.seconds.size(); ++r) {
        if (data.seconds[r] < t0 || data.seconds[r] > t1) continue;
        out += data.utc[r];
        out += ',';
        append_number(out, data.seconds[r]);
        for (const FlightChannel& c : data.channels) {
            if (c.derived) continue;
            out += ',';
            if (!std::isnan(c.values[r])) append_number(out, c.values[r]);
        }
        out += "\r\n";
    }
    return out;
}

} // namespace host
