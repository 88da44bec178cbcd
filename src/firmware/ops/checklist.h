// Checklist files: plain text, one item per line, read into at most 30 lines
// of 59 characters in the fonts' Latin-1 (Windows-1252) code.
//
// Reading rules:
// - a line feed ends a line, a carriage return is dropped;
// - a line keeps its first 59 characters, the rest of it is dropped;
// - reading stops after 30 lines, or after CHECKLIST_MAX_FILE_BYTES;
// - a last line without a line feed counts when it holds a character;
// - UTF-8 sequences become one Latin-1 character each (the Windows-1252
//   punctuation too; anything else the fonts lack becomes "?"; a byte-order
//   mark is dropped); bytes that are not part of a valid UTF-8 sequence are
//   kept as they are, so files written in Latin-1 read unchanged.
#pragma once
#include <cstddef>
#include <cstdint>

#include "ops/documents.h"

namespace ems {

// Bytes of a checklist file read at most: far beyond any checklist of 30
// lines, small enough that a stray large file cannot stall the main loop.
constexpr size_t CHECKLIST_MAX_FILE_BYTES = 64 * 1024;

struct Checklist {
    char lines[CHECKLIST_MAX_LINES][CHECKLIST_LINE_BYTES] = {}; // NUL-terminated
    uint8_t line_count = 0;                                     // 0..30
};

// Builds a checklist from the bytes of a file, fed in pieces of any size.
class ChecklistReader {
public:
    explicit ChecklistReader(Checklist& out);
    void feed(const uint8_t* data, size_t size);
    // Ends the input: a pending partial sequence and the last line are kept.
    void finish();
    // True once 30 lines are complete; further bytes are ignored.
    bool full() const { return out_.line_count >= CHECKLIST_MAX_LINES; }

private:
    void byte(uint8_t b);
    void flush_pending();
    void character(uint32_t code);
    void put(uint8_t c);
    void end_line();

    Checklist& out_;
    uint8_t length_ = 0;    // characters in the current line
    uint8_t pending_[4] = {}; // bytes of an unfinished UTF-8 sequence
    uint8_t pending_len_ = 0;
    uint8_t needed_ = 0;    // bytes the sequence needs in all (2..4), 0 when none is open
};

// The whole checklist from the bytes of a file (the entry the fuzzer uses).
void checklist_parse(const uint8_t* data, size_t size, Checklist& out);

// Reads a checklist file from the card into out. False, with out untouched,
// when the file cannot be opened.
bool checklist_load(const char* path, Checklist& out);

} // namespace ems
