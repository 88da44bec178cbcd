#include "host/inputs/control_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/power.h"
#include "host/inputs/sensor_presets.h"
#include "host/inputs/sensor_readouts.h"
#include "sensors/ecu_data.h"
#include "settings/settings.h"
#include "system/raw_inputs.h"

namespace host {

namespace {


QGridLayout* group_grid(QGroupBox* box)
{
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(6, 2, 6, 4);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(1);
    grid->setColumnStretch(1, 1);
    return grid;
}

} // namespace

ControlPanel::ControlPanel(QWidget* parent) : QTabWidget(parent)
{
    setObjectName("PageControl1");
    addTab(build_ems_tab(), "EMS");
    addTab(build_selection_tab(), "Selection");
    addTab(build_ul_power_tab(), "UL Power");
}

QSlider* ControlPanel::add_slider(QGridLayout* grid, int row, const QString& tab, const QString& caption,
                              int min, int max, int start, std::function<void(int)> on_change,
                              bool value_label)
{
    auto* caption_label = new QLabel(caption);
    auto* s = new QSlider(Qt::Horizontal);
    s->setRange(min, max);
    s->setValue(start);
    s->setSingleStep(1);
    s->setPageStep(std::max(1, (max - min) / 20));
    s->setMinimumWidth(50);
    s->setProperty("caption", caption);
    s->setAccessibleName(caption);
    grid->addWidget(caption_label, row, 0);
    grid->addWidget(s, row, 1);
    const QString key = tab + "/" + caption;
    sliders_.insert(key, s);
    control_order_.append(key);
    s->setToolTip("Arrow keys step by 1, Page Up/Down by a twentieth; double-click the number to type a position");
    QLabel* value = nullptr;
    if (value_label) {
        // The raw count; the readout beside it shows what the unit makes of it.
        value = new QLabel(QString::number(start));
        value->setMinimumWidth(34);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setToolTip("Raw count; double-click to type one");
        value->setProperty("slider_key", key);
        value->installEventFilter(this);
        grid->addWidget(value, row, 2);
        slider_labels_.insert(key, value);
        if (!sensor_readout(key).isNull()) {
            QFont small = value->font();
            small.setPointSizeF(small.pointSizeF() * 0.85);
            value->setFont(small);
            value->setStyleSheet("color: gray");
            auto* readout = new QLabel;
            readout->setMinimumWidth(54);
            readout->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            readout->setToolTip("What the unit reads, in the units of its settings");
            readout->setProperty("slider_key", key);
            readout->installEventFilter(this);
            grid->addWidget(readout, row, 3);
            readouts_.insert(key, readout);
        }
    }
    if (on_change) {
        connect(s, &QSlider::valueChanged, this, [value, on_change](int v) {
            on_change(v);
            if (value) value->setNum(v);
        });
        // A sensor input (one with a raw count beside it) is read from the
        // start where its slider shows it; the Selection tab's switches
        // write settings, which power-on sets.
        if (value_label) on_change(start);
    }
    return s;
}

QCheckBox* ControlPanel::add_check(QWidget* parent, const QString& tab, const QString& caption, bool checked)
{
    auto* c = new QCheckBox(caption, parent);
    c->setChecked(checked);
    control_order_.append(tab + "/" + caption);
    checks_.insert(tab + "/" + caption, c);
    return c;
}

QWidget* ControlPanel::build_ems_tab()
{
    using ems::raw;
    const QString tab = "EMS";
    auto* page = new QWidget;
    auto* columns = new QHBoxLayout(page);
    columns->setContentsMargins(4, 4, 4, 4);
    columns->setSpacing(6);
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    left->setSpacing(4);
    right->setSpacing(4);
    // The right column's captions are longer.
    columns->addLayout(left, 9);
    columns->addLayout(right, 11);

    auto* tcs = new QGroupBox(" Thermocouples ");
    auto* g = group_grid(tcs);
    for (int i = 0; i < 12; ++i)
        add_slider(g, i, tab, QString("TC%1").arg(i + 1), -200, 1200, 0,
                   [i](int v) { raw.tc_input[i] = int16_t(v); });
    add_slider(g, 12, tab, "CJC:", 0, 4096, 2240, [](int v) { raw.raw_cjc = uint16_t(v); });
    left->addWidget(tcs);

    auto* switches = new QGroupBox(" Switches ");
    auto* sw = new QVBoxLayout(switches);
    sw->setContentsMargins(6, 2, 6, 4);
    auto* vexa = add_check(switches, tab, "VEXA On/Off", false);
    auto* sd = add_check(switches, tab, "SD Card Mounted", true);
    sw->addWidget(vexa);
    sw->addWidget(sd);
    boxes_[size_t(ems::CheckBox::VexaOnOff)] = vexa;
    boxes_[size_t(ems::CheckBox::SdCardMounted)] = sd;
    left->addWidget(switches);
    auto* presets = new QGroupBox(" Preset ");
    add_preset_chooser(*this, group_grid(presets), 0);
    left->addWidget(presets);
    left->addStretch(1);

    auto* fuel = new QGroupBox(" Fuel ");
    g = group_grid(fuel);
    add_slider(g, 0, tab, "Fuel Flow1:", 0, 65535, 0, [](int v) { raw.flow_pulses[0] = uint16_t(v); });
    add_slider(g, 1, tab, "Fuel Flow2:", 0, 65535, 0, [](int v) { raw.flow_pulses[1] = uint16_t(v); });
    add_slider(g, 2, tab, "Fuel Level1:", 0, 4096, 0, [](int v) { raw.raw_fuel_level[0] = uint16_t(v); });
    add_slider(g, 3, tab, "Fuel Level2:", 0, 4096, 0, [](int v) { raw.raw_fuel_level[1] = uint16_t(v); });
    add_slider(g, 4, tab, "Fuel Pressure:", 0, 4096, 0, [](int v) { raw.raw_fuel_pressure = uint16_t(v); });
    right->addWidget(fuel);

    auto* analog = new QGroupBox(" Analog Inputs ");
    g = group_grid(analog);
    for (int i = 0; i < 4; ++i)
        add_slider(g, i, tab, QString("Input %1:").arg(i + 1), 0, 4096, 0,
                   [i](int v) { raw.raw_aux[i] = uint16_t(v); });
    right->addWidget(analog);

    auto* power = new QGroupBox(" Power ");
    g = group_grid(power);
    add_slider(g, 0, tab, "Volts:", 0, 4096, 0, [](int v) { raw.raw_volts = uint16_t(v); });
    add_slider(g, 1, tab, "Current:", 0, 4096, 0, [](int v) { raw.raw_current = uint16_t(v); });
    right->addWidget(power);

    auto* misc = new QGroupBox(" Miscellaneous ");
    g = group_grid(misc);
    add_slider(g, 0, tab, "MAP:", 0, 4096, 0, [](int v) { raw.raw_map = uint16_t(v); });
    add_slider(g, 1, tab, "OAT:", 0, 4096, 0, [](int v) { raw.raw_oat = uint16_t(v); });
    add_slider(g, 2, tab, "RPM:", 1, 31000, 31000, [](int v) { raw.rpm_period = uint16_t(v); });
    add_slider(g, 3, tab, "Rotor:", 1, 99999, 1, [](int v) {
        raw.rpm2 = v;
        // The settings keep the full scale at 100..99000; a recalled zero must not divide.
        const uint32_t full_scale = ems::settings.rpm2_full_scale;
        raw.rpm2_percent = full_scale ? int32_t(int64_t(v) * 100 / full_scale) : 0;
    });
    right->addWidget(misc);
    right->addStretch(1);
    return page;
}

QWidget* ControlPanel::build_selection_tab()
{
    using ems::settings;
    const QString tab = "Selection";
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    auto* box = new QGroupBox(" Display Selection ");
    auto* g = group_grid(box);
    // Each writes a unit setting directly; they do not follow changes made on
    // the instrument, and the next power-on restores the defaults.
    add_slider(g, 0, tab, "OAT:", 0, 1, 0, [](int x) { settings.oat_display = uint8_t(x); }, false);
    add_slider(g, 1, tab, "VEXA Current:", 0, 1, 0, [](int x) { settings.current_display = uint8_t(x); }, false);
    for (int i = 0; i < 4; ++i)
        add_slider(g, 2 + i, tab, QString("Analog %1:").arg(i + 1), 0, 3, 0,
                   [i](int x) { settings.channel_mode[i] = uint8_t(x); }, false);
    add_slider(g, 6, tab, "RPM1:", 0, 2, 0, [](int x) { settings.rpm1_display = uint8_t(x); }, false);
    add_slider(g, 7, tab, "RPM2:", 0, 2, 0, [](int x) { settings.rpm2_display = uint8_t(x); }, false);
    add_slider(g, 8, tab, "MAP:", 0, 1, 0, [](int x) { settings.map_display = uint8_t(x); }, false);
    v->addWidget(box);
    v->addStretch(1);
    return page;
}

QWidget* ControlPanel::build_ul_power_tab()
{
    const QString tab = "UL Power";
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    v->setContentsMargins(4, 4, 4, 4);

    auto* values = new QGroupBox(" ECU Values ");
    auto* g = group_grid(values);
    add_slider(g, 0, tab, "Oil Temp:", 0, 2000, 0, [](int x) { ems::ul_oil_temp_input(uint16_t(x)); });
    add_slider(g, 1, tab, "Fuel Press:", 0, 100, 0, [](int x) { ems::ul_fuel_pressure_input(uint16_t(x)); });
    add_slider(g, 2, tab, "ECU Temp:", 0, 2000, 0, [](int x) { ems::ul_ecu_temp_input(uint16_t(x)); });
    // These feed nothing, not even their value labels.
    const struct {
        const char* caption;
        int max;
    } inert[] = {{"Fuel flow:", 999}, {"RPM:", 100}, {"Throttle:", 100}, {"Air Temp:", 2000},
                 {"Oil Press:", 100}, {"Battery Volts:", 500}, {"Static Press:", 1300}};
    int row = 3;
    for (const auto& s : inert) {
        add_slider(g, row, tab, s.caption, 0, s.max, 0, nullptr, true);
        ++row;
    }
    v->addWidget(values);

    auto* switches = new QGroupBox(" ECU Status ");
    auto* grid = new QGridLayout(switches);
    const struct {
        const char* caption;
        ems::CheckBox id;
    } boxes[] = {
        {"ECU Comms", ems::CheckBox::EcuComms},
        {"Ignition 1", ems::CheckBox::Ignition1},
        {"Ignition 2", ems::CheckBox::Ignition2},
        {"Air Temp Sensor", ems::CheckBox::AirTempSensor},
        {"Throttle Pos Sensor", ems::CheckBox::ThrottlePosSensor},
        {"MAP Sensor", ems::CheckBox::MapSensor},
        {"Oil Temp Sensor", ems::CheckBox::OilTempSensor},
        {"Pos-/Sync Sensor Fault", ems::CheckBox::PosSyncSensorFault},
    };
    int i = 0;
    for (const auto& b : boxes) {
        auto* c = add_check(switches, tab, b.caption, false);
        boxes_[size_t(b.id)] = c;
        grid->addWidget(c, i / 2, i % 2);
        ++i;
    }
    auto* active = add_check(switches, tab, "UL Power Active", false);
    active->setVisible(false); // exists on the unit's host, without effect
    v->addWidget(switches);
    v->addStretch(1);
    return page;
}

void ControlPanel::refresh_readouts()
{
    const bool on = ems::firmware_running();
    for (auto it = readouts_.constBegin(); it != readouts_.constEnd(); ++it) {
        // The unit converts while it runs; off, there is nothing it has computed.
        it.value()->setText(on ? sensor_readout(it.key()) : QString::fromUtf8("\u2013"));
    }
}

bool ControlPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick && watched->property("slider_key").isValid()) {
        type_slider_value(watched->property("slider_key").toString());
        return true;
    }
    return QTabWidget::eventFilter(watched, event);
}

void ControlPanel::type_slider_value(const QString& key)
{
    QSlider* s = slider(key);
    if (!s) return;
    bool ok = false;
    const int v = QInputDialog::getInt(this, s->property("caption").toString(),
                                       QString("Position (%1..%2):").arg(s->minimum()).arg(s->maximum()),
                                       s->value(), s->minimum(), s->maximum(), 1, &ok);
    if (ok) s->setValue(v);
}

} // namespace host
