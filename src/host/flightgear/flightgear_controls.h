// FlightGearControls: the FlightGear link on the window: its port and counts
// on the GPS tab, the player of recorded streams, and the sensor sliders the
// link moves. While the link feeds them the sliders follow it and are
// locked; when it stops they are the user's again, where the link left them.
#pragma once
#include <QObject>
#include <QStringList>
#include <vector>

#include "host/flightgear/core/flightgear_drive.h"

class QGridLayout;
class QLineEdit;

namespace host {

class ControlPanel;
class FlightGearLink;
class FlightGearPlayer;
struct FlightGearSample;

// The EMS tab's slider of a driven raw input ("EMS/TC3", "EMS/RPM:" ...).
QString driven_slider_key(const DrivenInput& d);
// Moves the sliders of the inputs and locks them; those in driven that are
// no longer among them are unlocked. driven becomes the keys now driven.
// (The FlightGear link and the built-in engine drive alike.)
void drive_sliders(const ControlPanel& controls, const std::vector<DrivenInput>& inputs, QStringList& driven);
// Unlocks the sliders in driven and empties it.
void release_sliders(const ControlPanel& controls, QStringList& driven);

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
