#include "host/window/front_view.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <cstdlib>

#include "host/inputs/control_panel.h"
#include "host/window/front_panel.h"
#include "host/window/key_map.h"
#include "host/window/lcd_panel.h"
#include "ui/screen.h"

namespace host {

FrontView::FrontView(ControlPanel& controls, QWidget* parent) : QWidget(parent)
{
    setObjectName("Image1");
    setGeometry(0, 0, FRONT_WIDTH, FRONT_HEIGHT);
    setFocusPolicy(Qt::StrongFocus);
    auto* picture = new QLabel(this);
    picture->setGeometry(0, 0, FRONT_WIDTH, FRONT_HEIGHT);
    picture->setPixmap(draw_front_panel());
    picture->setScaledContents(true);

    panel1_ = new LcdPanel(this);
    panel1_->setObjectName("Panel1");
    panel1_->move(LCD_RECT.topLeft());

    const char* names[5] = {"Image2", "Image3", "Image4", "Image5", "Image7"};
    for (int i = 0; i < 5; ++i) {
        auto* k = new KeyArea(i + 1, false, this);
        k->setObjectName(names[i]);
        k->setGeometry(soft_key_rect(i));
        k->setToolTip(QString("Soft key %1 (%2)").arg(i + 1).arg(keyboard_keys_of(uint8_t(i + 1))));
        keys_[i] = k;
    }
    auto* knob = new KeyArea(6, true, this);
    knob->setObjectName("Image8");
    knob->setGeometry(KNOB_RECT);
    knob->setToolTip(QString("Knob: click to push (%1); the wheel turns it, down clockwise (%2), up "
                             "anticlockwise (%3)")
                         .arg(keyboard_keys_of(ems::KEY_PUSH), keyboard_keys_of(ems::KEY_CW),
                              keyboard_keys_of(ems::KEY_CCW)));
    keys_[5] = knob;
    for (KeyArea* k : keys_) {
        connect(k, &KeyArea::pressed, this, [this](int code) {
            setFocus();
            press_key(code);
        });
        connect(k, &KeyArea::wheel_turned, this, [this](int steps) { wheel_knob(steps); });
    }

    auto make_button = [&](const QString& caption, const QString& name, QRect geometry, bool bold) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setGeometry(geometry);
        b->setFocusPolicy(Qt::NoFocus);
        if (bold) {
            QFont f = b->font();
            f.setBold(true);
            b->setFont(f);
        }
        controls.add_button(caption, b);
        return b;
    };
    auto* plus = make_button("+", "Button3", QRect(456, 448, 33, 22), true);
    auto* minus = make_button("-", "Button4", QRect(496, 448, 33, 22), true);
    connect(plus, &QPushButton::clicked, this, [this] { press_key(ems::KEY_CW); });
    connect(minus, &QPushButton::clicked, this, [this] { press_key(ems::KEY_CCW); });
    auto* on = make_button("&On", "Button1", QRect(344, 16, 75, 25), false);
    // Alt+F for "Off": Alt+O is "On".
    auto* off = make_button("O&ff", "Button2", QRect(440, 16, 75, 25), false);
    controls.add_button("&Off", off); // the name scripts and callers have used
    power_lamp_ = new PowerLamp(this);
    power_lamp_->setObjectName("PowerLamp");
    power_lamp_->setGeometry(322, 21, 15, 15);
    for (QObject* child : children())
        if (auto* w = qobject_cast<QWidget*>(child)) geometry_.insert(w, w->geometry());
    connect(on, &QPushButton::clicked, this, &FrontView::on_clicked);
    connect(off, &QPushButton::clicked, this, &FrontView::off_clicked);
}

KeyArea* FrontView::key_area(int code) const
{
    return code >= 1 && code <= 6 ? keys_[code - 1] : nullptr;
}

void FrontView::press_key(int code) { ems::key_press(uint8_t(code)); }

void FrontView::wheel_knob(int steps)
{
    // The wheel turned towards the user (down) turns the knob clockwise, down
    // a list, as desktop lists scroll. One key is pending at most, as on the
    // unit, so a fast spin loses detents.
    for (int i = 0; i < std::abs(steps); ++i) press_key(steps < 0 ? ems::KEY_CW : ems::KEY_CCW);
}

void FrontView::keyPressEvent(QKeyEvent* event)
{
    for (const KeyboardKey& k : KEYBOARD_KEYS)
        if (!k.anywhere && k.key == event->key()) {
            press_key(k.code);
            return;
        }
    QWidget::keyPressEvent(event);
}

void FrontView::mousePressEvent(QMouseEvent* event)
{
    setFocus();
    QWidget::mousePressEvent(event);
}

void FrontView::set_zoom(int factor)
{
    zoom_ = std::clamp(factor, 1, MAX_ZOOM);
    for (auto it = geometry_.constBegin(); it != geometry_.constEnd(); ++it) {
        QWidget* w = it.key();
        const QRect r = it.value();
        if (w == panel1_) panel1_->set_scale(zoom_);
        w->setGeometry(r.x() * zoom_, r.y() * zoom_, r.width() * zoom_, r.height() * zoom_);
        if (auto* picture = qobject_cast<QLabel*>(w))
            picture->setPixmap(draw_front_panel().scaled(r.size() * zoom_, Qt::IgnoreAspectRatio, Qt::FastTransformation));
        if (auto* b = qobject_cast<QPushButton*>(w)) {
            if (!b->property("base_point_size").isValid()) b->setProperty("base_point_size", b->font().pointSizeF());
            QFont f = b->font();
            f.setPointSizeF(b->property("base_point_size").toDouble() * zoom_);
            b->setFont(f);
        }
    }
    setFixedSize(FRONT_WIDTH * zoom_, FRONT_HEIGHT * zoom_);
}

QImage FrontView::lcd_screenshot() const
{
    QImage shot = panel1_->image().copy();
    if (panel1_->dark()) shot.fill(Qt::black);
    if (zoom_ == 1) return shot;
    return shot.scaled(shot.size() * zoom_, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

bool FrontView::save_lcd_screenshot(const QString& path) const { return lcd_screenshot().save(path, "PNG"); }

void FrontView::copy_lcd_to_clipboard() const { QGuiApplication::clipboard()->setImage(lcd_screenshot()); }

} // namespace host
