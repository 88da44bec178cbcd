#include "host/window/window_platform.h"

#include <QCheckBox>
#include <QLabel>
#include <QMessageBox>
#include <QSlider>
#include <QTimeZone>
#include <ctime>

#include "host/gps/serial_link.h"
#include "host/window/lcd_panel.h"

namespace host {

WindowPlatform::WindowPlatform(std::filesystem::path working_dir, QWidget* window)
    : card_(std::move(working_dir)), window_(window)
{
}

void WindowPlatform::install()
{
    ems::set_platform({.clock = this, .card = &card_, .panel = this, .serial_echo = this, .inputs = this});
}

void WindowPlatform::wire_slider(ems::PowerOnSlider s, QSlider* slider, QLabel* value_label)
{
    sliders_[size_t(s)] = {slider, value_label};
}

void WindowPlatform::set_clock(const QDateTime& t)
{
    clock_set_ = true;
    // As UTC: a scenario's clock runs the same in every time zone, through
    // any change to or from summer time.
    clock_base_ = QDateTime(t.date(), t.time(), QTimeZone::utc());
    clock_ticks_ = 0;
}

void WindowPlatform::hold_presents()
{
    hold_presents_ = true;
    held_frame_ = false;
}

void WindowPlatform::release_presents()
{
    hold_presents_ = false;
    if (held_frame_) present();
}

ems::UtcTime WindowPlatform::utc_time()
{
    ems::UtcTime out;
    if (clock_set_) {
        const QDateTime t = clock_base_.addMSecs(clock_ticks_ * 100);
        out.second = t.time().second();
        out.minute = t.time().minute();
        out.hour = t.time().hour();
        out.day = t.date().day();
        out.month = t.date().month() - 1;
        out.year = t.date().year() - 1900;
        return out;
    }
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    gmtime_r(&now, &tm);
    out.second = tm.tm_sec;
    out.minute = tm.tm_min;
    out.hour = tm.tm_hour;
    out.day = tm.tm_mday;
    out.month = tm.tm_mon;
    out.year = tm.tm_year;
    return out;
}

void WindowPlatform::present()
{
    if (hold_presents_) {
        held_frame_ = true;
        return;
    }
    ++presented_frames_;
    if (lcd) lcd->present();
}

void WindowPlatform::message_box(const char* text)
{
    auto* box = new QMessageBox(QMessageBox::Warning, "Sorvik", QString::fromLatin1(text), QMessageBox::Ok, window_);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void WindowPlatform::echo(const char* line)
{
    if (echo_sink) echo_sink->post(line);
}

bool WindowPlatform::check_box(ems::CheckBox box)
{
    if (box == ems::CheckBox::SdCardMounted && card_out) return false;
    QCheckBox* c = boxes[size_t(box)];
    return c && c->isChecked();
}

int WindowPlatform::slider_position(ems::PowerOnSlider s)
{
    QSlider* slider = sliders_[size_t(s)].slider;
    return slider ? slider->value() : 0;
}

void WindowPlatform::show_slider_value(ems::PowerOnSlider s)
{
    const SliderControls& c = sliders_[size_t(s)];
    if (c.slider && c.value_label) c.value_label->setNum(c.slider->value());
}

} // namespace host
