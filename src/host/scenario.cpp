#include "host/scenario.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTextStream>
#include <cmath>
#include <cstdio>

#include "gps/gps_data.h"
#include "gps/nmea_rx.h"
#include "host/core/scenario_parse.h"
#include "host/lcd_panel.h"
#include "host/main_window.h"
#include "system/power.h"
#include "system/var_registry.h"
#include "ui/screen.h"

namespace host {

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

QJsonValue var_json(const ems::VarInfo& v)
{
    if (v.type == ems::VarType::Text) {
        const char* text = static_cast<const char*>(v.ptr);
        size_t n = 0;
        while (n < v.count && text[n]) ++n;
        return QString::fromLatin1(text, int(n));
    }
    auto element = [&](size_t i) -> QJsonValue {
        if (v.type == ems::VarType::F32) {
            const double d = ems::var_double(v, i);
            return std::isfinite(d) ? QJsonValue(d) : QJsonValue(QJsonValue::Null);
        }
        return QJsonValue(qint64(ems::var_int(v, i)));
    };
    if (v.count == 1) return element(0);
    QJsonArray a;
    for (size_t i = 0; i < v.count; ++i) a.append(element(i));
    return a;
}

} // namespace

int ScenarioRunner::run_file(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) {
        error_ = QString("%1: cannot open the script").arg(path);
        std::fprintf(stderr, "%s\n", qPrintable(error_));
        return 2;
    }
    return run_text(QString::fromUtf8(f.readAll()), QFileInfo(path).absolutePath(), path);
}

int ScenarioRunner::run_text(const QString& text, const QString& base_dir, const QString& name)
{
    base_dir_ = base_dir;
    window_.set_virtual_time(true);
    const QStringList lines = text.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        std::vector<std::string> words;
        std::string parse_error;
        QString error;
        if (!split_scenario_line(lines[i].toStdString(), words, parse_error))
            error = q(parse_error);
        else if (!words.empty() && !execute(words, error) && error.isEmpty())
            error = "failed";
        if (!error.isEmpty()) {
            error_ = QString("%1:%2: %3").arg(name).arg(i + 1).arg(error);
            std::fprintf(stderr, "%s\n", qPrintable(error_));
            return 1;
        }
        if (quit_) return 0;
    }
    return 0;
}

QString ScenarioRunner::resolve(const std::string& file) const
{
    const QString f = q(file);
    return QFileInfo(f).isAbsolute() ? f : QDir(base_dir_).filePath(f);
}

