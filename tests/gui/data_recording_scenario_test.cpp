// Engine-data recording played in the real window on a temporary card: one
// record per second of ticks matching what the firmware held at that second,
// a file per flight that never replaces an older one and starts with its
// header, the seconds due at STOP, power-off and quit mid-flight, the day's
// last number, a card that fills up, is missing, unmounted, wiped or holds a
// file where the folder goes, and alarms over the recording's notice.
#include <QDir>
#include <QFile>
#include <QStringList>
#include <gtest/gtest.h>
#include <csignal>
#include <sys/resource.h>

#include "alarms/alarm_words.h"
#include "gfx/palette.h"
#include "host/card/core/card_folder.h"
#include "host/window/core/alarm_tone.h"
#include "host/window/unit_runner.h"
#include "ops/data_recording.h"
#include "ops/flight_log.h"
#include "sensors/channels.h"
#include "sensors/fuel.h"
#include "sensors/thermocouple.h"
#include "settings/settings.h"
#include "support/golden.h"
#include "support/pixels.h"
#include "support/window_scenario.h"
#include "system/platform.h"
#include "ui/notices.h"
#include "ui/screen.h"

namespace {

using test::keys;

const QString POWER_ON = "clock 2026-12-07 11:58:00\npower on\n" + keys(1) + keys(1) + "expect screen run_screen\n";
// START FLIGHT / STOP FLIGHT sits just below EXIT in the engine-page quick menu.
const QString START_STOP = keys(6) + keys(7) + keys(6);
const QString SECOND = "ticks 10\npasses 1\n";
// STOP FLIGHT with two more seconds due in the pass that stops it.
const QString STOP_TWO_SECONDS_LATER = keys(6) + keys(7) + "ticks 20\n" + keys(6);
// The notice comes up after the pass that raised it has drawn: one more pass shows it.
const QString NOTICE_NO_CARD = "passes 1\nexpect run_notice \"INSERT SD CARD\"\nexpect screen run_screen\n";
const QString NO_NOTICE = "expect run_notice \"\"\n";
// Past the power-on hold-off each key acknowledges the alarm box in sight.
const QString ACK_ALARMS = keys(3, 16);

class RecordingScenario : public test::WindowScenario {
protected:
    RecordingScenario() : WindowScenario("recording") {}

