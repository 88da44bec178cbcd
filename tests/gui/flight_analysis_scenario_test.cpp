// The viewer's analysis on real windows: a lean sweep recorded by the
// instrument itself, alarm periods that move the cursor, the figures of the
// time in view, an export read back, and hostile files opened or refused.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <QTreeWidget>
#include <algorithm>

#include "host/viewer/core/flight_data.h"
#include "host/viewer/core/lean_find.h"
#include "host/viewer/flight_analysis_view.h"
#include "host/viewer/flight_list_dialog.h"
#include "host/viewer/flight_plot.h"
#include "host/viewer/flight_viewer.h"
#include "host/viewer/flight_viewers.h"
#include "alarms/alarm_words.h"
#include "host/card/core/card_folder.h"
#include "settings/settings.h"
#include "support/window_scenario.h"
#include "system/platform.h"

namespace {

using test::keys;

const QString SAMPLE = QString(EMS_SOURCE_DIR) + "/examples/sample_flight.csv";
const QString START_STOP = keys(6) + keys(7) + keys(6); // START or STOP FLIGHT in the quick menu
const QString SECOND = "ticks 10\npasses 1\n";

class FlightAnalysisScenario : public test::WindowScenario {
protected:
    FlightAnalysisScenario() : WindowScenario("flight analysis") {}
    host::FlightViewer* viewer() const { return window->viewers()->last(); }
    host::FlightAnalysisView* analysis() const { return viewer()->analysis(); }
};

TEST_F(FlightAnalysisScenario, ASweepRecordedByTheInstrumentShowsItsPeakOrderAndFlowSpread)
{
    run("clock 2026-12-07 11:58:00\npower on\n" + keys(1) + keys(1) + "expect screen run_screen\n");
    ems::settings.data_recording = 1;
    ems::settings.egt_channels = 4;
    ems::settings.cht_channels = 0;
    // Cylinders 3, 1, 4 and 2 peak 25, 35, 45 and 55 s in, while the flow falls
    // from the 10th second to the 70th and the RPM holds.
    const int peak_second[] = {35, 55, 25, 45};
    run("slider \"EMS/RPM:\" 2400\nslider \"EMS/Fuel Flow1:\" 200\n" + START_STOP);
    for (int s = 1; s <= 80; ++s) {
        QString script = QString("slider \"EMS/Fuel Flow1:\" %1\n").arg(std::clamp(200 - 2 * (s - 10), 80, 200));
        for (int c = 0; c < 4; ++c)
            script += QString("slider \"EMS/TC%1\" %2\n").arg(c + 1).arg(600 - (s - peak_second[c]) * (s - peak_second[c]) / 8);
        run(script + SECOND);
    }
    for (int i = 0; i < 16 && ems::alarms.alarm_shown; ++i) run(keys(3));
    run(START_STOP);
    dynamic_cast<host::CardFolder&>(ems::platform().card()).settle();
    run("viewer open " + card("DATA/26120701.CSV") + "\n");

    const auto& sweeps = analysis()->sweeps();
    ASSERT_EQ(sweeps.size(), 1u) << analysis()->rows("Lean Find").join('\n').toStdString();
    std::vector<int> order;
    for (const host::CylinderPeak& p : sweeps[0].peaks) order.push_back(p.cylinder);
    EXPECT_EQ(order, (std::vector<int>{3, 1, 4, 2}));
    // The flows the instrument recorded in the seconds the first and last peaked.
    const host::FlightChannel* flow = host::find_channel(viewer()->data(), "FLOW1");
    ASSERT_NE(flow, nullptr);
    const double first = flow->values[25], last = flow->values[55];
    EXPECT_GT(first, last);
    EXPECT_NEAR(sweeps[0].peaks.front().flow, first, 0.21);
    EXPECT_NEAR(sweeps[0].flow_spread(), first - last, 0.21);
    const QStringList rows = analysis()->rows("Lean Find");
    EXPECT_TRUE(rows.contains(QString("  1st EGT3 | 600 C | %1 L/h").arg(sweeps[0].peaks[0].flow)))
        << rows.join('\n').toStdString();
    EXPECT_EQ(rows.filter("  last EGT2 | ").size(), 1) << rows.join('\n').toStdString();
    EXPECT_TRUE(rows.contains(QString("  Flow spread |  | %1 L/h").arg(sweeps[0].flow_spread())))
        << rows.join('\n').toStdString();
}

TEST_F(FlightAnalysisScenario, AlarmsMoveTheCursorRangeFiguresFollowTheViewAndTheViewExports)
{
    run("viewer open " + SAMPLE + "\nviewer range 100 200\n");
    host::FlightPlot* plot = viewer()->plot();
    // EGT1 of the sample over 100..200 s, as a plain look at the file finds it.
    const host::FlightChannel* egt1 = host::find_channel(viewer()->data(), "EGT1");
    double lo = 1e9, hi = -1e9;
    for (size_t r = 0; r < egt1->values.size(); ++r)
        if (viewer()->data().seconds[r] >= 100 && viewer()->data().seconds[r] <= 200)
            lo = std::min(lo, egt1->values[r]), hi = std::max(hi, egt1->values[r]);
    const QStringList range = analysis()->rows("Range").filter(QRegularExpression("^EGT1 "));
    ASSERT_EQ(range.size(), 1);
    EXPECT_TRUE(range[0].startsWith(QString("EGT1 | %1 F | %2 F | ").arg(lo).arg(hi))) << range[0].toStdString();
    EXPECT_TRUE(host::find_channel(viewer()->data(), "EGT SPREAD")) << "the spread is a channel of its own";

    // A click on the first alarm period puts the cursor on its first record.
    const QStringList alarms = analysis()->rows("Alarms");
    ASSERT_FALSE(alarms.isEmpty());
    QTreeWidget* list = nullptr;
    for (QTreeWidget* t : analysis()->findChildren<QTreeWidget*>())
        if (t->headerItem()->text(0) == "Alarm from") list = t;
    ASSERT_NE(list, nullptr);
    analysis()->setCurrentWidget(list);
    viewer()->show();
    const QRect first = list->visualItemRect(list->topLevelItem(0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first.center());
    const double at = alarms[0].section(" | ", 1, 1).toDouble();
    EXPECT_EQ(viewer()->data().seconds[size_t(plot->cursor_row())], at);
    EXPECT_GE(at, plot->time_from());
    EXPECT_LE(at, plot->time_to());

    // The visible range exported, then read back as a recording of its own.
    const QString out = dir.filePath("part.csv");
    bool done = false;
    QString error = "unset";
    viewer()->export_visible(out, [&](const QString& e) { error = e, done = true; });
    QTRY_VERIFY(done);
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    host::FlightFile part = host::read_flight_file(out);
    ASSERT_TRUE(part.data) << part.error.toStdString();
    EXPECT_EQ(part.data->seconds.front(), plot->time_from());
    EXPECT_EQ(part.data->seconds.back(), plot->time_to());
    QFile written(out);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_FALSE(written.readLine().contains("SPREAD")) << "the spread is worked out, not recorded";
}

TEST_F(FlightAnalysisScenario, TheFlightsListSummarisesTheCardsRecordingsAndOpensOne)
{
    QDir(dir.path()).mkpath("SDCARD/DATA");
    QFile::copy(SAMPLE, card("DATA/26050101.CSV"));
    QFile junk(card("DATA/26050102.CSV"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a recording\n");
    junk.close();
    host::FlightListDialog* list = window->viewers()->show_list();
    QTRY_VERIFY(list->listed());
    const QStringList rows = list->rows();
    ASSERT_EQ(rows.size(), 2) << rows.join('\n').toStdString();
    EXPECT_EQ(rows[0], "26050101.CSV | 2026-05-01 | 10:00:00 | 0:09 | 1498 | 424 | 1");
    EXPECT_TRUE(rows[1].startsWith("26050102.CSV | this is not a flight-data recording")) << rows[1].toStdString();
    EXPECT_TRUE(list->open_file("26050101.CSV"));
    QTRY_VERIFY(viewer() != nullptr);
    EXPECT_EQ(viewer()->data().seconds.size(), 600u);
    EXPECT_TRUE(list->open_file("26050102.CSV"));
    QTRY_VERIFY(list->status().contains("not a flight-data recording"));
}

TEST_F(FlightAnalysisScenario, HostileFilesOpenWithANoteOrAreRefusedAndZoomAndResetFinish)
{
    QDirIterator it(QString(EMS_SOURCE_DIR) + "/fuzz/seeds/flight_data", QDir::Files);
    int opened = 0;
    while (it.hasNext()) {
        const QString path = it.next();
        QString error;
        host::FlightViewer* v = window->viewers()->open(path, error);
        if (!v) {
            EXPECT_FALSE(error.isEmpty()) << path.toStdString();
            continue;
        }
        ++opened;
        host::FlightPlot* plot = v->plot();
        plot->set_time_range(plot->time_from(), plot->time_from() + 10);
        plot->reset_zoom();
        plot->set_cursor_row(int(v->data().seconds.size()) - 1);
        EXPECT_FALSE(v->plot_image().isNull()) << path.toStdString();
        v->close();
    }
    EXPECT_GE(opened, 4);
}

} // namespace
