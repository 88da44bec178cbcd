#include "host/viewer/core/flight_data.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace host {

namespace {

constexpr std::string_view UTC_COLUMN = "UTC";
constexpr std::string_view SECONDS_COLUMN = "T (s)";
constexpr std::string_view ALARM_COLUMNS[] = {"ALARM1", "ALARM2"};
constexpr std::string_view UTF8_BOM = "\xEF\xBB\xBF";

// Splits a line at ',' into fields (views into line).
void split_fields(std::string_view line, std::vector<std::string_view>& fields)
{
    fields.clear();
    size_t start = 0;
    for (;;) {
        const size_t comma = line.find(',', start);
        fields.push_back(line.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
        if (comma == std::string_view::npos) return;
        start = comma + 1;
    }
}

bool printable(std::string_view s)
{
    for (unsigned char c : s)
        if (c < 0x20 || c == 0x7F) return false;
    return true;
}

// s cut to FLIGHT_NAME_MAX_CHARS, counting the cut in shortened.
std::string bounded_name(std::string_view s, size_t& shortened)
{
    if (s.size() <= FLIGHT_NAME_MAX_CHARS) return std::string(s);
    ++shortened;
    return std::string(s.substr(0, FLIGHT_NAME_MAX_CHARS));
}

// "NAME (UNIT)" or "NAME".
FlightChannel header_column(std::string_view field, size_t& shortened)
{
    FlightChannel c;
    const size_t open = field.rfind(" (");
    if (open != std::string_view::npos && open > 0 && field.size() > open + 3 && field.back() == ')') {
        c.name = bounded_name(field.substr(0, open), shortened);
        c.unit = bounded_name(field.substr(open + 2, field.size() - open - 3), shortened);
    } else {
        c.name = bounded_name(field, shortened);
    }
    return c;
}

bool digits(std::string_view s, size_t at, size_t n)
{
    for (size_t i = at; i < at + n; ++i)
        if (s[i] < '0' || s[i] > '9') return false;
    return true;
}

// YYYY-MM-DD hh:mm:ss, by its shape.
bool utc_shape(std::string_view s)
{
    return s.size() == 19 && digits(s, 0, 4) && s[4] == '-' && digits(s, 5, 2) && s[7] == '-' && digits(s, 8, 2) &&
           s[10] == ' ' && digits(s, 11, 2) && s[13] == ':' && digits(s, 14, 2) && s[16] == ':' && digits(s, 17, 2);
}

// A number taking the whole field, perhaps not finite ("inf", "nan", 1e999).
bool any_number(std::string_view s, double& value)
{
    if (s.empty() || s.front() == '+') return false;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec == std::errc::result_out_of_range && end == s.data() + s.size()) {
        value = std::numeric_limits<double>::infinity();
        return true;
    }
    return ec == std::errc() && end == s.data() + s.size();
}

// A finite number taking the whole field.
bool number(std::string_view s, double& value) { return any_number(s, value) && std::isfinite(value); }

// One record checked against the header; an empty why means it is kept.
struct RecordCheck {
    std::string why;
    double seconds = 0;
    size_t left_out = 0; // values read as none
};

RecordCheck check_record(const std::vector<std::string_view>& f, size_t columns, double last_seconds,
                         std::vector<double>& values, const FlightData& data)
{
    RecordCheck r;
    if (f.size() != columns) {
        r.why = std::to_string(f.size()) + (f.size() == 1 ? " field" : " fields") + ", expected " +
                std::to_string(columns);
        return r;
    }
    if (!utc_shape(f[0])) {
        r.why = "the time is not YYYY-MM-DD hh:mm:ss";
        return r;
    }
    if (!number(f[1], r.seconds) || r.seconds < 0 || r.seconds != std::floor(r.seconds)) {
        r.why = "T (s) is not a whole number of seconds";
        return r;
    }
    if (r.seconds > FLIGHT_SECONDS_LIMIT) {
        r.why = "T (s) is past 1e12";
        return r;
    }
    if (r.seconds < last_seconds) {
        r.why = "T (s) goes back";
        return r;
    }
    values.resize(columns - 2);
    for (size_t i = 2; i < columns; ++i) {
        if (f[i].empty()) {
            values[i - 2] = std::numeric_limits<double>::quiet_NaN();
        } else if (!any_number(f[i], values[i - 2])) {
            r.why = data.channels[i - 2].name + " is not a number";
            return r;
        } else if (!(std::fabs(values[i - 2]) <= FLIGHT_VALUE_LIMIT)) {
            values[i - 2] = std::numeric_limits<double>::quiet_NaN();
            ++r.left_out;
        }
    }
    return r;
}

void skip(FlightData& data, size_t line, const std::string& why)
{
    ++data.lines_skipped;
    if (data.skip_reasons.size() < SKIP_REASONS_KEPT)
        data.skip_reasons.push_back("line " + std::to_string(line) + ": " + why);
}

// The next line of text from pos, without its line end; false at the end.
// complete tells whether the line had a line end.
bool next_line(std::string_view text, size_t& pos, std::string_view& line, bool& complete)
{
    if (pos >= text.size()) return false;
    const size_t lf = text.find('\n', pos);
    complete = lf != std::string_view::npos;
    line = text.substr(pos, complete ? lf - pos : std::string_view::npos);
    pos = complete ? lf + 1 : text.size();
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return true;
}

bool fail(std::string& error, std::string message)
{
    error = std::move(message);
    return false;
}

} // namespace

