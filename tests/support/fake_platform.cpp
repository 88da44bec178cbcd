#include "support/fake_platform.h"

namespace test {

FakePlatform::FakePlatform() : CardFolder(host::make_temp_card_dir("ems-test"))
{
    boxes[size_t(ems::CheckBox::SdCardMounted)] = true;
    ems::set_platform({.clock = this, .card = this, .panel = this, .serial_echo = this, .inputs = this});
}

FakePlatform::~FakePlatform()
{
    ems::set_platform({});
    std::error_code ec;
    std::filesystem::permissions(card(), std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(working_dir(), ec);
}

} // namespace test
