#include "support/fake_platform.h"

#include <cstdlib>
#include <stdexcept>

namespace test {

std::filesystem::path FakePlatform::make_temp_dir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "ems-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    std::filesystem::create_directories(std::filesystem::path(pattern) / "SDCARD");
    return pattern;
}

FakePlatform::FakePlatform() : card_(make_temp_dir())
{
    boxes[size_t(ems::CheckBox::SdCardMounted)] = true;
    ems::set_platform(this);
}

FakePlatform::~FakePlatform()
{
    ems::set_platform(nullptr);
    std::error_code ec;
    std::filesystem::permissions(card(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(card_.working_dir(), ec);
}

} // namespace test
