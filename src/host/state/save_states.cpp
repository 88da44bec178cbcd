// Save states of the window: File / Save State... and Load State..., the
// command line's --state and the scenario's "state" command. The file (its
// format in core/save_state.h) holds the firmware's records and, as
// "key=value" lines, the window's inputs by "TAB/CAPTION" and whether the
// unit was on.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>
#include <QSlider>
#include <QStatusBar>
#include <cstdio>

#include "app/power.h"
#include "host/gps/gps_tab.h"
#include "host/gps/nmea_source_selector.h"
#include "host/inputs/control_panel.h"
#include "host/state/core/save_state.h"
#include "host/state/save_states.h"
#include "host/window/main_window.h"

namespace host {

namespace {

constexpr const char* POWER_KEY = "power";
// The preset chooser only names the preset last loaded; choosing it loads one.
constexpr const char* NOT_AN_INPUT = "EMS/Preset:";

// View / "Resume Where I Left Off": the state kept at the end for the next start.
constexpr const char* RESUME_KEY = "view/resume";

QString resume_file()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/last.sorvik-state";
}

std::string s(const QString& text) { return text.toStdString(); }
QString q(const std::string& text) { return QString::fromStdString(text); }

} // namespace

SaveStates::SaveStates(TfrmMain& window) : QObject(&window), window_(window) {}

std::vector<std::pair<std::string, std::string>> SaveStates::inputs_state() const
{
    const ControlPanel& inputs = *window_.inputs();
    std::vector<std::pair<std::string, std::string>> out;
    out.emplace_back(POWER_KEY, ems::firmware_running() ? "on" : "off");
    // Combo boxes first: the GPS source decides which of its inputs show.
    QStringList combos = inputs.combo_keys();
    combos.sort();
    for (const QString& key : combos)
        if (key != NOT_AN_INPUT) out.emplace_back(s(key), s(inputs.combo(key)->currentText()));
    QStringList edits = inputs.line_edit_keys();
    edits.sort();
    for (const QString& key : edits) out.emplace_back(s(key), s(inputs.line_edit(key)->text().simplified()));
    for (const QString& key : inputs.control_order()) {
        if (const QSlider* slider = inputs.slider(key)) out.emplace_back(s(key), std::to_string(slider->value()));
        else if (const QCheckBox* box = inputs.check(key)) out.emplace_back(s(key), box->isChecked() ? "on" : "off");
    }
    return out;
}

bool SaveStates::save(const QString& path, QString& error) const
{
    SaveState state = pending_state_ ? *pending_state_ : capture_firmware_state();
    state.host = inputs_state();
    QSaveFile f(path);
    const std::string bytes = encode_save_state(state);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()) ||
        !f.commit()) {
        error = QString("Cannot save the state to %1: %2").arg(QDir::toNativeSeparators(path), f.errorString());
        return false;
    }
    return true;
}

// Every line of the window's part is checked before anything changes; a
// combo box's entry that this machine lacks (a serial port) is left as it is.
bool SaveStates::plan_inputs(const SaveState& state, std::vector<std::function<void()>>& moves, QString& error)
{
    const ControlPanel& inputs = *window_.inputs();
    for (const auto& [k, v] : state.host) {
        const QString key = q(k), value = q(v);
        const auto bad = [&](const QString& why) {
            error = QString("%1 %2").arg(key, why);
            return false;
        };
        if (k == POWER_KEY) {
            if (v != "on" && v != "off") return bad("is neither on nor off");
        } else if (QSlider* slider = inputs.slider(key)) {
            bool ok = false;
            const int n = value.toInt(&ok);
            if (!ok || n < slider->minimum() || n > slider->maximum())
                return bad(QString("takes %1..%2").arg(slider->minimum()).arg(slider->maximum()));
            // A sensor input is written even where the slider already stands.
            moves.push_back([slider, n] {
                if (slider->value() == n) slider->setValue(n == slider->maximum() ? n - 1 : n + 1);
                slider->setValue(n);
            });
        } else if (QCheckBox* box = inputs.check(key)) {
            if (v != "on" && v != "off") return bad("is neither on nor off");
            moves.push_back([box, on = v == "on"] { box->setChecked(on); });
        } else if (QComboBox* combo = inputs.combo(key); combo && key != NOT_AN_INPUT) {
            moves.push_back([combo, value] {
                const int index = combo->findText(value);
                if (index >= 0) combo->setCurrentIndex(index);
                else if (combo->isEditable()) combo->setEditText(value);
            });
        } else if (QLineEdit* edit = inputs.line_edit(key)) {
            moves.push_back([edit, value] { edit->setText(value); });
        } else {
            return bad("is not an input of this window");
        }
    }
    return true;
}

