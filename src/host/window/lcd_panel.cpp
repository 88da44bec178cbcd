#include "host/window/lcd_panel.h"

#include <QMouseEvent>
#include <QPainter>
#include <QRadialGradient>
#include <algorithm>
#include <QWheelEvent>
#include <cstring>

#include "gfx/framebuffer.h"
#include "gfx/palette.h"

namespace host {

LcdPanel::LcdPanel(QWidget* parent)
    : QWidget(parent), image_(ems::LCD_WIDTH, ems::LCD_HEIGHT, QImage::Format_RGB32)
{
    image_.fill(Qt::black);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(ems::LCD_WIDTH, ems::LCD_HEIGHT + 1);
}

void LcdPanel::present()
{
    // Most passes draw exactly the frame already shown: a compare is far
    // cheaper than converting and repainting it again.
    if (!shown_.empty() && std::memcmp(shown_.data(), ems::Framebuffer, ems::FRAME_BYTES) == 0) return;
    shown_.assign(ems::Framebuffer, ems::Framebuffer + ems::FRAME_BYTES);
    ems::palette_to_rgb(shown_.data(), reinterpret_cast<uint32_t*>(image_.bits()));
    ++conversions_;
    update();
}

void LcdPanel::set_dark(bool dark)
{
    if (dark == dark_) return;
    dark_ = dark;
    update();
}

void LcdPanel::set_scale(int scale)
{
    scale_ = std::max(1, scale);
    setFixedSize(ems::LCD_WIDTH * scale_, (ems::LCD_HEIGHT + 1) * scale_);
    update();
}

void LcdPanel::paintEvent(QPaintEvent*)
{
    // A repaint (covered and uncovered) shows the last presented frame again.
    ++repaints_;
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    if (dark_) return;
    // Without smoothing, a scaled image is drawn nearest-neighbour: crisp
    // pixels. Each panel pixel takes the same whole number of the screen's
    // pixels, also where the desktop scales by 1.5 (a zoom of 1 is then one
    // screen pixel each, with a dark rim), so no pixel comes out wider than
    // its neighbour.
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const qreal ratio = devicePixelRatioF();
    const int screen_pixels = std::max(1, int(scale_ * ratio + 1e-6));
    p.scale(1 / ratio, 1 / ratio);
    p.drawImage(QRect(0, 0, ems::LCD_WIDTH * screen_pixels, ems::LCD_HEIGHT * screen_pixels), image_);
}

PowerLamp::PowerLamp(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setToolTip("Power");
}

void PowerLamp::set_on(bool on)
{
    if (on == on_) return;
    on_ = on;
    setToolTip(on ? "Power: on" : "Power: off");
    update();
}

void PowerLamp::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(1, 1, -1, -1);
    p.setPen(QPen(QColor(10, 10, 12), 1));
    p.setBrush(QColor(10, 10, 12));
    p.drawEllipse(r);
    QRadialGradient glow(r.center() - QPointF(r.width() / 6, r.height() / 6), r.width() / 2);
    glow.setColorAt(0, on_ ? QColor(170, 255, 150) : QColor(70, 80, 70));
    glow.setColorAt(1, on_ ? QColor(30, 190, 40) : QColor(25, 32, 26));
    p.setBrush(glow);
    p.drawEllipse(r.adjusted(1.5, 1.5, -1.5, -1.5));
}

KeyArea::KeyArea(int code, bool round, QWidget* parent) : QWidget(parent), code_(code), round_(round)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setCursor(Qt::PointingHandCursor);
}

void KeyArea::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton) return;
    down_ = true;
    update();
    emit pressed(code_);
}

void KeyArea::mouseReleaseEvent(QMouseEvent*)
{
    down_ = false;
    update();
}

void KeyArea::wheelEvent(QWheelEvent* e)
{
    // Only the knob turns; over a soft key the wheel does nothing.
    if (!round_) {
        e->ignore();
        return;
    }
    wheel_accumulated_ += e->angleDelta().y();
    const int steps = wheel_accumulated_ / 120;
    wheel_accumulated_ -= steps * 120;
    if (steps != 0) emit wheel_turned(steps);
    e->accept();
}

void KeyArea::paintEvent(QPaintEvent*)
{
    if (!down_) return;
    // The key goes down a little while held.
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 90));
    if (round_)
        p.drawEllipse(rect().adjusted(4, 4, -4, -4));
    else
        p.drawRoundedRect(rect().adjusted(1, 1, -1, -1), 4, 4);
}

} // namespace host
