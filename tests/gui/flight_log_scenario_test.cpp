// The flight log played through scenario scripts in the real window with a
// temporary SDCARD folder: a manual flight in VIEW and in FLIGHTS.CSV (read
// back by a small CSV reader), an export to a full card, earlier exports kept
// across a power cycle, ERASE, and automatic detection from the RPM slider and
// RMC sentences.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "host/script/scenario.h"
#include "host/window/main_window.h"
#include "settings/settings.h"
#include "support/firmware_reset.h"
#include "support/golden.h"
#include "support/nmea_io.h"
#include "support/window_scenario.h"

namespace {

using test::keys;

const QString POWER_ON = "power on\n" + keys(1) + keys(1) + "expect screen run_screen\n";
// Past the power-on hold-off each key acknowledges the alarm box in sight.
const QString ACK_ALARMS = keys(3, 16);
// START FLIGHT / STOP FLIGHT sits just below EXIT in the engine-page quick menu.
const QString START_STOP = keys(6) + keys(7) + keys(6);
// Engine page to the FLIGHT LOG page (MENU, tile 0).
const QString TO_FLIGHT_LOG = keys(6) + keys(8) + keys(6) + keys(6) + "expect screen screen_flight_log\n";

// RFC 4180 reader: rows of fields, CRLF line ends, quoted fields with "" escapes.
std::vector<std::vector<std::string>> read_csv(const QByteArray& bytes, bool& crlf_only)
{
    std::vector<std::vector<std::string>> rows(1, std::vector<std::string>(1));
    crlf_only = true;
    bool quoted = false;
    for (int i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        std::string& field = rows.back().back();
        if (quoted) {
            if (c == '"' && i + 1 < bytes.size() && bytes[i + 1] == '"') field += c, ++i;
            else if (c == '"') quoted = false;
            else field += c;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            rows.back().emplace_back();
        } else if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            rows.emplace_back(1);
            ++i;
        } else {
            if (c == '\n' || c == '\r' || uint8_t(c) > 126) crlf_only = false;
            field += c;
        }
    }
    if (rows.back().size() == 1 && rows.back()[0].empty()) rows.pop_back();
    return rows;
}

class FlightLogScenario : public test::WindowScenario {
protected:
    FlightLogScenario() : WindowScenario("flightlog") {}
};

TEST_F(FlightLogScenario, ManualFlightInViewAndCsvAndAFullCardKeepsTheOldFile)
{
    run("clock 2026-12-07 11:58:00\n" + POWER_ON);
    ems::settings.pilot_number = 7;
    std::memcpy(ems::settings.registration, "=1+2 \"X\"", 9); // a formula and quotes
    run(START_STOP + "expect flight_in_progress 1\nticks 900\npasses 1\n" + ACK_ALARMS + START_STOP +
        "expect flight_in_progress 0\nexpect flight_log_count 1\nexpect flight_time 90\n" + TO_FLIGHT_LOG +
        keys(7) + keys(6) + "expect screen screen_view_flight_log\npasses 1\n");
    EXPECT_GOLDEN("flight_log_view");

    // BACK lands on VIEW; EXPORT is the row above.
    run(keys(2) + "expect menu_cursor 1\n" + keys(8) + keys(6) + "expect screen screen_done\n" + keys(1) +
        "expect screen screen_flight_log\nexpect menu_cursor 0\n");
    const QByteArray first = file("FLIGHTS.CSV");
    EXPECT_FALSE(QFile::exists(card("FLIGHTS.TMP")));
    bool crlf_only = false;
    const auto rows = read_csv(first, crlf_only);
    EXPECT_TRUE(crlf_only);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"START UTC", "FLIGHT TIME", "PILOT", "REGISTRATION", "HOBBS",
                                                 "MAINTENANCE"}));
    EXPECT_EQ(rows[1], (std::vector<std::string>{"2026-12-07T11:58:00Z", "0:01:30", "7", "'=1+2 \"X\"", "0:00",
                                                 "0:00"}));

    // A second flight; the new file cannot be written (a link left where the
    // temporary file goes, which the card refuses): the old one stays and the
    // notice says which file is in the way.
    run(keys(1) + START_STOP + "ticks 300\npasses 1\n" + START_STOP + "expect flight_log_count 2\n" +
        TO_FLIGHT_LOG);
    ASSERT_EQ(::symlink("/dev/full", card("FLIGHTS.TMP").toLocal8Bit().constData()), 0);
    run(keys(6) + "expect screen screen_export_failed\nexpect flight_export_problem \"REMOVE FLIGHTS.TMP\"\npasses 1\n");
    EXPECT_GOLDEN("flight_log_export_failed");
    EXPECT_EQ(file("FLIGHTS.CSV"), first);

    // Once it can, the export adds the second flight below the first.
    ASSERT_TRUE(QFile::remove(card("FLIGHTS.TMP"))); // the link is the user's to clear
    run(keys(1) + "expect screen screen_flight_log\n" + keys(6) + "expect screen screen_done\n" + keys(1));
    const QByteArray second = file("FLIGHTS.CSV");
    ASSERT_TRUE(second.startsWith(first));
    EXPECT_EQ(read_csv(second, crlf_only).size(), 3u);

    // After a power cycle the log is empty, and exporting it loses no earlier flight.
    run(keys(1) + "power off\npasses 1\n" + POWER_ON + "expect flight_log_count 0\n" + TO_FLIGHT_LOG + keys(6) +
        "expect screen screen_done\n");
    EXPECT_EQ(file("FLIGHTS.CSV"), second);
}

