// The scenario runner: plays a plain-text script against the real window.
// While it runs, time is virtual: the 100 ms timer and the passes advance only
// when the script says so.
#pragma once
#include <QString>
#include <QStringList>
#include <string>
#include <vector>

namespace host {

class TfrmMain;

class ScenarioRunner {
public:
    explicit ScenarioRunner(TfrmMain& window) : window_(window) {}

    // Runs a script file. Returns 0 on success; otherwise prints a message
    // naming the line to stderr and returns a non-zero status.
    int run_file(const QString& path);
    // Runs script text; base_dir resolves relative file names.
    int run_text(const QString& text, const QString& base_dir, const QString& name = "script");

    bool quit_requested() const { return quit_; }
    const QString& last_error() const { return error_; }

private:
    // Runs one line's words through the command table (scenario.cpp).
    bool execute(const std::vector<std::string>& words, QString& error);

    TfrmMain& window_;
    QString base_dir_;
    QString error_;
    bool quit_ = false;
};

} // namespace host
