// What the scenario runner's commands share, and the commands that drive the
// links, the replay and the flight-data viewer (scenario_link_commands.cpp).
#pragma once
#include <QDir>
#include <QFileInfo>
#include <QString>
#include <string>
#include <vector>

namespace host {

class TfrmMain;

namespace scenario {

using Words = std::vector<std::string>;

inline QString q(const std::string& s) { return QString::fromStdString(s); }

// What a command may use of the runner.
struct Context {
    TfrmMain& window;
    const QString& base_dir;
    bool& quit;

    // A script's file name, taken from the script's folder when relative.
    QString resolve(const std::string& file) const
    {
        const QString f = q(file);
        return QFileInfo(f).isAbsolute() ? f : QDir(base_dir).filePath(f);
    }
};

// Puts message in error and returns false, so a handler can end with it.
inline bool fail(QString& error, const QString& message)
{
    error = message;
    return false;
}

bool viewer_command(Context& c, const Words& w, QString& error);
bool flightgear_start(Context& c, const Words& w, QString& error);
bool flightgear_play(Context& c, const Words& w, QString& error);
bool replay_command(Context& c, const Words& w, QString& error);

} // namespace scenario
} // namespace host