    void power_on_recording()
    {
        run(POWER_ON);
        ems::settings.data_recording = 1;
        ems::settings.egt_channels = 2;
        ems::settings.cht_channels = 1;
    }
    void settle() { dynamic_cast<host::CardFolder&>(ems::platform().card()).settle(); }
    QStringList recordings() const { return QDir(card("DATA")).entryList(QDir::Files, QDir::Name); }
    // The T (s) column of a recording.
    QStringList seconds(const QString& name)
    {
        QStringList out;
        for (const QString& row : lines(name).mid(1)) out << row.section(',', 1, 1);
        return out;
    }
    // The lines of a recording; each must have ended in CRLF.
    QStringList lines(const QString& name)
    {
        settle();
        const QByteArray bytes = file(("DATA/" + name).toLatin1().constData());
        EXPECT_TRUE(bytes.isEmpty() || bytes.endsWith("\r\n")) << name.toStdString();
        QStringList out = QString::fromLatin1(bytes).split("\r\n");
        out.removeLast();
        return out;
    }
    // Each key acknowledges the alarm box in sight, until none is.
    void acknowledge_alarms()
    {
        for (int i = 0; i < 16 && ems::alarms.alarm_shown; ++i) run(keys(3));
    }
    // Every line has the header's number of fields.
    void expect_whole(const QStringList& rows)
    {
        ASSERT_FALSE(rows.isEmpty());
        const qsizetype fields = rows[0].count(',');
        for (const QString& row : rows) EXPECT_EQ(row.count(','), fields) << row.toStdString();
    }
};

TEST_F(RecordingScenario, OneRecordPerSecondOfTicksHoldsWhatTheFirmwareHeld)
{
    power_on_recording();
    run("slider \"EMS/Fuel Flow1:\" 70\nslider \"EMS/Volts:\" 2000\n" + START_STOP);
    QStringList expected; // RPM1, EGT1, CHT1, VOLTS, FLOW1 at each second
    auto note = [&] {
        expected << QString("%1,%2,%3,%4.%5,%6.%7")
                        .arg(ems::sens.rpm)
                        .arg(ems::thermo.tc_value[0])
                        .arg(ems::thermo.tc_value[2])
                        .arg(ems::sens.volts_x10 / 10)
                        .arg(ems::sens.volts_x10 % 10)
                        .arg(ems::fuel.fuel_flow[0] / 10)
                        .arg(ems::fuel.fuel_flow[0] % 10);
    };
    note();
    for (int s = 1; s < 117; ++s) {
        run(QString("slider \"EMS/TC1\" %1\nslider \"EMS/TC3\" %2\nslider \"EMS/RPM:\" %3\n")
                .arg(500 + s)
                .arg(100 + s / 2)
                .arg(2000 + 37 * s) +
            SECOND);
        note();
    }
    // One pass after three seconds: three records of what that pass holds.
    run("ticks 30\npasses 1\n");
    for (int i = 0; i < 3; ++i) note();
    run(ACK_ALARMS + START_STOP + "expect flight_in_progress 0\n");

    ASSERT_EQ(recordings(), QStringList{"26120701.CSV"});
    const QStringList rows = lines("26120701.CSV");
    expect_whole(rows);
    EXPECT_TRUE(rows[0].startsWith("UTC,T (s),RPM1 (RPM),")) << rows[0].toStdString();
    EXPECT_TRUE(rows[0].endsWith(",ALARM1,ALARM2")) << rows[0].toStdString();
    ASSERT_EQ(rows.size(), 121);
    const QStringList header = rows[0].split(',');
    const int rpm = int(header.indexOf("RPM1 (RPM)")), egt = int(header.indexOf("EGT1 (C)")),
              cht = int(header.indexOf("CHT1 (C)")), volts = int(header.indexOf("VOLTS (V)")),
              flow = int(header.indexOf("FLOW1 (L/h)"));
    ASSERT_GE(flow, 0);
    for (int t = 0; t < 120; ++t) {
        const QStringList f = rows[t + 1].split(',');
        EXPECT_EQ(f[1], QString::number(t));
        EXPECT_EQ(QStringList({f[rpm], f[egt], f[cht], f[volts], f[flow]}).join(','), expected[t]) << "T " << t;
    }
    EXPECT_EQ(rows[1].left(20), "2026-12-07 11:58:00,");
    EXPECT_EQ(rows[118].left(20), "2026-12-07 11:59:57,"); // the first of the three
    EXPECT_EQ(rows[120].left(20), "2026-12-07 11:59:59,"); // 119 s later
}

TEST_F(RecordingScenario, EachFlightItsOwnFileAndPowerOffLeavesAWholeOne)
{
    QDir(card("")).mkpath("DATA");
    QFile older(card("DATA/26120701.CSV"));
    ASSERT_TRUE(older.open(QIODevice::WriteOnly));
    older.write("an earlier flight\r\n");
    older.close();

    power_on_recording();
    run(START_STOP);
    EXPECT_EQ(lines("26120702.CSV").size(), 1); // the header at once, the records later
    run(SECOND + SECOND + STOP_TWO_SECONDS_LATER);
    EXPECT_EQ(seconds("26120702.CSV"), QStringList({"0", "1", "2", "3", "4"}));
    run(START_STOP + SECOND);
    ems::settings.temp_unit = 1; // degrees F: the rest goes to a file of its own
    run("ticks 75\npasses 1\npower off\npasses 1\n");
    EXPECT_EQ(recordings(), QStringList({"26120701.CSV", "26120702.CSV", "26120703.CSV", "26120704.CSV"}));
    EXPECT_EQ(file("DATA/26120701.CSV"), "an earlier flight\r\n");
    EXPECT_EQ(lines("26120703.CSV").size(), 3); // seconds 0 and 1 of the flight in C
    const QStringList cut = lines("26120704.CSV"); // seconds 2..8 in F, from T 0
    expect_whole(cut);
    EXPECT_TRUE(cut[0].contains("EGT1 (F)"));
    EXPECT_EQ(cut.size(), 8);

    // The day's 99 numbers used up: no 100th file, the notice says why.
    QFile last(card("DATA/26120799.CSV"));
    ASSERT_TRUE(last.open(QIODevice::WriteOnly));
    last.close();
    run(POWER_ON + START_STOP + SECOND + "expect run_notice \"RECORDING STOPPED TOO MANY FILES\"\n");
    EXPECT_EQ(recordings().size(), 5);
}

// What main() does after a script's quit or failure: the window goes without
// a power-off. The seconds still in RAM reach the card all the same.
TEST_F(RecordingScenario, QuitMidFlightClosesTheRecording)
{
    power_on_recording();
    run(START_STOP + SECOND + SECOND + SECOND + "quit\n");
    runner.reset();
    window.reset();
    EXPECT_EQ(file("DATA/26120701.CSV").count("\r\n"), 5); // the header, T 0..3

    window = std::make_unique<host::TfrmMain>(dir.path());
    window->runner()->set_virtual_time(true);
    runner = std::make_unique<host::ScenarioRunner>(*window);
}

TEST_F(RecordingScenario, AFullCardStopsWithOneNoticeAndKeepsWholeLines)
{
    power_on_recording();
    run(START_STOP);
    // A file system that takes no more than 3000 bytes per file.
    struct rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 3000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    int stopped_at = -1;
    for (int s = 0; s < 60 && stopped_at < 0; ++s) {
        run(SECOND);
        settle();
        if (ems::run_notice.first) stopped_at = s;
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, old_handler);

    ASSERT_GE(stopped_at, 0) << "no notice";
    run("expect screen run_screen\nexpect run_notice \"RECORDING STOPPED CARD FULL\"\npasses 1\n");
    acknowledge_alarms(); // the notice alone over the engine page
    EXPECT_GOLDEN("recording_stopped");
    run(keys(1) + "expect screen run_screen\n" + NO_NOTICE);
    // The loop runs on, the flight too, and the notice does not come back.
    const uint32_t flight_time = ems::flight.flight_time;
    run(SECOND + SECOND + "expect screen run_screen\nexpect flight_in_progress 1\n");
    EXPECT_EQ(ems::flight.flight_time, flight_time + 2);
    const QStringList rows = lines("26120701.CSV");
    expect_whole(rows);
    EXPECT_GT(rows.size(), 5);
    EXPECT_LE(file("DATA/26120701.CSV").size(), 3000);
}

TEST_F(RecordingScenario, CardTroubleIsNamedAndARemountContinuesTheFile)
{
    QDir(card("")).removeRecursively();
    power_on_recording();
    run(START_STOP + NOTICE_NO_CARD + keys(1) + SECOND + SECOND + NO_NOTICE + "expect flight_in_progress 1\n");
    run(START_STOP); // flight over
    QDir(dir.path()).mkpath("SDCARD");

    // A file where the folder goes.
    QFile data(card("DATA"));
    ASSERT_TRUE(data.open(QIODevice::WriteOnly));
    data.close();
    run(START_STOP + "passes 1\nexpect run_notice \"RECORDING STOPPED CANNOT CREATE FOLDER\"\n" + keys(1) +
        NO_NOTICE + START_STOP);
    ASSERT_TRUE(QFile::remove(card("DATA")));

    // Unmounted mid-flight: the file so far is closed whole; mounted again,
    // the notice goes and the same file goes on after a gap.
    run(START_STOP + SECOND + "check \"EMS/SD Card Mounted\" off\npasses 1\n" + NOTICE_NO_CARD + SECOND + SECOND);
    settle(); // the card as the unit left it
    run("check \"EMS/SD Card Mounted\" on\npasses 1\n" + NO_NOTICE + SECOND + START_STOP);
    EXPECT_EQ(recordings(), QStringList({"26120701.CSV"}));
    EXPECT_EQ(seconds("26120701.CSV"), QStringList({"0", "1", "3", "4"}));

    // The card folder wiped mid-flight.
    run(START_STOP + SECOND);
    settle();
    QDir(card("")).removeRecursively();
    for (int s = 0; s < 12 && !ems::run_notice.first; ++s) {
        run(SECOND);
        settle();
    }
    run("expect run_notice \"RECORDING STOPPED CARD REMOVED\"\n");
}

// A notice of ours over the run screen never hides an alarm: the box is drawn
// over it and sounds, the first key acknowledges the alarm, a later one the notice.
TEST_F(RecordingScenario, AnAlarmShowsAndSoundsOverTheNotice)
{
    power_on_recording();
    run("slider \"EMS/Volts:\" 4000\n" + START_STOP + "check \"EMS/SD Card Mounted\" off\npasses 1\n" +
        "ticks 120\npasses 2\n" + NOTICE_NO_CARD);
    const uint32_t shown = ems::alarms.alarm_shown;
    ASSERT_NE(shown, 0u);
    EXPECT_EQ(test::px(240, 166), ems::COLOUR_WHITE); // the alarm box's frame, over the notice's red
    EXPECT_TRUE(host::alarm_tone_wanted(false));
    run(keys(1) + NOTICE_NO_CARD + "expect run_page 0\n");
    EXPECT_EQ(ems::alarms.alarm_acked & shown, shown);
    acknowledge_alarms();
    run(NOTICE_NO_CARD + keys(1) + NO_NOTICE + "expect run_page 0\n");
}

} // namespace
