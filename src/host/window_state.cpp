// Save states in the window: File / Save State... and Load State..., the
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
#include "host/core/save_state.h"
#include "host/main_window.h"
#include "host/nmea_source.h"

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

std::vector<std::pair<std::string, std::string>> TfrmMain::inputs_state() const
{
    std::vector<std::pair<std::string, std::string>> out;
    out.emplace_back(POWER_KEY, ems::firmware_running() ? "on" : "off");
    // Combo boxes first: the GPS source decides which of its inputs show.
    QStringList combos = combos_.keys();
    combos.sort();
    for (const QString& key : combos)
        if (key != NOT_AN_INPUT) out.emplace_back(s(key), s(combos_.value(key)->currentText()));
    QStringList edits = line_edits_.keys();
    edits.sort();
    for (const QString& key : edits) out.emplace_back(s(key), s(line_edits_.value(key)->text().simplified()));
    for (const QString& key : control_order_) {
        if (const QSlider* slider = sliders_.value(key)) out.emplace_back(s(key), std::to_string(slider->value()));
        else if (const QCheckBox* box = checks_.value(key)) out.emplace_back(s(key), box->isChecked() ? "on" : "off");
    }
    return out;
}

bool TfrmMain::save_state(const QString& path, QString& error) const
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
bool TfrmMain::plan_inputs(const SaveState& state, std::vector<std::function<void()>>& moves, QString& error)
{
    for (const auto& [k, v] : state.host) {
        const QString key = q(k), value = q(v);
        const auto bad = [&](const QString& why) {
            error = QString("%1 %2").arg(key, why);
            return false;
        };
        if (k == POWER_KEY) {
            if (v != "on" && v != "off") return bad("is neither on nor off");
        } else if (QSlider* slider = sliders_.value(key)) {
            bool ok = false;
            const int n = value.toInt(&ok);
            if (!ok || n < slider->minimum() || n > slider->maximum())
                return bad(QString("takes %1..%2").arg(slider->minimum()).arg(slider->maximum()));
            // A sensor input is written even where the slider already stands.
            moves.push_back([slider, n] {
                if (slider->value() == n) slider->setValue(n == slider->maximum() ? n - 1 : n + 1);
                slider->setValue(n);
            });
        } else if (QCheckBox* box = checks_.value(key)) {
            if (v != "on" && v != "off") return bad("is neither on nor off");
            moves.push_back([box, on = v == "on"] { box->setChecked(on); });
        } else if (QComboBox* combo = combos_.value(key); combo && key != NOT_AN_INPUT) {
            moves.push_back([combo, value] {
                const int index = combo->findText(value);
                if (index >= 0) combo->setCurrentIndex(index);
                else if (combo->isEditable()) combo->setEditText(value);
            });
        } else if (QLineEdit* edit = line_edits_.value(key)) {
            moves.push_back([edit, value] { edit->setText(value); });
        } else {
            return bad("is not an input of this window");
        }
    }
    return true;
}

bool TfrmMain::load_state(const QString& path, QString& error)
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
    if (sources_) sources_->stop();
    for (const auto& move : moves) move();
    const std::string* power = save_state_value(*state, POWER_KEY);
    if (ems::firmware_running()) {
        pending_state_.reset();
        apply_firmware_state(*state);
    } else {
        // Power-on sets the unit to its defaults: the state goes in after it.
        pending_state_ = state;
        if (power && *power == "on") Button1Click();
    }
    refresh_readouts();
    return true;
}

void TfrmMain::apply_pending_state()
{
    if (!pending_state_) return;
    apply_firmware_state(*pending_state_);
    pending_state_.reset();
}

bool TfrmMain::resume_enabled() { return QSettings().value(RESUME_KEY, false).toBool(); }

void TfrmMain::set_resume_enabled(bool on) { QSettings().setValue(RESUME_KEY, on); }

void TfrmMain::keep_for_resume() const
{
    if (!resume_enabled()) return;
    QString error;
    QDir().mkpath(QFileInfo(resume_file()).absolutePath());
    if (!save_state(resume_file(), error)) std::fprintf(stderr, "sorvik-ems: %s\n", qPrintable(error));
}

bool TfrmMain::resume(QString& error)
{
    if (!resume_enabled() || !QFileInfo::exists(resume_file())) return false;
    return load_state(resume_file(), error);
}

void TfrmMain::save_state_as()
{
    const QString path = QFileDialog::getSaveFileName(this, "Save State", "exercise.sorvik-state",
                                                      "Save states (*.sorvik-state);;All files (*)");
    QString error;
    if (path.isEmpty()) return;
    if (!save_state(path, error)) QMessageBox::warning(this, "Sorvik", error);
    else statusBar()->showMessage("State saved to " + QDir::toNativeSeparators(path), 5000);
}

void TfrmMain::load_state_from()
{
    const QString path = QFileDialog::getOpenFileName(this, "Load State", QString(),
                                                      "Save states (*.sorvik-state);;All files (*)");
    QString error;
    if (path.isEmpty()) return;
    if (!load_state(path, error)) QMessageBox::warning(this, "Sorvik", error);
    else statusBar()->showMessage("State loaded from " + QDir::toNativeSeparators(path), 5000);
}

} // namespace host
