#include "host/card/core/card_folder.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace host {

namespace fs = std::filesystem;

namespace {

char fold(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }

// Names compared as the card's FAT file system compares them: letters a..z
// equal A..Z, every other byte only itself.
bool same_card_name(const std::string& a, const std::string& b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (fold(a[i]) != fold(b[i])) return false;
    return true;
}

// The entry of dir that a card name stands for: the name itself when such an
// entry exists, else an entry spelt with other letter case (the first in byte
// order when there are several), else the name as given (a file to create).
fs::path card_entry(const fs::path& dir, const fs::path& name)
{
    std::error_code ec;
    if (fs::exists(fs::symlink_status(dir / name, ec))) return name;
    const std::string wanted = name.string();
    std::string found;
    fs::directory_iterator it(dir, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        std::string entry = it->path().filename().string();
        if (same_card_name(entry, wanted) && (found.empty() || entry < found)) found = std::move(entry);
    }
    return found.empty() ? name : fs::path(found);
}

// Whether path lies in folder or is folder (both without links).
bool inside(const fs::path& folder, const fs::path& path)
{
    const fs::path rel = path.lexically_relative(folder);
    return !rel.empty() && *rel.begin() != "..";
}

// A read-only file: one without any write permission bit (how a FAT card's
// read-only flag shows, and binding for the superuser too), or one this
// process may not write.
bool write_protected(const fs::path& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return false; // nothing there yet
    return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(path.c_str(), W_OK) != 0;
}

// Makes a rename in dir durable; file systems that cannot sync a folder count as done.
bool sync_folder(const fs::path& dir)
{
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = ::fsync(fd) == 0 || errno == EINVAL;
    return ::close(fd) == 0 && ok;
}

} // namespace

CardFolder::CardFolder(std::filesystem::path working_dir) : root_(std::move(working_dir)) {}

fs::path CardFolder::card_dir() const { return card_dir_.empty() ? root_ / CARD_NAME : card_dir_; }

void CardFolder::set_card_dir(fs::path dir) { card_dir_ = std::move(dir); }

bool CardFolder::files_open() const
{
    return std::any_of(files_.begin(), files_.end(), [](std::FILE* f) { return f != nullptr; });
}

CardFolder::~CardFolder()
{
    for (std::FILE* f : files_)
        if (f) std::fclose(f);
}

CardFolder::Entry CardFolder::find(const char* card_path) const
{
    if (!card_path || !*card_path) return {};
    std::string p(card_path);
    std::replace(p.begin(), p.end(), '\\', '/');
    if (p.front() == '/') return {};
    const fs::path rel(p);
    for (const auto& part : rel)
        if (part == "..") return {};

    // The first name is the card folder itself, which may be a link to a card
    // mounted elsewhere; nothing below it may lead out of it.
    Entry e;
    fs::path out = root_, card;
    auto part = rel.begin();
    for (size_t i = 0; part != rel.end(); ++part, ++i) {
        const bool last = std::next(part) == rel.end();
        fs::path entry;
        if (i == 0 && !card_dir_.empty()) {
            // A card chosen by its own folder: "SDCARD" names that folder.
            if (!same_card_name(part->string(), CARD_NAME)) return {};
            entry = card_dir_;
        } else {
            entry = out / card_entry(out, *part);
        }
        struct stat st {};
        if (::lstat(entry.c_str(), &st) != 0) { // not there: a file to create
            e = Entry{};
            e.path = e.target = entry;
            out = entry;
            continue;
        }
        e.link = S_ISLNK(st.st_mode);
        fs::path target = entry;
        if (e.link) {
            std::error_code ec;
            target = fs::canonical(entry, ec);
            if (ec || ::stat(target.c_str(), &st) != 0) return {}; // dangling or a loop
            if (i > 0 && !inside(card, target)) return {};
        }
        if (i == 0) {
            std::error_code ec;
            card = fs::canonical(target, ec);
            if (ec) card = target;
        }
        // Only folders lead on; only regular files and folders are card files
        // (a FIFO or a device would block or never end).
        if (!S_ISDIR(st.st_mode) && (!last || !S_ISREG(st.st_mode))) return {};
        e.path = last ? entry : target;
        e.target = target;
        e.exists = true;
        e.folder = S_ISDIR(st.st_mode);
        out = target;
    }
    e.ok = true;
    return e;
}

std::filesystem::path CardFolder::resolve(const char* card_path) const
{
    const Entry e = find(card_path);
    return e.ok ? e.target : fs::path();
}