bool ScenarioRunner::execute(const std::vector<std::string>& w, QString& error)
{
    const std::string& cmd = w[0];
    const size_t args = w.size() - 1;
    auto want = [&](size_t n, const char* usage) {
        if (args == n) return true;
        error = QString("usage: %1").arg(usage);
        return false;
    };
    long long n = 0;

    if (cmd == "power") {
        if (!want(1, "power on|off")) return false;
        if (w[1] == "on") window_.Button1Click();
        else if (w[1] == "off") window_.Button2Click();
        else return error = "power takes on or off", false;
        return true;
    }
    if (cmd == "key") {
        if (!want(1, "key N (1..8)")) return false;
        if (!parse_count(w[1], n, 8) || n < 1) return error = "key takes 1..8", false;
        ems::key_press(uint8_t(n));
        return true;
    }
    if (cmd == "ticks" || cmd == "passes") {
        if (!want(1, "ticks N | passes N")) return false;
        if (!parse_count(w[1], n, 10000000)) return error = q("bad count " + w[1]), false;
        if (cmd == "ticks") window_.advance_ticks(int(n));
        else window_.run_passes(int(n));
        return true;
    }
    if (cmd == "slider") {
        if (!want(2, "slider \"TAB/CAPTION\" VALUE")) return false;
        QSlider* s = window_.slider(q(w[1]));
        if (!s) return error = q("no slider " + w[1]), false;
        if (!parse_integer(w[2], n) || n < s->minimum() || n > s->maximum())
            return error = QString("value %1 outside %2..%3").arg(q(w[2])).arg(s->minimum()).arg(s->maximum()), false;
        s->setValue(int(n));
        return true;
    }
    if (cmd == "check") {
        if (!want(2, "check \"TAB/CAPTION\" on|off")) return false;
        QCheckBox* c = window_.check(q(w[1]));
        if (!c) return error = q("no check box " + w[1]), false;
        if (w[2] != "on" && w[2] != "off") return error = "check takes on or off", false;
        c->setChecked(w[2] == "on");
        return true;
    }
    if (cmd == "combo") {
        if (!want(2, "combo \"TAB/CAPTION\" TEXT")) return false;
        QComboBox* c = window_.combo(q(w[1]));
        if (!c) return error = q("no combo box " + w[1]), false;
        c->setEditText(q(w[2]));
        return true;
    }
    if (cmd == "button") {
        if (!want(1, "button \"CAPTION\"")) return false;
        QPushButton* b = window_.button(q(w[1]));
        if (!b) b = window_.button("&" + q(w[1]));
        if (!b) return error = q("no button " + w[1]), false;
        b->click();
        QCoreApplication::processEvents();
        return true;
    }
    if (cmd == "tab") {
        if (!want(1, "tab \"TITLE\"")) return false;
        QTabWidget* tabs = window_.tabs();
        for (int i = 0; i < tabs->count(); ++i)
            if (tabs->tabText(i) == q(w[1])) {
                tabs->setCurrentIndex(i);
                QCoreApplication::processEvents();
                return true;
            }
        return error = q("no tab " + w[1]), false;
    }
    if (cmd == "clock") {
        if (!want(2, "clock YYYY-MM-DD HH:MM:SS")) return false;
        const QDateTime t = QDateTime::fromString(q(w[1] + " " + w[2]), "yyyy-MM-dd HH:mm:ss");
        if (!t.isValid()) return error = "clock wants YYYY-MM-DD HH:MM:SS", false;
        window_.set_clock(t);
        return true;
    }
    if (cmd == "nmea") {
        if (args < 1) return error = "usage: nmea TEXT", false;
        std::string bytes = w[1];
        for (size_t i = 2; i < w.size(); ++i) bytes += " " + w[i];
        ems::ComPort1RxChar(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        QCoreApplication::processEvents(); // lets the echo reach Memo1
        return true;
    }
    if (cmd == "screenshot") {
        if (!want(2, "screenshot lcd|window FILE.png")) return false;
        const QString file = resolve(w[2]);
        QDir().mkpath(QFileInfo(file).absolutePath());
        bool ok = false;
        if (w[1] == "lcd") ok = window_.lcd()->image().save(file, "PNG");
        else if (w[1] == "window") ok = window_.grab().save(file, "PNG");
        else return error = "screenshot takes lcd or window", false;
        if (!ok) return error = "cannot write " + file, false;
        return true;
    }
    if (cmd == "dump") {
        if (args < 2) return error = "usage: dump FILE.json NAME...", false;
        QJsonObject out;
        for (size_t i = 2; i < w.size(); ++i) {
            const ems::VarInfo* v = ems::find_var(w[i].c_str());
            if (!v) return error = q("unknown variable " + w[i]), false;
            out.insert(q(w[i]), var_json(*v));
        }
        const QString file = resolve(w[1]);
        QDir().mkpath(QFileInfo(file).absolutePath());
        QFile f(file);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return error = "cannot write " + file, false;
        f.write(QJsonDocument(out).toJson());
        return true;
    }
    if (cmd == "expect") {
        if (!want(2, "expect NAME VALUE")) return false;
        const ems::VarInfo* v = ems::find_var(w[1].c_str());
        if (!v) return error = q("unknown variable " + w[1]), false;
        const QJsonValue got = var_json(*v);
        const QString shown = got.isString() ? got.toString()
                              : got.isArray() ? QString::fromUtf8(QJsonDocument(got.toArray()).toJson(QJsonDocument::Compact))
                                              : QString::number(got.toDouble(), 'g', 10);
        if (shown != q(w[2])) return error = QString("%1 is %2, expected %3").arg(q(w[1]), shown, q(w[2])), false;
        return true;
    }
    if (cmd == "quit") {
        if (!want(0, "quit")) return false;
        quit_ = true;
        return true;
    }
    error = q("unknown command " + cmd);
    return false;
}

} // namespace host
