// The flight-data viewer through the scenario commands and the mouse: what it
// draws for a recording, the values at the cursor, and recordings that are
// cut short, broken or not recordings at all.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include "host/card/card_slot.h"
#include "host/viewer/flight_plot.h"
#include "host/viewer/flight_viewer.h"
#include "host/viewer/flight_viewers.h"
#include "support/golden.h"
#include "support/window_scenario.h"

namespace {

const QString RECORDING = QString(EMS_SOURCE_DIR) + "/examples/sample_flight.csv";

class FlightViewerScenario : public test::WindowScenario {
protected:
    FlightViewerScenario() : WindowScenario("flight viewer") {}
    host::FlightViewer* viewer() const { return window->viewers()->last(); }
    void write_card_file(const char* name, const QByteArray& bytes)
    {
        QDir(dir.path()).mkpath("SDCARD/DATA");
        QFile f(card(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
};

TEST_F(FlightViewerScenario, DrawsCylindersUnitsAlarmsAndTheCursorRecord)
{
    EXPECT_NE(runner->run_text("screenshot viewer " + dir.path() + "/none.png\n", dir.path()), 0);
    EXPECT_EQ(runner->last_error().section(": ", -1), "no flight-data viewer is open");
    run("viewer open " + RECORDING + "\nviewer channel RPM1 on\nviewer cursor 330\nviewer png " + dir.path() +
        "/plot.png\nscreenshot viewer " + dir.path() + "/window.png\n");
    ASSERT_NE(viewer(), nullptr);
    EXPECT_TRUE(viewer()->note().isEmpty());
    // The record at 330 s, with its units; the lean cylinder 3 is in alarm then.
    EXPECT_EQ(viewer()->cursor_value("UTC"), "2026-05-01 10:05:30");
    EXPECT_EQ(viewer()->cursor_value("EGT3"), "1485 F");
    EXPECT_EQ(viewer()->cursor_value("MAP"), "25 inHg");
    EXPECT_EQ(viewer()->cursor_value("ALARM1"), "64");
    EXPECT_EQ(viewer()->cursor_value("LAT"), "47.433 deg");
    QImage plot;
    ASSERT_TRUE(plot.load(dir.filePath("plot.png")));
    EXPECT_TRUE(test::matches_golden("flight_viewer_plot", plot));
    QImage whole; // the viewer's whole window, lists and all
    ASSERT_TRUE(whole.load(dir.filePath("window.png")));
    EXPECT_EQ(whole.size(), viewer()->size());
}

TEST_F(FlightViewerScenario, WheelZoomsAroundTheMouseDragPansDoubleClickShowsAll)
{
    run("viewer open " + RECORDING + "\n");
    host::FlightPlot* plot = viewer()->plot();
    const QRectF area = plot->chart()->plotArea();
    const QPoint middle = plot->mapFromScene(area.center());
    const double t_middle = (plot->time_from() + plot->time_to()) / 2;
    QWheelEvent wheel(middle, plot->viewport()->mapToGlobal(middle), QPoint(), QPoint(0, 3 * 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(plot->viewport(), &wheel);
    const double span = plot->time_to() - plot->time_from();
    EXPECT_NEAR(span, 599 * 0.512, 1);
    EXPECT_NEAR((plot->time_from() + plot->time_to()) / 2, t_middle, 2) << "the time under the mouse stays";

    const double from = plot->time_from();
    QTest::mousePress(plot->viewport(), Qt::LeftButton, {}, middle);
    QTest::mouseMove(plot->viewport(), middle - QPoint(int(area.width() / 4), 0));
    QTest::mouseRelease(plot->viewport(), Qt::LeftButton, {}, middle - QPoint(int(area.width() / 4), 0));
    EXPECT_NEAR(plot->time_from() - from, span / 4, 2) << "dragging left shows later time";

    QTest::mouseDClick(plot->viewport(), Qt::LeftButton, {}, middle);
    EXPECT_EQ(plot->time_from(), 0);
    EXPECT_EQ(plot->time_to(), 599);
}

TEST_F(FlightViewerScenario, OpensWhatIsValidOfABrokenRecordingAndRefusesOtherFiles)
{
    EXPECT_TRUE(window->viewers()->data_folder().endsWith("SDCARD")) << "no DATA folder yet";
    write_card_file("DATA/FLT00002.CSV", "UTC,T (s),EGT1 (F),ALARM1,ALARM2\r\n"
                                         "2026-05-01 10:00:00,0,1300,0,0\r\n"
                                         "2026-05-01 10:00:01,1,1310,0,0\r\n"
                                         "\x01\x02garbage\r\n"
                                         "2026-05-01 10:00:02,2,1320,0,0\r\n"
                                         "2026-05-01 10:00:03,3,13");
    EXPECT_TRUE(window->viewers()->data_folder().endsWith("SDCARD/DATA"));
    // As the File menu opens it: read on a worker thread, shown when read.
    QString failure;
    window->viewers()->open_later(card("DATA/FLT00002.CSV"), [&](const QString& error) { failure = error; });
    QTRY_VERIFY(viewer() != nullptr);
    EXPECT_TRUE(failure.isEmpty());
    EXPECT_EQ(viewer()->data().seconds.size(), 3u);
    EXPECT_EQ(viewer()->note(), "2 lines skipped (line 4: 1 field, expected 5; line 6: cut short)");

    write_card_file("DATA/PHOTO.CSV", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    EXPECT_NE(runner->run_text("viewer open " + card("DATA/PHOTO.CSV") + "\n", dir.path()), 0);
    EXPECT_TRUE(runner->last_error().contains("PHOTO.CSV: this is not a flight-data recording")) << runner->last_error().toStdString();
    EXPECT_NE(runner->run_text("viewer open " + card("DATA") + "\n", dir.path()), 0);
    EXPECT_TRUE(runner->last_error().endsWith("DATA is not a regular file")) << runner->last_error().toStdString();

    // On another card the dialog starts in that card's recordings, whatever their letter case.
    QTemporaryDir other;
    QDir(other.path()).mkpath("data");
    window->card()->switch_to(other.path());
    EXPECT_EQ(window->viewers()->data_folder(), QDir(other.path()).filePath("data"));
}

} // namespace