int CardFolder::file_open(const char* card_path, ems::FileMode mode)
{
    const Entry e = find(card_path);
    if (!e.ok || e.folder) return -1;
    const bool writing = mode == ems::FileMode::Write;
    int fd = -1;
    if (!writing) {
        fd = ::open(e.target.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    } else {
        // A new file every time, never written through an existing entry: a
        // link is refused, an old regular file removed first, unless it is
        // write-protected as the card would protect it.
        if (e.exists && (e.link || write_protected(e.path))) return -1;
        if (e.exists && ::unlink(e.path.c_str()) != 0) return -1;
        fd = ::open(e.path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    }
    if (fd < 0) return -1;
    // The entry may have changed since it was looked at.
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || ::fcntl(fd, F_SETFL, 0) != 0) {
        ::close(fd);
        return -1;
    }
    std::FILE* f = ::fdopen(fd, writing ? "wb" : "rb");
    if (!f) {
        ::close(fd);
        return -1;
    }
    for (size_t i = 0; i < files_.size(); ++i)
        if (!files_[i]) {
            files_[i] = f;
            writing_[i] = writing;
            return int(i);
        }
    files_.push_back(f);
    writing_.push_back(writing);
    return int(files_.size() - 1);
}

size_t CardFolder::file_read(int handle, uint8_t* data, size_t length)
{
    if (handle < 0 || size_t(handle) >= files_.size() || !files_[handle]) return 0;
    return std::fread(data, 1, length, files_[handle]);
}

size_t CardFolder::file_write(int handle, const uint8_t* data, size_t length)
{
    if (handle < 0 || size_t(handle) >= files_.size() || !files_[handle]) return 0;
    return std::fwrite(data, 1, length, files_[handle]);
}

bool CardFolder::file_close(int handle)
{
    if (handle < 0 || size_t(handle) >= files_.size() || !files_[handle]) return false;
    std::FILE* f = files_[handle];
    files_[handle] = nullptr;
    bool ok = !std::ferror(f);
    if (writing_[handle]) {
        ok = ok && std::fflush(f) == 0;
        if (ok) ok = ::fsync(fileno(f)) == 0 || errno == EINVAL;
    }
    return std::fclose(f) == 0 && ok;
}

bool CardFolder::file_replace(const char* src_path, const char* dest_path)
{
    const Entry src = find(src_path), dest = find(dest_path);
    if (!src.ok || !dest.ok || !src.exists || src.link || src.folder || dest.folder) return false;
    // Renaming would replace a read-only file as if it were not: refuse, as
    // opening it for writing on the card would. A link is replaced itself,
    // never what it points to.
    if (write_protected(dest.path)) return false;
    std::error_code ec;
    fs::rename(src.path, dest.path, ec);
    return !ec && sync_folder(dest.path.parent_path());
}

bool CardFolder::file_remove(const char* card_path)
{
    const Entry e = find(card_path);
    if (!e.ok || !e.exists) return false;
    // A link goes itself; what it points to stays.
    return e.folder && !e.link ? ::rmdir(e.path.c_str()) == 0 : ::unlink(e.path.c_str()) == 0;
}

int CardFolder::dir_open(const char* card_path)
{
    const Entry e = find(card_path);
    if (!e.ok || !e.folder) return -1;
    std::error_code ec;
    std::filesystem::directory_iterator it(e.target, ec), end;
    if (ec) return -1;
    std::vector<std::string> names;
    for (; it != end; it.increment(ec)) {
        if (ec) break;
        names.push_back(it->path().filename().string());
    }
    std::sort(names.begin(), names.end());
    for (size_t i = 0; i < dir_used_.size(); ++i)
        if (!dir_used_[i]) {
            dirs_[i] = std::move(names);
            dir_pos_[i] = 0;
            dir_used_[i] = true;
            return int(i);
        }
    dirs_.push_back(std::move(names));
    dir_pos_.push_back(0);
    dir_used_.push_back(true);
    return int(dirs_.size() - 1);
}

bool CardFolder::dir_next(int handle, char* name, size_t size)
{
    if (handle < 0 || size_t(handle) >= dirs_.size() || !dir_used_[handle] || size == 0) return false;
    if (dir_pos_[handle] >= dirs_[handle].size()) return false;
    const std::string& n = dirs_[handle][dir_pos_[handle]++];
    const size_t len = std::min(n.size(), size - 1);
    std::memcpy(name, n.data(), len);
    name[len] = '\0';
    return true;
}

void CardFolder::dir_close(int handle)
{
    if (handle < 0 || size_t(handle) >= dirs_.size()) return;
    dir_used_[handle] = false;
    dirs_[handle].clear();
}

bool CardFolder::folder_create(const char* card_path)
{
    const Entry e = find(card_path);
    if (!e.ok) return false;
    if (e.exists) return e.folder;
    return ::mkdir(e.path.c_str(), 0777) == 0 && sync_folder(e.path.parent_path());
}

int CardFolder::append_open(const char* card_path)
{
    const Entry e = find(card_path);
    if (!e.ok || e.exists) return -1;
    const int fd = ::open(e.path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || ::fcntl(fd, F_SETFL, 0) != 0) {
        ::close(fd);
        return -1;
    }
    return writer_.add(fd, e.path.parent_path());
}

int CardFolder::append_resume(const char* card_path)
{
    // Bytes of the file may still be on their way (its last pieces, its
    // close): going on beside them would write over them.
    if (!writer_.idle()) return -1;
    const Entry e = find(card_path);
    if (!e.ok || !e.exists || e.link || e.folder || write_protected(e.path)) return -1;
    const int fd = ::open(e.path.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat st {};
    const off_t end = ::lseek(fd, 0, SEEK_END);
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || end < 0 || ::fcntl(fd, F_SETFL, 0) != 0) {
        ::close(fd);
        return -1;
    }
    return writer_.add(fd, e.path.parent_path(), end);
}

bool CardFolder::append_write(int handle, const uint8_t* data, size_t length)
{
    return writer_.write(handle, data, length);
}

bool CardFolder::append_close(int handle) { return writer_.close(handle); }

fs::path make_temp_card_dir(const char* prefix, const fs::path& base)
{
    const fs::path parent = base.empty() ? fs::temp_directory_path() : base;
    std::string pattern = (parent / (std::string(prefix) + "-XXXXXX")).string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary card folder");
    fs::create_directories(fs::path(pattern) / "SDCARD");
    return pattern;
}

} // namespace host
