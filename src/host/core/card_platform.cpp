#include "host/core/card_platform.h"

#include <cstdlib>
#include <stdexcept>
#include <string>

namespace host {

CardPlatform::CardPlatform(std::filesystem::path working_dir) : card_(std::move(working_dir))
{
    boxes[size_t(ems::CheckBox::SdCardMounted)] = true;
}

std::filesystem::path make_temp_card_dir(const char* prefix, const std::filesystem::path& base)
{
    const std::filesystem::path parent = base.empty() ? std::filesystem::temp_directory_path() : base;
    std::string pattern = (parent / (std::string(prefix) + "-XXXXXX")).string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary card folder");
    std::filesystem::create_directories(std::filesystem::path(pattern) / "SDCARD");
    return pattern;
}

} // namespace host
