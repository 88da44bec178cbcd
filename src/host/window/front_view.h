// FrontView: the instrument's front (Image1) as the window shows it: the
// picture, the LCD (Panel1), the click areas of the keys and the knob, the
// power lamp and the buttons around them, laid out at View / Zoom 1x..4x
// pixel for pixel. Keys typed while it has the focus press the unit's keys.
#pragma once
#include <QHash>
#include <QImage>
#include <QRect>
#include <QWidget>
#include <array>

class QPushButton;

namespace host {

class ControlPanel;
class KeyArea;
class LcdPanel;
class PowerLamp;

constexpr int MAX_ZOOM = 4;

class FrontView : public QWidget {
    Q_OBJECT
public:
    // Its buttons ("+", "-", "&On", "O&ff", also "&Off") go into the
    // controls' table, for scripts and callers.
    FrontView(ControlPanel& controls, QWidget* parent);

    LcdPanel* lcd() const { return panel1_; }
    PowerLamp* power_lamp() const { return power_lamp_; }
    KeyArea* key_area(int code) const; // 1..6

    int zoom() const { return zoom_; }
    void set_zoom(int factor); // 1..MAX_ZOOM: every child at its 1x geometry times the factor

    // The LCD as shown (black while the unit is off), at the zoom.
    QImage lcd_screenshot() const;
    bool save_lcd_screenshot(const QString& path) const;
    void copy_lcd_to_clipboard() const;

signals:
    void on_clicked();
    void off_clicked();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void press_key(int code);
    void wheel_knob(int steps);

    LcdPanel* panel1_ = nullptr;
    PowerLamp* power_lamp_ = nullptr;
    std::array<KeyArea*, 6> keys_{};
    QHash<QWidget*, QRect> geometry_; // the children at 1x
    int zoom_ = 1;
};

} // namespace host