TEST_F(FlightLogScenario, EraseAsksFirstAndAForeignFileIsNotOverwritten)
{
    QFile foreign(card("flights.csv"));
    ASSERT_TRUE(foreign.open(QIODevice::WriteOnly));
    foreign.write("name,score\nanna,3\n");
    foreign.close();
    run(POWER_ON + TO_FLIGHT_LOG + keys(6) +
        "expect screen screen_export_failed\nexpect flight_export_problem \"OLD FILE NOT A LOG\"\n" + keys(1) +
        keys(1));
    EXPECT_EQ(file("flights.csv"), "name,score\nanna,3\n");
    EXPECT_FALSE(QFile::exists(card("FLIGHTS.TMP")));

    run("expect screen run_screen\n" + START_STOP + START_STOP + "expect flight_log_count 1\n" + TO_FLIGHT_LOG + keys(7, 2) +
        keys(6) + "expect screen screen_erase_flight_log\n" + keys(6) +
        "expect screen screen_flight_log\nexpect menu_cursor 2\nexpect flight_log_count 1\n" + keys(6) + keys(7) +
        "passes 1\n");
    EXPECT_GOLDEN("flight_log_erase");
    run(keys(6) + "expect screen screen_done\nexpect flight_log_count 0\n" + keys(6) +
        "expect screen screen_flight_log\nexpect menu_cursor 2\n");
}

// One second of scenario time with an RMC sentence at `knots` (or no fix).
QString second_with_rmc(double knots, bool fix = true)
{
    char body[120];
    std::snprintf(body, sizeof body, "GPRMC,120000.00,%s,5130.000,N,00010.000,W,%.1f,90.0,071226,,", fix ? "A" : "V",
                  knots);
    return QString("nmea \"%1\"\npasses 1\nticks 10\npasses 1\n")
        .arg(QString::fromStdString(test::nmea_sentence(body, false, "\\r\\n")));
}

QString seconds_with_rmc(int n, double knots, bool fix = true)
{
    QString s;
    for (int i = 0; i < n; ++i) s += second_with_rmc(knots, fix);
    return s;
}

QString rpm(int value) { return QString("slider \"EMS/RPM:\" %1\npasses 1\n").arg(1558600 / value); }

TEST_F(FlightLogScenario, AutomaticDetectionFromRpmAndGroundSpeed)
{
    // FLIGHT DETECT to AUTOMATIC on the page: its three minimum rows appear.
    run(POWER_ON + TO_FLIGHT_LOG + keys(7, 4) + keys(6) + keys(7) + keys(6) + "expect settings.flight_detect 1\n" +
        keys(7) + "expect menu_cursor 5\npasses 1\n");
    EXPECT_GOLDEN("flight_log_page_automatic");
    run(keys(1));

    // A run-up (2000 RPM, standing) and a fast taxi (1500 RPM, 20 kt) start nothing.
    run(rpm(2000) + seconds_with_rmc(20, 0) + rpm(1500) + seconds_with_rmc(20, 20) +
        "expect flight_in_progress 0\n");
    // Take-off: 60 kt (69 mph, over the 30 mph minimum) must hold for 10 s.
    run(rpm(2000) + seconds_with_rmc(9, 60) + "expect flight_in_progress 0\n" + seconds_with_rmc(1, 60) +
        "expect flight_in_progress 1\nexpect flight_time 10\n");
    // 40 s without a fix at cruise power do not end it.
    run(seconds_with_rmc(20, 60) + seconds_with_rmc(40, 0, false) + "expect flight_in_progress 1\n");
    // Landed: 29 s at 5 kt are not yet the end, the 30th is; the time stops at touch-down.
    run(seconds_with_rmc(29, 5) + "expect flight_in_progress 1\n" + seconds_with_rmc(1, 5) +
        "expect flight_in_progress 0\nexpect flight_log_count 1\nexpect flight_time 70\n");
    // Without a fix, RPM 1 below its minimum for 30 s ends a flight.
    run(seconds_with_rmc(10, 60) + "expect flight_in_progress 1\n" + seconds_with_rmc(1, 0, false) + rpm(800) +
        "ticks 290\npasses 1\n" +
        "expect flight_in_progress 1\nticks 10\npasses 1\nexpect flight_in_progress 0\nexpect flight_log_count 2\n");
}

} // namespace
