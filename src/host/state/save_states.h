// SaveStates: the window's save states. One file holds the unit's settings,
// calibration, counters, flight log and page with every input of the
// control panel's tabs. Loading checks the whole file first; a file that
// cannot be used changes nothing and leaves a message. Loaded while the unit
// is off, the unit's part goes in at the next power-on, which follows at
// once when the state was saved running.
#pragma once
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace host {

class TfrmMain;
struct SaveState;

class SaveStates : public QObject {
    Q_OBJECT
public:
    explicit SaveStates(TfrmMain& window);

    bool save(const QString& path, QString& error) const;
    bool load(const QString& path, QString& error);
    void apply_pending(); // after power-on

    // View / "Resume Where I Left Off" (remembered): the state is kept when
    // the window closes and loaded at the next start.
    static bool resume_enabled();
    static void set_resume_enabled(bool on);
    void keep_for_resume() const;
    bool resume(QString& error); // false when there is nothing to resume or it cannot be loaded

    void save_as();   // File / "Save State..."
    void load_from(); // File / "Load State..."

private:
    std::vector<std::pair<std::string, std::string>> inputs_state() const;
    bool plan_inputs(const SaveState& state, std::vector<std::function<void()>>& moves, QString& error);

    TfrmMain& window_;
    std::shared_ptr<SaveState> pending_state_; // loaded while off, for the next power-on
};

} // namespace host
