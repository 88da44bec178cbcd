#include "host/state/first_start.h"

#include <QSettings>

#include "host/inputs/sensor_presets.h"
#include "host/window/main_window.h"

namespace host {

namespace {
constexpr const char* STARTED_KEY = "start/started";
}

bool first_start(TfrmMain& window)
{
    QSettings remembered;
    if (remembered.value(STARTED_KEY, false).toBool()) return false;
    remembered.setValue(STARTED_KEY, true);
    QString error;
    return load_sensor_preset(*window.inputs(), FIRST_START_PRESET, error);
}

} // namespace host
