// Changing the card folder: while the unit runs it is pulling one card and
// inserting another; the menu's choice is remembered for the next start.
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QMenuBar>
#include <QTimer>

#include "host/card/card_location.h"
#include "host/card/card_slot.h"
#include "support/window_scenario.h"
#include "system/platform.h"

namespace {

class CardSwitch : public test::WindowScenario {
protected:
    CardSwitch() : WindowScenario("card switch") {}
    void SetUp() override
    {
        WindowScenario::SetUp();
        QFile note(other.filePath("NOTE.TXT"));
        ASSERT_TRUE(note.open(QIODevice::WriteOnly));
        note.write("other card");
    }
    // Whether the firmware finds the other card's file on the card in use.
    bool reads_other_card()
    {
        const int h = ems::platform().card().file_open("SDCARD\\NOTE.TXT", ems::FileMode::Read);
        if (h < 0) return false;
        ems::platform().card().file_close(h);
        return true;
    }
    QString shown_card() const { return window->findChild<QLabel*>("CardLabel")->text(); }

    QTemporaryDir other;
};

TEST_F(CardSwitch, WhileRunningTheCardIsOutForAPassAndAnOpenFileDelaysTheSwitch)
{
    run("power on\n" + test::keys(1, 2) + "expect sd_card_mounted 1\n");
    const int open_file = ems::platform().card().file_open("SDCARD\\NOTE2.TXT", ems::FileMode::Write);
    ASSERT_GE(open_file, 0);

    window->card()->switch_to(other.path());
    EXPECT_TRUE(shown_card().contains("changing to"));
    run("passes 2\nexpect sd_card_mounted 0\n");
    EXPECT_TRUE(window->card()->switch_pending()); // a file is still open on the old card
    EXPECT_FALSE(reads_other_card());

    ASSERT_TRUE(ems::platform().card().file_close(open_file));
    run("passes 1\n");
    EXPECT_FALSE(window->card()->switch_pending());
    run("passes 1\nexpect sd_card_mounted 1\n");
    EXPECT_TRUE(reads_other_card());
    EXPECT_TRUE(QFile::exists(card("NOTE2.TXT"))); // written to the old card, and kept there
    EXPECT_EQ(window->card()->folder(), other.path());
    EXPECT_TRUE(shown_card().endsWith(QFileInfo(other.path()).fileName()));
}

TEST_F(CardSwitch, TheMenuSwitchesAtOnceWhileOffAndIsRemembered)
{
    QAction* open = nullptr;
    for (QAction* a : window->menuBar()->actions().first()->menu()->actions())
        if (a->text() == "Open Card Folder...") open = a;
    ASSERT_TRUE(open);
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        dialog->setDirectory(other.path());
        dialog->selectFile(other.path());
        QMetaObject::invokeMethod(dialog, "accept");
    });
    open->trigger();
    EXPECT_FALSE(window->card()->switch_pending());
    EXPECT_EQ(window->card()->folder(), other.path());
    EXPECT_TRUE(reads_other_card());
    EXPECT_EQ(host::remembered_card(), other.path());
}

} // namespace
