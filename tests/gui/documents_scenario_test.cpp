// Card documents and unit information played through the real window on a
// copy of the sample card: a checklist and a picture opened from the lists,
// broken files refused without a change, the picture kept over a power
// cycle, a UTF-8 checklist read as Latin-1, the serial-number entry and
// SENSOR INFO.
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

#include "gfx/framebuffer.h"
#include "ops/documents.h"
#include "settings/settings.h"
#include "support/golden.h"
#include "support/window_scenario.h"

namespace {

namespace fs = std::filesystem;

using test::keys;

// Power on past the splash and the maintenance notice to the engine page.
const QString POWER_ON = "power on\n" + keys(1) + keys(1) + "expect screen run_screen\n";
// Engine page to the information display page, then its documents menu.
const QString TO_INFO_PAGE = keys(1) + "expect run_page 4\n";
const QString DOCUMENTS_MENU = keys(6) + "expect popup popup_documents_menu\n";
// From the documents menu (on EXIT): the checklist or info-page list.
const QString CHECKLISTS = keys(7, 2) + keys(6) + "expect popup popup_doc_list\nexpect doc_kind_list 1\n";
const QString INFO_PAGES = keys(7) + keys(6) + "expect popup popup_doc_list\nexpect doc_kind_list 0\n";

// The window on a copy of the sample card.
class DocumentsScenario : public test::WindowScenario {
protected:
    DocumentsScenario() : WindowScenario("documents") {}
    void SetUp() override
    {
        fs::copy(fs::path(EMS_SOURCE_DIR) / "assets" / "SDCARD", card_dir(), fs::copy_options::recursive);
        WindowScenario::SetUp();
    }
    fs::path card_dir() const { return fs::path(dir.path().toStdString()) / "SDCARD"; }
    std::vector<uint8_t> frame() const { return {ems::Framebuffer, ems::Framebuffer + ems::FRAME_BYTES}; }
};

TEST_F(DocumentsScenario, ChecklistAndPictureOpenAndBrokenFilesChangeNothing)
{
    // The first checklist of the sample card, then the cursor one line down.
    run(POWER_ON + TO_INFO_PAGE + DOCUMENTS_MENU + CHECKLISTS + keys(6) +
        "expect popup none\nexpect doc_shown 2\nexpect doc_path \"SDCARD\\\\CHECKLST\\\\BEFLAND.ECL\"\n" +
        "expect settings.doc_last_kind 2\n" + keys(7) + "expect checklist_cursor 1\npasses 1\n");
    EXPECT_GOLDEN("documents_checklist");
    const std::vector<uint8_t> checklist = frame();

    // A checklist that cannot be read (a folder by that name): the notice,
    // and the page stays as it was.
    fs::create_directory(card_dir() / "CHECKLST" / "AAAA-BROKEN.ECL");
    run(DOCUMENTS_MENU + CHECKLISTS + keys(6) + "expect screen screen_doc_unreadable\n" + keys(3) +
        "expect screen run_screen\nexpect doc_path \"SDCARD\\\\CHECKLST\\\\BEFLAND.ECL\"\n" +
        "expect checklist_cursor 1\npasses 1\n");
    EXPECT_EQ(frame(), checklist);

    // The second picture (a broken one sorts first).
    std::ofstream(card_dir() / "INFOPAGE" / "AAAA.mif", std::ios::binary) << std::string("\xE0\x01\x10\x01\x85\x0F", 6);
    run(DOCUMENTS_MENU + INFO_PAGES + keys(7, 2) + keys(6) + "expect doc_shown 1\n" +
        "expect doc_path \"SDCARD\\\\INFOPAGE\\\\RADIO.MIF\"\npasses 1\n");
    EXPECT_GOLDEN("documents_picture");
    const std::vector<uint8_t> picture = frame();

    // The broken picture (a full-screen header, five pixels of data) is not
    // shown, not even in part; the picture stays, also over a power cycle.
    run(DOCUMENTS_MENU + INFO_PAGES + keys(6) + "expect screen screen_doc_unreadable\n" + keys(3) +
        "expect doc_path \"SDCARD\\\\INFOPAGE\\\\RADIO.MIF\"\npasses 1\n");
    EXPECT_EQ(frame(), picture);
    run("power off\npasses 1\n" + POWER_ON + TO_INFO_PAGE + "expect doc_shown 1\npasses 1\n");
    EXPECT_EQ(frame(), picture);

    // A picture gone from the card by the next power-on: no document is shown.
    fs::remove(card_dir() / "INFOPAGE" / "RADIO.MIF");
    run("power off\npasses 1\n" + POWER_ON + "expect doc_shown 0\n");
}

TEST_F(DocumentsScenario, LongNamesOpenAndUtf8ReadsAsLatin1)
{
    // "Café" and "ÖL 5 €" in UTF-8, under a name longer than the list shows.
    std::ofstream(card_dir() / "CHECKLST" / "AAAA CHECKLIST WITH A LONG NAME.ecl", std::ios::binary)
        << "\xEF\xBB\xBF" "CAF\xC3\x89 OK\r\n\xC3\x96L 5 \xE2\x82\xAC\r\nLAST LINE";
    run(POWER_ON + TO_INFO_PAGE + DOCUMENTS_MENU + CHECKLISTS + keys(6) + "expect doc_shown 2\n" +
        "expect checklist_line_count 3\n");
    EXPECT_STREQ(ems::docs.checklist_lines[0], "CAF\xC9 OK");
    EXPECT_STREQ(ems::docs.checklist_lines[1], "\xD6L 5 \x80");
    EXPECT_STREQ(ems::docs.checklist_lines[2], "LAST LINE");
}

TEST_F(DocumentsScenario, SerialNumberEntry)
{
    ems::calibration.serial_number = 1234567;
    // MISCELLANEOUS SETUP, INFORMATION, then the service sequence.
    const QString to_information = keys(6) + keys(8) + keys(6) + "expect screen screen_main_menu\n" + keys(8, 2) +
                                   keys(6) + "expect screen screen_misc_setup\n" + keys(8) + keys(6) +
                                   "expect screen screen_information\n";
    const QString sequence = keys(5) + keys(3) + keys(5) + keys(3) + keys(6);
    // A wrong key on the way starts the sequence again.
    run(POWER_ON + to_information + keys(5) + keys(3) + keys(4) + keys(5) + keys(3) + keys(6) +
        "expect screen screen_information\n" + sequence + "expect screen screen_serial_number\n" +
        "expect serial_digits \"1234567\"\nexpect serial_number 1234567\npasses 1\n");
    EXPECT_GOLDEN("serial_number_entry");

    // BACK keeps the number; SAVE stores the digits.
    run(keys(8) + keys(6) + keys(7) + "expect serial_digits \"0334567\"\n" + keys(2) +
        "expect screen screen_information\nexpect serial_number 1234567\n" + sequence + keys(6, 6) + keys(7) +
        keys(1) + "expect screen run_screen\nexpect serial_number 1234568\n");
}

TEST_F(DocumentsScenario, SensorInfoShowsTheRawReadings)
{
    run(POWER_ON + "slider \"EMS/Volts:\" 2345\nslider \"EMS/TC12\" 789\n" + keys(6) + keys(8) + keys(6) +
        keys(8) + keys(6) + "expect screen screen_sensor_info\npasses 1\n");
    EXPECT_GOLDEN("sensor_info_page0");
    run(keys(7) + "expect sensor_page 1\npasses 1\n");
    EXPECT_GOLDEN("sensor_info_page1");
    run(keys(2) + "expect screen screen_main_menu\nexpect menu_cursor 6\n");
}

} // namespace
