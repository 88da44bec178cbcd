// Fuzzes the checklist reader: the input as a whole file, and again in
// pieces whose sizes the first byte chooses, which must give the same lines.
#include <cstdlib>
#include <cstring>

#include "ops/checklist.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static ems::Checklist whole, pieces;
    ems::checklist_parse(data, size, whole);
    if (size == 0 || size > ems::CHECKLIST_MAX_FILE_BYTES) return 0;

    const size_t step = data[0] % 7 + 1;
    ems::ChecklistReader reader(pieces);
    for (size_t i = 0; i < size; i += step) reader.feed(data + i, size - i < step ? size - i : step);
    reader.finish();
    if (whole.line_count > ems::CHECKLIST_MAX_LINES || whole.line_count != pieces.line_count) std::abort();
    for (uint8_t i = 0; i < whole.line_count; ++i)
        if (std::memchr(whole.lines[i], 0, ems::CHECKLIST_LINE_BYTES) == nullptr ||
            std::strcmp(whole.lines[i], pieces.lines[i]) != 0)
            std::abort();
    return 0;
}
