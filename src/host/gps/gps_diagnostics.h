// GpsDiagnostics: the GPS tab's " Diagnostics " box: what the firmware's
// receive handler made of the feed (the NmeaWatch counters with the last
// reason, refreshed four times a second), the "Adapt modern receivers"
// option, and a hint when the receiver needs it.
#pragma once
#include <QGroupBox>

namespace host {

class ControlPanel;

class GpsDiagnostics : public QGroupBox {
    Q_OBJECT
public:
    // Its "Reset" button and the option go into the controls' table.
    explicit GpsDiagnostics(ControlPanel& controls, QWidget* parent = nullptr);
};

} // namespace host
