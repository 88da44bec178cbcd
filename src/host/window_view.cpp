// The window around the front panel: menus, status bar, power state shown on
// the lamp and the LCD, View / Zoom, LCD screenshots and the readouts beside
// the sliders.
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QFileDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QSlider>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>

#include "app/power.h"
#include "gfx/framebuffer.h"
#include "host/alarm_sound.h"
#include "host/front_panel.h"
#include "host/lcd_panel.h"
#include "host/main_window.h"
#include "host/nmea_source.h"
#include "host/sensor_readouts.h"

namespace host {

namespace {

constexpr int MAX_ZOOM = 4;
constexpr int STATUS_INTERVAL_MS = 250;
constexpr const char* ZOOM_KEY = "view/zoom";
// The client area beside and below the front panel at 1x (1065 x 496).
constexpr int TABS_GAP = 2;
constexpr int TABS_WIDTH = 513;
constexpr int TABS_HEIGHT = 477;
constexpr int CLIENT_MIN_HEIGHT = 496;
constexpr int BELOW_FRONT = CLIENT_MIN_HEIGHT - FRONT_HEIGHT;

// The client area at a zoom: the front panel and the tabs beside it (1065 x 496 at 1x).
QSize client_size(int zoom)
{
    return {FRONT_WIDTH * zoom + TABS_GAP + TABS_WIDTH, std::max(CLIENT_MIN_HEIGHT, FRONT_HEIGHT * zoom + BELOW_FRONT)};
}

// The largest zoom whose client area fits in room; 1 at least.
int zoom_fitting(QSize room)
{
    int zoom = 1;
    while (zoom < MAX_ZOOM && client_size(zoom + 1).width() <= room.width() &&
           client_size(zoom + 1).height() <= room.height())
        ++zoom;
    return zoom;
}

void warn(QWidget* parent, const QString& message)
{
    auto* box = new QMessageBox(QMessageBox::Warning, "Sorvik", message, QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

} // namespace

void TfrmMain::build_menus()
{
    QMenu* file = menuBar()->addMenu("&File");
    QAction* open_card = file->addAction("Open Card Folder...");
    open_card->setShortcut(QKeySequence("Ctrl+O"));
    connect(open_card, &QAction::triggered, this, [this] { open_card_folder(); });
    connect(file->addAction("Open Flight Data..."), &QAction::triggered, this, [this] {
        const QString path = QFileDialog::getOpenFileName(this, "Open Flight Data", flight_data_folder(),
                                                          "Flight data (*.csv *.CSV);;All files (*)");
        if (!path.isEmpty()) open_flight_data_later(path, [this](const QString& error) { warn(this, error); });
    });
    file->addSeparator();
    connect(file->addAction("Load State..."), &QAction::triggered, this, [this] { load_state_from(); });
    connect(file->addAction("Save State..."), &QAction::triggered, this, [this] { save_state_as(); });
    file->addSeparator();
    connect(file->addAction("Load Sensor Preset..."), &QAction::triggered, this, [this] {
        const QString path = QFileDialog::getOpenFileName(this, "Load Sensor Preset", QString(),
                                                          "Sensor presets (*.preset);;All files (*)");
        QString error;
        if (!path.isEmpty() && !load_sensor_preset(path, error)) warn(this, error);
    });
    connect(file->addAction("Save Sensor Preset..."), &QAction::triggered, this, [this] {
        const QString path = QFileDialog::getSaveFileName(this, "Save Sensor Preset", "sensors.preset",
                                                          "Sensor presets (*.preset);;All files (*)");
        QString error;
        if (!path.isEmpty() && !save_sensor_preset(path, error)) warn(this, error);
    });
    file->addSeparator();
    QAction* save_lcd = file->addAction("Save LCD Screenshot");
    save_lcd->setShortcut(QKeySequence("Ctrl+Shift+S"));
    connect(save_lcd, &QAction::triggered, this, [this] {
        const QString name = "sorvik-lcd-" + QDateTime::currentDateTime().toString("yyyyMMdd-hhmmss") + ".png";
        const QString path = QFileDialog::getSaveFileName(this, "Save LCD Screenshot", name, "PNG pictures (*.png)");
        if (!path.isEmpty() && !save_lcd_screenshot(path)) warn(this, "Cannot write " + path);
    });
    QAction* copy_lcd = file->addAction("Copy LCD to Clipboard");
    copy_lcd->setShortcut(QKeySequence("Ctrl+Shift+C"));
    connect(copy_lcd, &QAction::triggered, this, [this] { copy_lcd_to_clipboard(); });
    file->addSeparator();
    QAction* exit = file->addAction("&Exit");
    exit->setShortcut(QKeySequence("Ctrl+Q")); // the platform's Quit key may be none
    connect(exit, &QAction::triggered, this, [this] { Exit1Click(); });

    QMenu* view = menuBar()->addMenu("&View");
    QMenu* zoom = view->addMenu("&Zoom");
    auto* group = new QActionGroup(this);
    for (int z = 1; z <= MAX_ZOOM; ++z) {
        QAction* a = zoom->addAction(QString("%1x").arg(z));
        a->setCheckable(true);
        a->setData(z);
        a->setShortcut(QKeySequence(QString("Ctrl+%1").arg(z)));
        group->addAction(a);
        connect(a, &QAction::triggered, this, [this, z] { set_zoom(z); });
    }
    zoom->setObjectName("ZoomMenu");
    QAction* mute = view->addAction("Mute Alarm");
    mute->setObjectName("MuteAlarm");
    mute->setCheckable(true);
    mute->setChecked(alarm_sound_->muted());
    connect(mute, &QAction::toggled, this, [this](bool on) { alarm_sound_->set_muted(on); });
    QAction* resume = view->addAction("Resume Where I Left Off");
    resume->setCheckable(true);
    resume->setChecked(resume_enabled());
    connect(resume, &QAction::toggled, this, [](bool on) { set_resume_enabled(on); });
    build_help_menu();
}

void TfrmMain::build_status_bar()
{
    for (QLabel*& label : status_) {
        label = new QLabel;
        statusBar()->addWidget(label, 1);
    }
    status_timer_ = new QTimer(this);
    status_timer_->setInterval(STATUS_INTERVAL_MS);
    connect(status_timer_, &QTimer::timeout, this, [this] {
        update_power_state();
        update_status();
        refresh_readouts();
    });
    status_timer_->start();
    connect(sources_.get(), &NmeaSourceSelector::changed, this, [this] { update_status(); });
    pass_clock_.start();
    update_power_state();
    update_status();
    refresh_readouts();
}

void TfrmMain::update_power_state()
{
    const bool on = ems::firmware_running();
    power_lamp_->set_on(on);
    status_[0]->setText(QString("Power: %1").arg(!on ? "off" : ems::in_power_on_phase() ? "starting" : "on"));
    if (on != powered_shown_) {
        powered_shown_ = on;
        // Off, the unit's display goes dark; on again, the next present shows the frame.
        panel1_->set_dark(!on);
        refresh_readouts();
    }
}

void TfrmMain::update_status()
{
    const qint64 ms = pass_clock_.restart();
    const long long passes = passes_ - passes_shown_;
    passes_shown_ = passes_;
    // Under a script, passes follow the script, not the clock.
    if (virtual_time_) status_[1]->setText("Scripted passes");
    else if (ms > 0) status_[1]->setText(QString("%1 passes/s").arg(qRound(passes * 1000.0 / ms)));
    const NmeaSource* source = sources_->busy() ? sources_->busy() : sources_->source(sources_->chosen());
    status_[2]->setText(QString("GPS: %1 - %2").arg(source->title(), source->status()));
}

void TfrmMain::refresh_readouts()
{
    const bool on = ems::firmware_running();
    for (auto it = readouts_.constBegin(); it != readouts_.constEnd(); ++it) {
        // The unit converts while it runs; off, there is nothing it has computed.
        it.value()->setText(on ? sensor_readout(it.key()) : QString::fromUtf8("\u2013"));
    }
}

void TfrmMain::type_slider_value(const QString& key)
{
    QSlider* s = slider(key);
    if (!s) return;
    bool ok = false;
    const int v = QInputDialog::getInt(this, s->property("caption").toString(),
                                       QString("Position (%1..%2):").arg(s->minimum()).arg(s->maximum()),
                                       s->value(), s->minimum(), s->maximum(), 1, &ok);
    if (ok) s->setValue(v);
}

// The front panel's children at a whole zoom: the picture and the LCD
// scaled nearest-neighbour, the buttons' text with them.
void TfrmMain::layout_front(int factor)
{
    for (auto it = front_geometry_.constBegin(); it != front_geometry_.constEnd(); ++it) {
        QWidget* w = it.key();
        const QRect r = it.value();
        if (w == panel1_) panel1_->set_scale(factor);
        w->setGeometry(r.x() * factor, r.y() * factor, r.width() * factor, r.height() * factor);
        if (auto* picture = qobject_cast<QLabel*>(w))
            picture->setPixmap(draw_front_panel().scaled(r.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation));
        if (auto* b = qobject_cast<QPushButton*>(w)) {
            if (!b->property("base_point_size").isValid()) b->setProperty("base_point_size", b->font().pointSizeF());
            QFont f = b->font();
            f.setPointSizeF(b->property("base_point_size").toDouble() * factor);
            b->setFont(f);
        }
    }
    front_->setFixedSize(FRONT_WIDTH * factor, FRONT_HEIGHT * factor);
}

int TfrmMain::max_zoom() const
{
    const QScreen* shown_on = screen();
    if (!shown_on) return MAX_ZOOM;
    // What the window adds around its client area: frame, menu and status bar.
    const QSize chrome = frameGeometry().size() - centralWidget()->size();
    return zoom_fitting(shown_on->availableGeometry().size() - chrome);
}

void TfrmMain::set_zoom(int factor)
{
    zoom_ = std::clamp(factor, 1, max_zoom());
    layout_front(zoom_);
    // The window takes the size of the zoom, which the client area then fits.
    centralWidget()->setMinimumSize(client_size(zoom_));
    layout()->invalidate();
    layout()->activate();
    resize(sizeHint());
    centralWidget()->setMinimumSize(client_size(1));
    fit_client(client_size(zoom_));
    QSettings().setValue(ZOOM_KEY, zoom_);
}

// The client area resized (by the user, or by set_zoom): the largest whole
// zoom that fits, the tabs in the rest.
void TfrmMain::fit_client(QSize client)
{
    const int fit = std::min(zoom_fitting(client), max_zoom());
    if (fit != zoom_ || front_->width() != FRONT_WIDTH * fit) {
        zoom_ = fit;
        layout_front(zoom_);
        QSettings().setValue(ZOOM_KEY, zoom_);
    }
    const int tabs_x = front_->width() + TABS_GAP;
    page_control1_->setGeometry(tabs_x, 0, std::max(TABS_WIDTH, client.width() - tabs_x),
                                std::max(TABS_HEIGHT, client.height()));
    // Zooms that would make the window larger than the screen are not offered.
    const int largest = max_zoom();
    if (QMenu* zoom_menu = menuBar()->findChild<QMenu*>("ZoomMenu"))
        for (QAction* a : zoom_menu->actions()) {
            a->setChecked(a->data().toInt() == zoom_);
            a->setEnabled(a->data().toInt() <= largest);
        }
    show_card(); // its room follows the window's width
}

void TfrmMain::restore_zoom() { set_zoom(QSettings().value(ZOOM_KEY, 1).toInt()); }

QImage TfrmMain::lcd_screenshot() const
{
    QImage shot = panel1_->image().copy();
    if (panel1_->dark()) shot.fill(Qt::black);
    if (zoom_ == 1) return shot;
    return shot.scaled(shot.size() * zoom_, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

bool TfrmMain::save_lcd_screenshot(const QString& path) const { return lcd_screenshot().save(path, "PNG"); }

void TfrmMain::copy_lcd_to_clipboard() const { QGuiApplication::clipboard()->setImage(lcd_screenshot()); }

} // namespace host
