// The viewer's stacked panels: one time axis and one cursor for all, each
// layout's own channel ticks, and the layout remembered for the next viewer.
#include <QCoreApplication>
#include <QSettings>
#include <QWheelEvent>

#include "host/viewer/core/flight_panels.h"
#include "host/viewer/flight_panels.h"
#include "host/viewer/flight_plot.h"
#include "host/viewer/flight_viewer.h"
#include "host/viewer/flight_viewers.h"
#include "support/golden.h"
#include "support/window_scenario.h"

namespace {

const QString SAMPLE = QString(EMS_SOURCE_DIR) + "/examples/sample_flight.csv";

class FlightPanelsScenario : public test::WindowScenario {
protected:
    FlightPanelsScenario() : WindowScenario("flight panels") {}
    void SetUp() override
    {
        QSettings().remove("viewer"); // no layout kept from another test
        WindowScenario::SetUp();
    }
    void TearDown() override
    {
        WindowScenario::TearDown();
        QSettings().remove("viewer");
    }
    host::FlightViewer* viewer() const { return window->viewers()->last(); }
    host::FlightPlot* panel(const char* key) const
    {
        return viewer()->panels()->panel_plot(host::panel_by_key(key));
    }
    size_t channel(const char* name) const
    {
        const auto& channels = viewer()->data().channels;
        for (size_t i = 0; i < channels.size(); ++i)
            if (channels[i].name == name) return i;
        return SIZE_MAX;
    }
};

TEST_F(FlightPanelsScenario, OneTimeAxisAndCursorForAllPanelsAndTheLayoutIsRemembered)
{
    run("viewer open " + SAMPLE + "\nviewer stacked on\nviewer cursor 330\nviewer png " + dir.path() +
        "/stacked.png\n");
    QImage stacked;
    ASSERT_TRUE(stacked.load(dir.filePath("stacked.png")));
    EXPECT_TRUE(test::matches_golden("flight_viewer_stacked", stacked));
    ASSERT_NE(panel("egt"), nullptr);
    ASSERT_NE(panel("flow"), nullptr);
    EXPECT_EQ(panel("electrical")->cursor_row(), 330);

    // A wheel notch over the fuel-flow panel zooms every panel and the one plot.
    host::FlightPlot* flow = panel("flow");
    const QPoint middle = flow->mapFromScene(flow->chart()->mapToScene(flow->chart()->plotArea().center()));
    QWheelEvent wheel(middle, flow->viewport()->mapToGlobal(middle), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(flow->viewport(), &wheel);
    EXPECT_LT(flow->time_to() - flow->time_from(), 599);
    for (const char* key : {"egt", "cht", "rpm_map", "electrical"}) {
        EXPECT_EQ(panel(key)->time_from(), flow->time_from()) << key;
        EXPECT_EQ(panel(key)->time_to(), flow->time_to()) << key;
    }
    EXPECT_EQ(viewer()->plot()->time_from(), flow->time_from());
    // The cursor moved in one panel moves in all, and the values follow it.
    panel("egt")->set_cursor_row(300);
    EXPECT_EQ(panel("rpm_map")->cursor_row(), 300);
    EXPECT_EQ(viewer()->cursor_value("T (s)"), "300");

    // The panels' ticks are their own: fuel flow off here leaves the one plot as it was.
    const bool flow_in_plot = viewer()->plot()->channel_shown(channel("FLOW1"));
    run("viewer channel FLOW1 off\nviewer channel \"EGT SPREAD\" on\nviewer panel electrical off\n");
    EXPECT_FALSE(flow->channel_shown(channel("FLOW1")));
    EXPECT_TRUE(panel("egt")->channel_shown(channel("EGT SPREAD")));
    EXPECT_EQ(viewer()->plot()->channel_shown(channel("FLOW1")), flow_in_plot);
    EXPECT_FALSE(viewer()->panels()->panel_shown(host::panel_by_key("electrical")));
    EXPECT_NE(runner->run_text("viewer panel wings on\n", dir.path()), 0);

    // The next viewer opens as this one was left.
    viewer()->close();
    run("viewer open " + SAMPLE + "\n");
    EXPECT_TRUE(viewer()->stacked());
    EXPECT_FALSE(viewer()->panels()->panel_shown(host::panel_by_key("electrical")));
    EXPECT_FALSE(panel("flow")->channel_shown(channel("FLOW1")));
    EXPECT_TRUE(panel("egt")->channel_shown(channel("EGT SPREAD")));
    EXPECT_TRUE(panel("egt")->channel_shown(channel("EGT1")));
    run("viewer stacked off\n");
    EXPECT_FALSE(viewer()->stacked());
}

} // namespace
