// A window fixture: the real window shown on a temporary card folder, in
// virtual time; it is taken down after the firmware's power-off.
#pragma once
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

#include "app/power.h"
#include "host/window/main_window.h"
#include "host/window/unit_runner.h"
#include "support/firmware_reset.h"

namespace test {

class ShownWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        reset_firmware();
        QDir(dir.path()).mkpath("SDCARD");
        window = std::make_unique<host::TfrmMain>(dir.path());
        window->runner()->set_virtual_time(true);
        window->show();
    }
    void TearDown() override
    {
        ems::power_off();
        ems::firmware_pass();
        window.reset();
    }

    QTemporaryDir dir;
    std::unique_ptr<host::TfrmMain> window;
};

} // namespace test
