// Panel1: the LCD. Shows the last presented frame one panel pixel per
// frame-buffer pixel at its top-left corner; the spare row stays black.
#pragma once
#include <QImage>
#include <QWidget>

namespace host {

class LcdPanel : public QWidget {
    Q_OBJECT
public:
    explicit LcdPanel(QWidget* parent = nullptr);

    // Converts the frame buffer through the palette into the shown image.
    void present();
    const QImage& image() const { return image_; }

signals:
    void wheelTurned(int steps); // positive away from the user

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QImage image_;
};

// A transparent click area over a key of the front-panel picture.
class KeyArea : public QWidget {
    Q_OBJECT
public:
    KeyArea(int code, bool round, QWidget* parent);
    int code() const { return code_; }

signals:
    void pressed(int code);
    void wheelTurned(int steps);

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
