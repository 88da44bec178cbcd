#include "support/fake_platform.h"

namespace test {

FakePlatform::FakePlatform() : CardPlatform(host::make_temp_card_dir("ems-test"))
{
    ems::set_platform(this);
}

FakePlatform::~FakePlatform()
{
    ems::set_platform(nullptr);
    std::error_code ec;
    std::filesystem::permissions(card(), std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(working_dir(), ec);
}

} // namespace test
