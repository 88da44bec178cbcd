// Filling a card folder from the sample card that ships with the program.
#pragma once
#include <filesystem>
#include <string>

namespace host {

struct SeedResult {
    bool ok = true;     // every missing file was copied
    int copied = 0;     // files copied
    std::string error;  // the first failure, for a message
};

// Copies every regular file and folder of sample that card lacks, keeping
// the folder layout. Whatever card already holds under a name (a file, a
// folder, a link) stays as it is: a user's file is never replaced, even by
// a copy that races with the user, since each file is written aside and
// then linked in under its name only if that name is still free. Links in
// sample are not followed. Creates card when it does not exist.
SeedResult seed_card(const std::filesystem::path& sample, const std::filesystem::path& card);

} // namespace host
