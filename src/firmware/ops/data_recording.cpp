#include "ops/data_recording.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "ops/flight_log.h"
#include "settings/settings.h"
#include "system/card_files.h"
#include "system/clock.h"
#include "system/platform.h"
#include "system/system_state.h"
#include "system/tick.h"
#include "ui/notices.h"

namespace ems {

RecordingState recording;

namespace {

constexpr uint32_t TICKS_PER_SECOND = 10;
constexpr const char* INSERT = "INSERT"; // the no-card notice, told from others by its pointer
char line[RECORDING_LINE_MAX + 2]; // work space for one line (and its line end)

void notice_stopped(const char* problem) { run_notice_show(40, 440, "RECORDING STOPPED", problem); }
void notice_no_card() { run_notice_show(150, 330, INSERT, "SD CARD"); }

// Hands the buffer to the card; false when the card took it no more.
bool flush()
{
    recording.unflushed = 0;
    if (recording.used == 0) return true;
    const bool ok = platform().card().append_write(recording.handle, reinterpret_cast<const uint8_t*>(recording.buffer),
                                                  recording.used);
    recording.used = 0;
    return ok;
}

// Writes what is buffered and closes the file; false when either failed.
bool close_file()
{
    if (recording.handle < 0) return true;
    const bool flushed = flush();
    const bool closed = platform().card().append_close(recording.handle);
    recording.handle = -1;
    return flushed && closed;
}

// Why the card stopped taking the file: it is gone with its folder (the card
// pulled or wiped), or the card is full.
const char* failure_cause()
{
    return card_lists(platform().card(), recording.file) ? "CARD FULL" : "CARD REMOVED";
}

// Ends the recording for the rest of the flight and says why.
void stop(const char* problem)
{
    close_file();
    recording.used = 0;
    recording.stopped = 1;
    recording.problem = problem;
    notice_stopped(problem);
}

bool append(const char* text)
{
    const size_t n = std::strlen(text);
    if (recording.used + n + 2 > sizeof recording.buffer && !flush()) return false;
    std::memcpy(recording.buffer + recording.used, text, n);
    std::memcpy(recording.buffer + recording.used + n, "\r\n", 2);
    recording.used += n + 2;
    return true;
}

// "26120701.CSV": is name one of this date's recordings, and which number?
int number_of(const char* name, const char* date)
{
    for (int i = 0; i < 6; ++i)
        if (name[i] != date[i]) return 0;
    if (!std::isdigit(uint8_t(name[6])) || !std::isdigit(uint8_t(name[7]))) return 0;
    const char* ext = ".CSV";
    for (int i = 0; i < 4; ++i)
        if (std::toupper(uint8_t(name[8 + i])) != ext[i]) return 0;
    return name[12] == 0 ? (name[6] - '0') * 10 + (name[7] - '0') : 0;
}

// The card path of the next recording of the UTC date, or false when the
// day's 99 numbers are used up.
bool next_file_name(CardStorage& card, char* path, size_t size)
{
    ClockRecord d;
    seconds_to_clock(clk.utc_seconds, d);
    char date[16];
    std::snprintf(date, sizeof date, "%02u%02u%02u", unsigned(d.year % 100), unsigned(d.month % 100),
                  unsigned(d.day % 100));
    int highest = 0;
    const int dir = card.dir_open(RECORDING_FOLDER);
    if (dir >= 0) {
        char name[64];
        while (card.dir_next(dir, name, sizeof name)) {
            const int n = number_of(name, date);
            if (n > highest) highest = n;
        }
        card.dir_close(dir);
    }
    if (highest >= 99) return false;
    std::snprintf(path, size, "%s\\%s%02d.CSV", RECORDING_FOLDER, date, highest + 1);
    return true;
}

// A new file with its header, handed to the card at once; its first record
// (T 0) falls due at first_tick.
bool open_file(uint32_t first_tick)
{
    CardStorage& card = platform().card();
    if (!card.folder_create(RECORDING_FOLDER)) {
        // No card folder at all is no card; a card that holds something else
        // under the folder's name (a file DATA) cannot take the folder.
        if (card_has_folder(card, CARD_ROOT)) {
            stop("CANNOT CREATE FOLDER");
        } else {
            recording.stopped = 1;
            recording.problem = "NO CARD";
            notice_no_card();
        }
        return false;
    }
    if (!recording_header(recording.header, sizeof recording.header)) {
        stop("TOO MANY COLUMNS");
        return false;
    }
    if (!next_file_name(card, recording.file, sizeof recording.file)) {
        stop("TOO MANY FILES");
        return false;
    }
    recording.handle = card.append_open(recording.file);
    if (recording.handle < 0) {
        stop("CANNOT CREATE FILE");
        return false;
    }
    recording.used = 0;
    recording.unflushed = 0;
    recording.seconds = 0;
    recording.next_tick = first_tick;
    if (!append(recording.header) || !flush()) {
        stop(failure_cause());
        return false;
    }
    return true;
}

// Goes on with the flight's file once the card is back, if the file is still
// there as this recording began it (its first line ours). The seconds the
// card was out have no records; T (s) runs on over them.
bool resume_file()
{
    CardStorage& card = platform().card();
    const int in = card.file_open(recording.file, FileMode::Read);
    if (in < 0) return false;
    const size_t n = std::strlen(recording.header);
    const size_t got = card.file_read(in, reinterpret_cast<uint8_t*>(line), n + 2);
    card.file_close(in);
    if (got != n + 2 || std::memcmp(line, recording.header, n) != 0 || std::memcmp(line + n, "\r\n", 2) != 0)
        return false;
    recording.handle = card.append_resume(recording.file);
    if (recording.handle < 0) return false;
    recording.used = 0;
    recording.unflushed = 0;
    const uint32_t behind = tick.ticks - recording.next_tick;
    if (behind <= UINT32_MAX / 2) {
        const uint32_t missed = behind / TICKS_PER_SECOND;
        recording.seconds += missed;
        recording.next_tick += missed * TICKS_PER_SECOND;
    }
    return true;
}

// The records that have fallen due since the last pass, each stamped with
// the clock as it read at its second.
void write_due_records()
{
    const uint32_t behind = tick.ticks - recording.next_tick;
    if (behind > UINT32_MAX / 2) return; // not yet due
    const uint32_t due = behind / TICKS_PER_SECOND + 1;
    for (uint32_t i = 0; i < due; ++i) {
        const uint32_t utc = clk.utc_seconds - (due - 1 - i);
        if (!recording_record(line, sizeof line, utc, recording.seconds)) {
            stop("TOO MANY COLUMNS");
            return;
        }
        if (!append(line)) {
            stop(failure_cause());
            return;
        }
        ++recording.seconds;
        recording.next_tick += TICKS_PER_SECOND;
        if (++recording.unflushed >= RECORDING_FLUSH_SECONDS && !flush()) {
            stop(failure_cause());
            return;
        }
    }
}

} // namespace

void data_recording_pass()
{
    if (flight.flight_in_progress != 1 || settings.data_recording != 1) {
        // The seconds up to STOP (or OFF) still go in.
        if (recording.handle >= 0) write_due_records();
        if (!close_file()) stop(failure_cause());
        recording.stopped = 0;
        recording.card_out = 0;
        recording.file[0] = 0;
        return;
    }
    if (recording.stopped) return;
    if (sys.sd_card_mounted != 1) {
        if (!recording.card_out) {
            close_file();
            recording.card_out = 1;
            notice_no_card();
        }
        return;
    }
    if (recording.card_out) {
        recording.card_out = 0;
        if (run_notice.first == INSERT) run_notice_clear();
        if (recording.file[0]) resume_file();
    }
    if (recording.handle < 0) {
        open_file(tick.ticks);
    } else {
        if (tick.ticks - recording.next_tick > UINT32_MAX / 2) return; // no record due yet
        // Units or channels changed: this file ends, the next one goes on
        // from the first second this one has not recorded.
        if (!recording_header(line, sizeof line) || std::strcmp(line, recording.header) != 0) {
            const uint32_t first_tick = recording.next_tick;
            if (!close_file()) return stop(failure_cause());
            open_file(first_tick);
        }
    }
    if (recording.handle >= 0) write_due_records();
}

void data_recording_close()
{
    close_file();
    recording.used = 0;
    recording.file[0] = 0;
}

} // namespace ems
