#include "host/lcd_panel.h"

#include <QMouseEvent>
#include <QPainter>
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

void LcdPanel::paintEvent(QPaintEvent*)
{
    // A repaint (covered and uncovered) shows the last presented frame again.
    ++repaints_;
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    p.drawImage(0, 0, image_);
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
    wheel_accumulated_ += e->angleDelta().y();
    const int steps = wheel_accumulated_ / 120;
    wheel_accumulated_ -= steps * 120;
    if (steps != 0) emit wheelTurned(steps);
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
