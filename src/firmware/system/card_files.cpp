#include "system/card_files.h"

#include <cstring>

namespace ems {

namespace {

char upper(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }

bool same_name(const char* a, const char* b)
{
    while (*a && upper(*a) == upper(*b)) ++a, ++b;
    return *a == 0 && *b == 0;
}

} // namespace

bool card_has_folder(CardStorage& card, const char* folder)
{
    const int dir = card.dir_open(folder);
    if (dir < 0) return false;
    card.dir_close(dir);
    return true;
}

bool card_lists(CardStorage& card, const char* card_path)
{
    const char* slash = std::strrchr(card_path, '\\');
    if (!slash) return false;
    char folder[64];
    const size_t n = size_t(slash - card_path);
    if (n >= sizeof folder) return false;
    std::memcpy(folder, card_path, n);
    folder[n] = 0;
    const int dir = card.dir_open(folder);
    if (dir < 0) return false;
    char entry[64];
    bool found = false;
    while (!found && card.dir_next(dir, entry, sizeof entry)) found = same_name(entry, slash + 1);
    card.dir_close(dir);
    return found;
}

} // namespace ems