bool SaveStates::load(const QString& path, QString& error)
{
    const auto refuse = [&](const QString& why) {
        error = QString("Cannot load the state %1: %2").arg(QDir::toNativeSeparators(path), why);
        return false;
    };
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return refuse(f.errorString());
    const QByteArray bytes = f.read(qint64(SAVE_STATE_MAX_BYTES) + 1);
    if (f.error() != QFileDevice::NoError) return refuse(f.errorString());
    auto state = std::make_shared<SaveState>();
    std::string message;
    if (!decode_save_state(std::string_view(bytes.constData(), size_t(bytes.size())), *state, message))
        return refuse(q(message));
    std::vector<std::function<void()>> moves;
    QString why;
    if (!plan_inputs(*state, moves, why)) return refuse(why);

    // A GPS source busy now would hold its choice and inputs locked.
    if (window_.gps()->sources()) window_.gps()->sources()->stop();
    for (const auto& move : moves) move();
    const std::string* power = save_state_value(*state, POWER_KEY);
    if (ems::firmware_running()) {
        pending_state_.reset();
        apply_firmware_state(*state);
    } else {
        // Power-on sets the unit to its defaults: the state goes in after it.
        pending_state_ = state;
        if (power && *power == "on") window_.Button1Click();
    }
    window_.inputs()->refresh_readouts();
    return true;
}

void SaveStates::apply_pending()
{
    if (!pending_state_) return;
    apply_firmware_state(*pending_state_);
    pending_state_.reset();
}

bool SaveStates::resume_enabled() { return QSettings().value(RESUME_KEY, false).toBool(); }

void SaveStates::set_resume_enabled(bool on) { QSettings().setValue(RESUME_KEY, on); }

void SaveStates::keep_for_resume() const
{
    if (!resume_enabled()) return;
    QString error;
    QDir().mkpath(QFileInfo(resume_file()).absolutePath());
    if (!save(resume_file(), error)) std::fprintf(stderr, "sorvik-ems: %s\n", qPrintable(error));
}

bool SaveStates::resume(QString& error)
{
    if (!resume_enabled() || !QFileInfo::exists(resume_file())) return false;
    return load(resume_file(), error);
}

void SaveStates::save_as()
{
    const QString path = QFileDialog::getSaveFileName(&window_, "Save State", "exercise.sorvik-state",
                                                      "Save states (*.sorvik-state);;All files (*)");
    QString error;
    if (path.isEmpty()) return;
    if (!save(path, error)) QMessageBox::warning(&window_, "Sorvik", error);
    else window_.statusBar()->showMessage("State saved to " + QDir::toNativeSeparators(path), 5000);
}

void SaveStates::load_from()
{
    const QString path = QFileDialog::getOpenFileName(&window_, "Load State", QString(),
                                                      "Save states (*.sorvik-state);;All files (*)");
    QString error;
    if (path.isEmpty()) return;
    if (!load(path, error)) QMessageBox::warning(&window_, "Sorvik", error);
    else window_.statusBar()->showMessage("State loaded from " + QDir::toNativeSeparators(path), 5000);
}

} // namespace host
