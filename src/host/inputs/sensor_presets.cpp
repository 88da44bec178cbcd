#include "host/inputs/sensor_presets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QSaveFile>
#include <QSlider>

#include "host/inputs/control_panel.h"
#include "host/inputs/core/sensor_preset.h"

namespace host {

namespace {

// The shipped presets are built into the program, under this folder.
constexpr const char* SHIPPED_DIR = ":/presets";
// Tabs whose controls are sensor inputs: a preset saves them, and loading
// writes their inputs even where a slider already stands at the position.
const QStringList SENSOR_TABS = {"EMS", "UL Power"};

struct PresetText {
    QString text;
    QString error;
};

PresetText read_preset(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {{}, QString("%1: cannot read the file").arg(path)};
    if (f.size() > qint64(PRESET_MAX_BYTES)) return {{}, QString("%1: too large for a sensor preset").arg(path)};
    return {QString::fromUtf8(f.read(qint64(PRESET_MAX_BYTES) + 1)), {}};
}

bool parse(const QString& path, const QString& text, SensorPreset& preset, QString& error)
{
    std::string message;
    if (parse_sensor_preset(text.toStdString(), preset, message)) return true;
    error = QString("%1: %2").arg(QDir::toNativeSeparators(path), QString::fromStdString(message));
    return false;
}

// Shipped presets by name, in file-name order (the files are numbered).
QList<QPair<QString, QString>> shipped()
{
    QList<QPair<QString, QString>> list;
    const QDir dir(SHIPPED_DIR);
    for (const QString& file : dir.entryList({"*.preset"}, QDir::Files, QDir::Name)) {
        const QString path = dir.filePath(file);
        SensorPreset preset;
        QString error;
        const PresetText t = read_preset(path);
        const bool named = t.error.isEmpty() && parse(path, t.text, preset, error) && !preset.name.empty();
        list.append({named ? QString::fromStdString(preset.name) : QFileInfo(file).completeBaseName(), path});
    }
    return list;
}

} // namespace

QStringList shipped_presets()
{
    QStringList names;
    for (const auto& p : shipped()) names.append(p.first);
    return names;
}

bool load_sensor_preset(ControlPanel& controls, const QString& name_or_path, QString& error)
{
    QString path;
    for (const auto& p : shipped())
        if (p.first.compare(name_or_path, Qt::CaseInsensitive) == 0) path = p.second;
    if (path.isEmpty()) {
        if (!QFileInfo(name_or_path).isFile()) {
            error = QString("No sensor preset \"%1\": give a file or one of %2")
                        .arg(name_or_path, shipped_presets().join(", "));
            return false;
        }
        path = name_or_path;
    }
    const PresetText t = read_preset(path);
    if (!t.error.isEmpty()) {
        error = t.error;
        return false;
    }
    SensorPreset preset;
    if (!parse(path, t.text, preset, error)) return false;

    // Every line is checked before any control moves.
    struct Move {
        QSlider* slider;
        QCheckBox* box;
        int value;
        bool force;
    };
    QList<Move> moves;
    for (const PresetEntry& e : preset.entries) {
        const QString key = QString::fromStdString(e.tab + "/" + e.caption);
        const auto bad = [&](const QString& why) {
            error = QString("%1: line %2: %3").arg(QDir::toNativeSeparators(path)).arg(e.line).arg(why);
            return false;
        };
        // Captions are matched with or without their ':'; messages name the control as shown.
        const QString control = controls.slider(key) || controls.check(key) ? key : key + ":";
        QSlider* s = controls.slider(control);
        QCheckBox* box = controls.check(control);
        if (s) {
            if (e.on_off) return bad(QString("the slider %1 takes a number").arg(control));
            if (e.value < s->minimum() || e.value > s->maximum())
                return bad(QString("%1 takes %2..%3").arg(control).arg(s->minimum()).arg(s->maximum()));
            moves.append({s, nullptr, e.value, SENSOR_TABS.contains(QString::fromStdString(e.tab))});
        } else if (box && !box->isHidden()) {
            if (e.value != 0 && e.value != 1) return bad(QString("the check box %1 takes on or off").arg(control));
            moves.append({nullptr, box, e.value, false});
        } else {
            return bad(QString("no slider or check box %1").arg(key));
        }
    }
    for (const Move& m : moves) {
        if (m.box) {
            m.box->setChecked(m.value != 0);
            continue;
        }
        // A slider writes its input only when it moves: a sensor input set by
        // a preset is written even where the slider already stands there.
        if (m.force && m.slider->value() == m.value)
            m.slider->setValue(m.value == m.slider->maximum() ? m.value - 1 : m.value + 1);
        m.slider->setValue(m.value);
    }
    if (QComboBox* chooser = controls.combo("EMS/Preset:")) {
        const int index = chooser->findText(QString::fromStdString(preset.name));
        const QSignalBlocker quiet(chooser);
        chooser->setCurrentIndex(index > 0 ? index : 0);
    }
    controls.refresh_readouts();
    return true;
}

bool save_sensor_preset(const ControlPanel& controls, const QString& path, QString& error)
{
    SensorPreset preset;
    preset.name = QFileInfo(path).completeBaseName().toStdString();
    for (const QString& key : controls.control_order()) {
        const QString tab = key.section('/', 0, 0);
        if (!SENSOR_TABS.contains(tab)) continue;
        PresetEntry e;
        e.tab = tab.toStdString();
        e.caption = key.section('/', 1).toStdString();
        if (!e.caption.empty() && e.caption.back() == ':') e.caption.pop_back();
        if (const QSlider* s = controls.slider(key)) {
            e.value = s->value();
        } else if (const QCheckBox* box = controls.check(key); box && !box->isHidden()) {
            e.value = box->isChecked() ? 1 : 0;
            e.on_off = true;
        } else {
            continue;
        }
        preset.entries.push_back(e);
    }
    QSaveFile f(path);
    const std::string text = format_sensor_preset(preset);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(text.data(), qint64(text.size())) != qint64(text.size()) ||
        !f.commit()) {
        error = QString("%1: cannot write the preset (%2)").arg(QDir::toNativeSeparators(path), f.errorString());
        return false;
    }
    return true;
}

void add_preset_chooser(ControlPanel& controls, QGridLayout* grid, int row)
{
    auto* chooser = new QComboBox;
    chooser->setObjectName("PresetChooser");
    chooser->addItem("(choose)");
    chooser->addItems(shipped_presets());
    chooser->setToolTip("Sets the sliders and check boxes to a shipped preset; File / Load Sensor Preset... "
                        "takes your own");
    controls.add_combo("EMS/Preset:", chooser);
    grid->addWidget(new QLabel("Preset:"), row, 0);
    grid->addWidget(chooser, row, 1);
    QObject::connect(chooser, &QComboBox::activated, &controls, [&controls, chooser](int index) {
        if (index <= 0) return;
        QString error;
        if (!load_sensor_preset(controls, chooser->itemText(index), error)) {
            auto* box = new QMessageBox(QMessageBox::Warning, "Sorvik", error, QMessageBox::Ok, &controls);
            box->setAttribute(Qt::WA_DeleteOnClose);
            box->open();
        }
    });
}

} // namespace host
