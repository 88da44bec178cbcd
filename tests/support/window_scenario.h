// A scenario fixture: the real window on a temporary card folder, in virtual
// time, with a scenario runner; scripts go through run() and a failing line
// fails the test with the runner's message.
#pragma once
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

#include "host/script/scenario.h"
#include "host/window/main_window.h"
#include "host/window/unit_runner.h"
#include "support/firmware_reset.h"

namespace test {

// "key K" followed by one pass, n times: one press the firmware acts on each.
inline QString keys(int key, int n = 1)
{
    QString s;
    for (int i = 0; i < n; ++i) s += QString("key %1\npasses 1\n").arg(key);
    return s;
}

class WindowScenario : public ::testing::Test {
protected:
    // name: how the runner's messages name the script.
    explicit WindowScenario(const char* name) : name_(name) {}

    void SetUp() override
    {
        reset_firmware();
        QDir(dir.path()).mkpath("SDCARD");
        window = std::make_unique<host::TfrmMain>(dir.path());
        window->runner()->set_virtual_time(true);
        runner = std::make_unique<host::ScenarioRunner>(*window);
    }
    void TearDown() override
    {
        run("power off\npasses 1\n");
        runner.reset();
        window.reset();
    }
    void run(const QString& script)
    {
        ASSERT_EQ(runner->run_text(script, dir.path(), name_), 0) << runner->last_error().toStdString();
    }
    QString card(const char* name) const { return dir.filePath(QString("SDCARD/") + name); }
    QByteArray file(const char* name) const
    {
        QFile f(card(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    std::unique_ptr<host::TfrmMain> window;
    std::unique_ptr<host::ScenarioRunner> runner;

private:
    const char* name_;
};

} // namespace test