bool read_flight_data(std::string_view text, FlightData& out, std::string& error)
{
    if (text.size() > FLIGHT_DATA_MAX_BYTES)
        return fail(error, "the file is larger than " + std::to_string(FLIGHT_DATA_MAX_BYTES >> 20) +
                               " MB, more than the viewer reads");
    if (text.substr(0, UTF8_BOM.size()) == UTF8_BOM) text.remove_prefix(UTF8_BOM.size());
    if (text.empty()) return fail(error, "the file is empty");

    size_t pos = 0;
    std::string_view line;
    bool complete = false;
    next_line(text, pos, line, complete);
    std::vector<std::string_view> fields;
    split_fields(line, fields);
    if (!printable(line) || fields.size() < 2 || fields[0] != UTC_COLUMN || fields[1] != SECONDS_COLUMN)
        return fail(error, "this is not a flight-data recording: its first line does not begin with \"UTC,T (s)\"");
    if (!complete) return fail(error, "the recording ends inside its header line");
    if (fields.size() > FLIGHT_DATA_MAX_COLUMNS)
        return fail(error, "the header names " + std::to_string(fields.size()) + " columns, more than " +
                               std::to_string(FLIGHT_DATA_MAX_COLUMNS));

    FlightData data;
    for (size_t i = 2; i < fields.size(); ++i) {
        if (fields[i].empty()) return fail(error, "column " + std::to_string(i + 1) + " of the header has no name");
        data.channels.push_back(header_column(fields[i], data.names_shortened));
    }
    const size_t columns = fields.size();
    std::vector<double> values;
    size_t line_number = 1;
    double last_seconds = 0;
    while (next_line(text, pos, line, complete)) {
        ++line_number;
        if (!complete) {
            data.cut_short = true;
            skip(data, line_number, "cut short");
            break;
        }
        if (line.empty()) continue;
        split_fields(line, fields);
        const RecordCheck r = check_record(fields, columns, last_seconds, values, data);
        if (!r.why.empty()) {
            skip(data, line_number, r.why);
            continue;
        }
        last_seconds = r.seconds;
        data.values_left_out += r.left_out;
        data.utc.emplace_back(fields[0]);
        data.seconds.push_back(r.seconds);
        for (size_t i = 0; i < values.size(); ++i) data.channels[i].values.push_back(values[i]);
    }
    if (data.seconds.empty()) {
        if (data.lines_skipped == 0) return fail(error, "the recording has a header but no records yet");
        return fail(error, "no record could be read: " + skipped_summary(data));
    }
    out = std::move(data);
    return true;
}

std::string skipped_summary(const FlightData& data, size_t reasons_shown)
{
    if (data.lines_skipped == 0) return {};
    std::string s = std::to_string(data.lines_skipped) + (data.lines_skipped == 1 ? " line" : " lines") + " skipped";
    const size_t shown = std::min(reasons_shown, data.skip_reasons.size());
    for (size_t i = 0; i < shown; ++i) s += (i == 0 ? " (" : "; ") + data.skip_reasons[i];
    if (shown > 0) s += data.lines_skipped > shown ? "; ...)" : ")";
    return s;
}

std::string reading_summary(const FlightData& data, size_t reasons_shown)
{
    std::string s;
    const auto add = [&s](size_t n, const char* one, const char* many, const std::string& what) {
        if (n == 0) return;
        if (!s.empty()) s += "; ";
        s += std::to_string(n) + (n == 1 ? one : many) + what;
    };
    add(data.names_shortened, " name", " names", " shortened to " + std::to_string(FLIGHT_NAME_MAX_CHARS) + " characters");
    add(data.values_left_out, " value", " values", " not finite or past 1e9 left out");
    const std::string skipped = skipped_summary(data, reasons_shown);
    if (!skipped.empty()) s += (s.empty() ? "" : "; ") + skipped;
    return s;
}

int channel_cylinder(std::string_view name)
{
    if (name.size() < 4 || (name.substr(0, 3) != "EGT" && name.substr(0, 3) != "CHT")) return 0;
    int n = 0;
    const auto [end, ec] = std::from_chars(name.data() + 3, name.data() + name.size(), n);
    return ec == std::errc() && end == name.data() + name.size() && n > 0 ? n : 0;
}

bool is_alarm_word(std::string_view name)
{
    return std::find(std::begin(ALARM_COLUMNS), std::end(ALARM_COLUMNS), name) != std::end(ALARM_COLUMNS);
}

const FlightChannel* find_channel(const FlightData& data, std::string_view name)
{
    for (const FlightChannel& c : data.channels)
        if (c.name == name) return &c;
    return nullptr;
}

std::vector<TimeSpan> alarm_spans(const FlightData& data)
{
    std::vector<const FlightChannel*> words;
    for (std::string_view name : ALARM_COLUMNS)
        if (const FlightChannel* c = find_channel(data, name)) words.push_back(c);
    std::vector<TimeSpan> spans;
    bool open = false;
    const size_t n = data.seconds.size();
    for (size_t r = 0; r < n; ++r) {
        bool alarm = false;
        // NaN (no value) compares unequal to 0 but is no alarm.
        for (const FlightChannel* w : words) alarm = alarm || (w->values[r] != 0 && !std::isnan(w->values[r]));
        if (alarm && !open) spans.push_back({data.seconds[r], 0});
        // At least its own second, even when the next record repeats that second.
        if (!alarm && open) spans.back().end = std::max(data.seconds[r], spans.back().begin + 1);
        open = alarm;
    }
    if (open) spans.back().end = data.seconds[n - 1] + 1;
    return spans;
}

} // namespace host
