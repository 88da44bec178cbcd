// FlightGearControls: the FlightGear link on the window: its port and counts
// on the GPS tab, the player of recorded streams, and the sensor sliders the
// link moves. While the link feeds them the sliders follow it and are
// locked; when it stops they are the user's again, where the link left them.
#pragma once
#include <QObject>
#include <QStringList>
#include <vector>

class QGridLayout;
class QLineEdit;

namespace host {

class ControlPanel;
class FlightGearLink;
class FlightGearPlayer;
struct DrivenInput;
struct FlightGearSample;

// Moves the EMS tab's sliders of the driven inputs and locks them; a slider
// in driven before and not among inputs now is the user's again. driven
// holds the keys locked. Whatever drives the raw inputs (the link, a replay)
// locks and releases through these two.
void drive_sliders(ControlPanel& controls, const std::vector<DrivenInput>& inputs, QStringList& driven);
// Gives every slider in driven back to the user.
void release_sliders(ControlPanel& controls, QStringList& driven);

class FlightGearControls : public QObject {
    Q_OBJECT
public:
    FlightGearControls(FlightGearLink* link, ControlPanel& controls, QObject* parent = nullptr);

    // Its port and counts in grid at row; returns the port's line edit.
    QLineEdit* build(QGridLayout* grid, int row);
    FlightGearPlayer* player() const { return player_; }

    // Every 100 ms tick: the player sends, the link paces its fixes.
    void tick();
    // After every pass: the link offers its newest fix.
    void passed();

private:
    void apply(const FlightGearSample& sample); // moves the sliders it drives, and locks them
    void release_sliders();                     // gives them back

    FlightGearLink* link_;
    ControlPanel& controls_;
    FlightGearPlayer* player_ = nullptr;
    QStringList driven_; // slider keys the link moves and has locked
};

} // namespace host
