#include "host/inputs/sensor_readouts.h"

#include <QHash>
#include <functional>

#include "sensors/channels.h"
#include "sensors/ecu_data.h"
#include "sensors/fuel.h"
#include "sensors/senders.h"
#include "sensors/thermocouple.h"
#include "settings/options.h"
#include "settings/settings.h"
#include "system/raw_inputs.h"

namespace host {

namespace {

using ems::settings;

// Option texts are in the display font's codes, which match Latin-1 ("\xB0" is the degree sign).
QString unit_text(const ems::OptionList& list, int index)
{
    return QString::fromLatin1(ems::option_gauge_text(list, index));
}

QString tenths(int value_x10) { return QString::number(value_x10 / 10.0, 'f', 1); }

QString degrees(int value, int unit) { return QString::number(value) + " " + unit_text(ems::options::DEGREE_UNIT, unit); }

// A pressure in its record's unit: 0.1 bar, 1 psi or 0.1 psi.
QString pressure(int value, int unit)
{
    const QString text = unit == 1 ? QString::number(value) : tenths(value);
    return text + " " + unit_text(ems::options::PRESSURE_UNIT, unit);
}

bool gallons() { return settings.fuel_unit % 2 == 1; }

// Tank contents: 0.1 gal, or litres in whole or tenth litres.
QString tank(int level)
{
    if (gallons()) return tenths(level) + " gal";
    return (settings.tank_resolution == 1 ? tenths(level) : QString::number(level)) + " L";
}

QString analog_input(int n)
{
    switch (ems::channel_mode_in_use(uint8_t(n))) {
    case 1: return pressure(ems::senders.aux_pressure[n], settings.pressure_cfg[n].unit);
    case 2: return degrees(ems::senders.aux_temp[n], settings.temp_unit);
    case 3: return tenths(ems::senders.aux_current_x10[n]) + " A";
    case 4: {
        const auto& label = settings.generic_cfg[n].unit_label;
        return QString::number(ems::senders.aux_generic[n]) + " " +
               QString::fromLatin1(label, int(qstrnlen(label, sizeof label))).trimmed();
    }
    default: return "off";
    }
}

using Readout = std::function<QString()>;

QHash<QString, Readout> make_readouts()
{
    QHash<QString, Readout> r;
    for (int i = 0; i < ems::TC_CHANNELS; ++i)
        r.insert(QString("EMS/TC%1").arg(i + 1), [i] { return degrees(ems::thermo.tc_value[i], settings.temp_unit); });
    r.insert("EMS/CJC:", [] { return degrees(ems::thermo.cjc_c, 0); });
    for (int i = 0; i < 2; ++i) {
        r.insert(QString("EMS/Fuel Flow%1:").arg(i + 1),
                 [i] { return tenths(ems::fuel.fuel_flow[i]) + (gallons() ? " gal/h" : " L/h"); });
        r.insert(QString("EMS/Fuel Level%1:").arg(i + 1), [i] { return tank(ems::fuel.tank_level[i]); });
    }
    r.insert("EMS/Fuel Pressure:",
             [] { return pressure(ems::senders.fuel_pressure, settings.fuel_pressure_cfg.unit); });
    for (int i = 0; i < 4; ++i) r.insert(QString("EMS/Input %1:").arg(i + 1), [i] { return analog_input(i); });
    r.insert("EMS/Volts:", [] { return tenths(ems::sens.volts_x10) + " V"; });
    r.insert("EMS/Current:", [] { return tenths(ems::sens.current_x10) + " A"; });
    r.insert("EMS/MAP:", [] {
        const QString value = settings.map_unit == 1 ? tenths(ems::sens.map_disp) : QString::number(ems::sens.map_disp);
        return value + " " + unit_text(ems::options::MAP_UNIT, settings.map_unit);
    });
    r.insert("EMS/OAT:", [] { return degrees(ems::sens.oat_disp, settings.oat_unit); });
    r.insert("EMS/RPM:", [] { return QString::number(ems::sens.rpm) + " RPM"; });
    r.insert("EMS/Rotor:", [] { return QString::number(ems::raw.rpm2_percent) + " %"; });
    // The engine computer's oil temperature and fuel pressure take the place of
    // analog input 1 and the fuel-pressure sender only while it is the UL Power
    // one; otherwise those sensors overwrite them on every pass.
    r.insert("UL Power/Oil Temp:", [] {
        return settings.ecu_type == ems::ECU_UL_POWER ? degrees(ems::senders.aux_temp[0], settings.temp_unit) : "n/a";
    });
    r.insert("UL Power/Fuel Press:", [] {
        return settings.ecu_type == ems::ECU_UL_POWER
                   ? pressure(ems::senders.fuel_pressure, settings.fuel_pressure_cfg.unit)
                   : "n/a";
    });
    r.insert("UL Power/ECU Temp:", [] { return degrees(ems::ecu.ecu_temp, settings.ecu_air_temp_unit); });
    return r;
}

} // namespace

QString sensor_readout(const QString& slider_key)
{
    static const QHash<QString, Readout> readouts = make_readouts();
    const auto it = readouts.constFind(slider_key);
    return it == readouts.constEnd() ? QString() : (*it)();
}

} // namespace host
