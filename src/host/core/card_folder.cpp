#include "host/core/card_folder.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace host {

CardFolder::CardFolder(std::filesystem::path working_dir) : root_(std::move(working_dir)) {}

CardFolder::~CardFolder()
{
    for (std::FILE* f : files_)
        if (f) std::fclose(f);
}

std::filesystem::path CardFolder::resolve(const char* card_path) const
{
    if (!card_path || !*card_path) return {};
    std::string p(card_path);
    std::replace(p.begin(), p.end(), '\\', '/');
    if (p.front() == '/') return {};
    std::filesystem::path rel(p);
    for (const auto& part : rel)
        if (part == "..") return {};
    return root_ / rel;
}

int CardFolder::file_open(const char* card_path, ems::FileMode mode)
{
    const auto path = resolve(card_path);
    if (path.empty()) return -1;
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return -1;
    std::FILE* f = std::fopen(path.c_str(), mode == ems::FileMode::Read ? "rb" : "wb");
    if (!f) return -1;
    const bool writing = mode == ems::FileMode::Write;
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
    const auto src = resolve(src_path), dest = resolve(dest_path);
    if (src.empty() || dest.empty()) return false;
    std::error_code ec;
    std::filesystem::rename(src, dest, ec);
    return !ec;
}

bool CardFolder::file_remove(const char* card_path)
{
    const auto path = resolve(card_path);
    if (path.empty()) return false;
    std::error_code ec;
    return std::filesystem::remove(path, ec) && !ec;
}

int CardFolder::dir_open(const char* card_path)
{
    const auto path = resolve(card_path);
    if (path.empty()) return -1;
    std::error_code ec;
    std::filesystem::directory_iterator it(path, ec), end;
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

} // namespace host
