// Sensor presets: the positions of the sensor tabs' sliders and check boxes
// in a file (the format is in core/sensor_preset.h), the presets shipped
// with the program (built in as Qt resources under ":/presets"), and the
// chooser on the "EMS" tab.
#pragma once
#include <QString>
#include <QStringList>

class QGridLayout;

namespace host {

class ControlPanel;

// The shipped presets' names, in menu order.
QStringList shipped_presets();

// A preset name as the chooser lists it, or a file path. Every line is
// checked before a control moves: false with a message when the preset
// cannot be used, and then no control has moved.
bool load_sensor_preset(ControlPanel& controls, const QString& name_or_path, QString& error);
// The "EMS" and "UL Power" tabs' controls; false with a message when the
// file cannot be written.
bool save_sensor_preset(const ControlPanel& controls, const QString& path, QString& error);

// The chooser of shipped presets, "(choose)" first, in grid's row.
void add_preset_chooser(ControlPanel& controls, QGridLayout* grid, int row);

} // namespace host
