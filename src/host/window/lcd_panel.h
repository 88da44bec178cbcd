// Panel1: the LCD. Shows the last presented frame one panel pixel per
// frame-buffer pixel at its top-left corner; the spare row stays black.
#pragma once
#include <QImage>
#include <QWidget>
#include <cstdint>
#include <vector>

namespace host {

class LcdPanel : public QWidget {
    Q_OBJECT
public:
    explicit LcdPanel(QWidget* parent = nullptr);

    // Converts the frame buffer through the palette into the shown image and
    // repaints; a frame equal to the one shown is neither converted nor repainted.
    void present();
    const QImage& image() const { return image_; }
    // Dark while the unit is off: the panel shows black, the last frame is kept.
    void set_dark(bool dark);
    bool dark() const { return dark_; }
    // Each frame-buffer pixel as a square of scale x scale panel pixels.
    void set_scale(int scale);
    int scale() const { return scale_; }
    int conversions() const { return conversions_; }
    int repaints() const { return repaints_; }

signals:
    void wheel_turned(int steps); // positive away from the user

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QImage image_;
    bool dark_ = false;
    int scale_ = 1;
    std::vector<uint8_t> shown_; // the frame-buffer bytes image_ was made from; empty before the first
    int conversions_ = 0;
    int repaints_ = 0;
};

// The power lamp on the front panel: lit while the firmware runs.
class PowerLamp : public QWidget {
    Q_OBJECT
public:
    explicit PowerLamp(QWidget* parent = nullptr);
    void set_on(bool on);
    bool is_on() const { return on_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    bool on_ = false;
};

// A transparent click area over a key of the front-panel picture.
class KeyArea : public QWidget {
    Q_OBJECT
public:
    KeyArea(int code, bool round, QWidget* parent);
    int code() const { return code_; }

signals:
    void pressed(int code);
    void wheel_turned(int steps);

protected:
    void mousePressEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void wheelEvent(QWheelEvent*) override;
    void paintEvent(QPaintEvent*) override;

private:
    int code_;
    bool round_;
    bool down_ = false;
    int wheel_accumulated_ = 0;
};

} // namespace host
