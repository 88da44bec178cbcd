// The tab control PageControl1 with the simulated inputs: each slider writes
// one firmware input when it moves, each check box is read by the main loop.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QStackedWidget>
#include <QTabWidget>
#include <QVBoxLayout>

#include "host/flightgear_link.h"
#include "host/main_window.h"
#include "host/nmea_source.h"
#include "host/nmea_sources.h"
#include "host/sensor_readouts.h"
#include "host/serial_port.h"
#include "sensors/ecu_data.h"
#include "settings/settings.h"
#include "system/raw_inputs.h"

namespace host {

namespace {

constexpr int TABS_WIDTH = 513;
constexpr int TABS_HEIGHT = 477;
constexpr int MEMO_MAX_LINES = 5000;

QGridLayout* group_grid(QGroupBox* box)
{
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(6, 2, 6, 4);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(1);
    grid->setColumnStretch(1, 1);
    return grid;
}

} // namespace

void TfrmMain::build_tabs(QWidget* central)
{
    page_control1_ = new QTabWidget(central);
    page_control1_->setObjectName("PageControl1");
    page_control1_->setGeometry(1065 - TABS_WIDTH, 0, TABS_WIDTH, TABS_HEIGHT);
    page_control1_->addTab(build_ems_tab(), "EMS");
    page_control1_->addTab(build_gps_tab(), "GPS (NMEA Protocol)");
    page_control1_->addTab(build_selection_tab(), "Selection");
    page_control1_->addTab(build_ul_power_tab(), "UL Power");
}

QSlider* TfrmMain::add_slider(QGridLayout* grid, int row, const QString& tab, const QString& caption,
                              int min, int max, int start, std::function<void(int)> on_change,
                              bool value_label)
{
    auto* caption_label = new QLabel(caption);
    auto* s = new QSlider(Qt::Horizontal);
    s->setRange(min, max);
    s->setValue(start);
    s->setSingleStep(1);
    s->setPageStep(std::max(1, (max - min) / 20));
    s->setMinimumWidth(50);
    s->setProperty("caption", caption);
    s->setAccessibleName(caption);
    grid->addWidget(caption_label, row, 0);
    grid->addWidget(s, row, 1);
    const QString key = tab + "/" + caption;
    sliders_.insert(key, s);
    control_order_.append(key);
    s->setToolTip("Arrow keys step by 1, Page Up/Down by a twentieth; double-click the number to type a position");
    QLabel* value = nullptr;
    if (value_label) {
        // The raw count; the readout beside it shows what the unit makes of it.
        value = new QLabel(QString::number(start));
        value->setMinimumWidth(34);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setToolTip("Raw count; double-click to type one");
        value->setProperty("slider_key", key);
        value->installEventFilter(this);
        grid->addWidget(value, row, 2);
        slider_labels_.insert(key, value);
        if (!sensor_readout(key).isNull()) {
            QFont small = value->font();
            small.setPointSizeF(small.pointSizeF() * 0.85);
            value->setFont(small);
            value->setStyleSheet("color: gray");
            auto* readout = new QLabel;
            readout->setMinimumWidth(54);
            readout->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            readout->setToolTip("What the unit reads, in the units of its settings");
            readout->setProperty("slider_key", key);
            readout->installEventFilter(this);
            grid->addWidget(readout, row, 3);
            readouts_.insert(key, readout);
        }
    }
    if (on_change) {
        connect(s, &QSlider::valueChanged, this, [value, on_change](int v) {
            on_change(v);
            if (value) value->setNum(v);
        });
        // A sensor input (one with a raw count beside it) is read from the
        // start where its slider shows it; the Selection tab's switches
        // write settings, which power-on sets.
        if (value_label) on_change(start);
    }
    return s;
}

QCheckBox* TfrmMain::add_check(QWidget* parent, const QString& tab, const QString& caption, bool checked)
{
    auto* c = new QCheckBox(caption, parent);
    c->setChecked(checked);
    control_order_.append(tab + "/" + caption);
    checks_.insert(tab + "/" + caption, c);
    return c;
}

QWidget* TfrmMain::build_ems_tab()
{
    using ems::raw;
    const QString tab = "EMS";
    auto* page = new QWidget;
    auto* columns = new QHBoxLayout(page);
    columns->setContentsMargins(4, 4, 4, 4);
    columns->setSpacing(6);
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    left->setSpacing(4);
    right->setSpacing(4);
    // The right column's captions are longer.
    columns->addLayout(left, 9);
    columns->addLayout(right, 11);

    auto* tcs = new QGroupBox(" Thermocouples ");
    auto* g = group_grid(tcs);
    for (int i = 0; i < 12; ++i)
        add_slider(g, i, tab, QString("TC%1").arg(i + 1), -200, 1200, 0,
                   [i](int v) { raw.tc_input[i] = int16_t(v); });
    add_slider(g, 12, tab, "CJC:", 0, 4096, 2240, [](int v) { raw.raw_cjc = uint16_t(v); });
    left->addWidget(tcs);

    auto* switches = new QGroupBox(" Switches ");
    auto* sw = new QVBoxLayout(switches);
    sw->setContentsMargins(6, 2, 6, 4);
    auto* vexa = add_check(switches, tab, "VEXA On/Off", false);
    auto* sd = add_check(switches, tab, "SD Card Mounted", true);
    sw->addWidget(vexa);
    sw->addWidget(sd);
    platform_.boxes[size_t(ems::CheckBox::VexaOnOff)] = vexa;
    platform_.boxes[size_t(ems::CheckBox::SdCardMounted)] = sd;
    left->addWidget(switches);
    auto* presets = new QGroupBox(" Preset ");
    build_preset_chooser(group_grid(presets), 0);
    left->addWidget(presets);
    left->addStretch(1);

    auto* fuel = new QGroupBox(" Fuel ");
    g = group_grid(fuel);
    add_slider(g, 0, tab, "Fuel Flow1:", 0, 65535, 0, [](int v) { raw.flow_pulses[0] = uint16_t(v); });
    add_slider(g, 1, tab, "Fuel Flow2:", 0, 65535, 0, [](int v) { raw.flow_pulses[1] = uint16_t(v); });
    add_slider(g, 2, tab, "Fuel Level1:", 0, 4096, 0, [](int v) { raw.raw_fuel_level[0] = uint16_t(v); });
    add_slider(g, 3, tab, "Fuel Level2:", 0, 4096, 0, [](int v) { raw.raw_fuel_level[1] = uint16_t(v); });
    add_slider(g, 4, tab, "Fuel Pressure:", 0, 4096, 0, [](int v) { raw.raw_fuel_pressure = uint16_t(v); });
    right->addWidget(fuel);

    auto* analog = new QGroupBox(" Analog Inputs ");
    g = group_grid(analog);
    for (int i = 0; i < 4; ++i)
        add_slider(g, i, tab, QString("Input %1:").arg(i + 1), 0, 4096, 0,
                   [i](int v) { raw.raw_aux[i] = uint16_t(v); });
    right->addWidget(analog);

    auto* power = new QGroupBox(" Power ");
    g = group_grid(power);
    add_slider(g, 0, tab, "Volts:", 0, 4096, 0, [](int v) { raw.raw_volts = uint16_t(v); });
    add_slider(g, 1, tab, "Current:", 0, 4096, 0, [](int v) { raw.raw_current = uint16_t(v); });
    right->addWidget(power);

    auto* misc = new QGroupBox(" Miscellaneous ");
    g = group_grid(misc);
    add_slider(g, 0, tab, "MAP:", 0, 4096, 0, [](int v) { raw.raw_map = uint16_t(v); });
    add_slider(g, 1, tab, "OAT:", 0, 4096, 0, [](int v) { raw.raw_oat = uint16_t(v); });
    add_slider(g, 2, tab, "RPM:", 1, 31000, 31000, [](int v) { raw.rpm_period = uint16_t(v); });
    add_slider(g, 3, tab, "Rotor:", 1, 99999, 1, [](int v) {
        raw.rpm2 = v;
        // The settings keep the full scale at 100..99000; a recalled zero must not divide.
        const uint32_t full_scale = ems::settings.rpm2_full_scale;
        raw.rpm2_percent = full_scale ? int32_t(int64_t(v) * 100 / full_scale) : 0;
    });
    right->addWidget(misc);
    right->addStretch(1);
    return page;
}

QWidget* TfrmMain::build_gps_tab()
{
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    v->setContentsMargins(4, 4, 4, 4);

    // Where the NMEA sentences come from: the serial port as on the unit, a
    // TCP server (host:port), a recorded log replayed at its real rate, UDP
    // datagrams, the FlightGear link or gpsd. The
    // selector owns the sources and lets one feed at a time (nmea_source.h);
    // this tab lays out each source's inputs beside the shared buttons.
    echo_ = new EchoSink(this);
    sources_ = std::make_unique<NmeaSourceSelector>();
    auto serial = std::make_unique<SerialLink>();
    auto tcp = std::make_unique<NmeaTcpSource>();
    auto replay = std::make_unique<NmeaFileReplay>();
    auto udp = std::make_unique<NmeaUdpSource>();
    auto flightgear = std::make_unique<FlightGearLink>();
    auto gpsd = std::make_unique<NmeaGpsdSource>();
    serial_ = serial.get();
    nmea_tcp_ = tcp.get();
    nmea_replay_ = replay.get();
    nmea_udp_ = udp.get();
    flightgear_ = flightgear.get();
    nmea_gpsd_ = gpsd.get();
    sources_->add(std::move(serial));
    sources_->add(std::move(tcp));
    sources_->add(std::move(replay));
    sources_->add(std::move(udp));
    sources_->add(std::move(flightgear));
    sources_->add(std::move(gpsd));

    auto* comm = new QGroupBox(" Communication Settings ");
    auto* grid = new QGridLayout(comm);
    auto* source = new QComboBox;
    source->setObjectName("NmeaSource");
    for (int i = 0; i < sources_->count(); ++i) source->addItem(sources_->source(i)->title());
    combos_.insert("GPS (NMEA Protocol)/Source:", source);
    auto* port = new QComboBox;
    port->setObjectName("ComboBox1");
    port->setEditable(true);
    port->addItems({"COM 1", "COM 2", "COM 3", "COM 4"});
    port->setEditText("COM1");
    port->setToolTip("COM1..COM4 are /dev/ttyS0..3; type a device path such as /dev/ttyUSB0 for any other port");
    auto* baud = new QComboBox;
    baud->setObjectName("ComboBox2");
    baud->setEditable(true);
    baud->addItems({"1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200"});
    baud->setEditText("9600");
    combos_.insert("GPS (NMEA Protocol)/Com Port:", port);
    combos_.insert("GPS (NMEA Protocol)/Baud Rate:", baud);
    auto* connect_button = new QPushButton("&Connect");
    connect_button->setObjectName("Button5");
    auto* disconnect_button = new QPushButton("&Disconnect");
    disconnect_button->setObjectName("Button12");
    buttons_.insert("&Connect", connect_button);
    buttons_.insert("&Disconnect", disconnect_button);
    auto* server = new QLineEdit("localhost:10110");
    server->setObjectName("NmeaServer");
    server->setToolTip("An NMEA 0183 stream over TCP, as host:port (for example a flight simulator's "
                       "NMEA output); gpsd is recognised on any port");
    auto* gpsd_server = new QLineEdit(GPSD_ADDRESS);
    gpsd_server->setObjectName("GpsdServer");
    gpsd_server->setToolTip("Where gpsd listens, as host:port. Its receivers' NMEA is read as it comes "
                            "(any talker, any line end), and the state says when gpsd has no device or no fix");
    auto* log_file = new QLineEdit;
    log_file->setObjectName("NmeaLogFile");
    log_file->setPlaceholderText("NMEA log to replay");
    // A relative name a script types is taken from the script's folder
    // ("relative_to"); one typed by hand from the working folder.
    log_file->setProperty("file_name", true);
    connect(log_file, &QLineEdit::textEdited, log_file, [log_file] { log_file->setProperty("relative_to", {}); });
    auto* udp_port = new QLineEdit("10110");
    udp_port->setObjectName("NmeaUdpPort");
    udp_port->setToolTip("The UDP port to listen on for NMEA datagrams (for example a flight simulator's NMEA output)");
    line_edits_.insert("GPS (NMEA Protocol)/Server:", server);
    line_edits_.insert("GPS (NMEA Protocol)/Log File:", log_file);
    line_edits_.insert("GPS (NMEA Protocol)/UDP Port:", udp_port);
    line_edits_.insert("GPS (NMEA Protocol)/gpsd Server:", gpsd_server);
    auto* browse = new QPushButton("Browse...");
    auto* rate = new QDoubleSpinBox;
    rate->setObjectName("NmeaLogRate");
    rate->setRange(0.1, 100.0);
    rate->setDecimals(1);
    rate->setValue(5.0);
    rate->setToolTip("Pace of a log without RMC/GGA time stamps; logs with them replay at their recorded rate");
    auto* repeat = new QCheckBox("Repeat");
    repeat->setObjectName("NmeaLogRepeat");
    auto* state = new QLabel("Disconnected");
    // The shared rows: the source with Connect, its state with Disconnect.
    grid->addWidget(new QLabel("Source:"), 0, 0);
    grid->addWidget(source, 0, 1);
    grid->addWidget(connect_button, 0, 2);
    grid->addWidget(state, 1, 0, 1, 2);
    grid->addWidget(disconnect_button, 1, 2);
    grid->setColumnStretch(1, 1);

    // Each source's own inputs on a page of their own; only the chosen
    // source's page shows, so the tab keeps its room for the diagnostics and
    // the echo. The label column is as wide on every page, so they line up.
    auto* pages = new QStackedWidget;
    const int label_width = QLabel().fontMetrics().horizontalAdvance("FlightGear Port:") + 8;
    grid->setColumnMinimumWidth(0, label_width);
    auto source_page = [&](QWidget*& w) {
        w = new QWidget;
        auto* g = new QGridLayout(w);
        g->setContentsMargins(0, 0, 0, 0);
        g->setColumnMinimumWidth(0, label_width);
        g->setColumnStretch(1, 1);
        pages->addWidget(w);
        return g;
    };
    QWidget* serial_page = nullptr;
    QGridLayout* serial_grid = source_page(serial_page);
    serial_grid->addWidget(new QLabel("Com Port:"), 0, 0);
    serial_grid->addWidget(port, 0, 1);
    serial_grid->addWidget(new QLabel("Baud Rate:"), 1, 0);
    serial_grid->addWidget(baud, 1, 1);
    QWidget* tcp_page = nullptr;
    QGridLayout* tcp_grid = source_page(tcp_page);
    tcp_grid->addWidget(new QLabel("Server:"), 0, 0);
    tcp_grid->addWidget(server, 0, 1);
    QWidget* replay_page = nullptr;
    QGridLayout* replay_grid = source_page(replay_page);
    replay_grid->addWidget(new QLabel("Log File:"), 0, 0);
    replay_grid->addWidget(log_file, 0, 1);
    replay_grid->addWidget(browse, 0, 2);
    auto* pace = new QHBoxLayout;
    pace->addWidget(rate);
    pace->addWidget(new QLabel("sentences/s without time stamps"));
    pace->addStretch(1);
    pace->addWidget(repeat);
    replay_grid->addWidget(new QLabel("Pace:"), 1, 0);
    replay_grid->addLayout(pace, 1, 1, 1, 2);
    replay_grid->addWidget(new QLabel("Replay:"), 2, 0);
    replay_grid->addLayout(build_replay_controls(), 2, 1, 1, 2);
    QWidget* udp_page = nullptr;
    QGridLayout* udp_grid = source_page(udp_page);
    udp_grid->addWidget(new QLabel("UDP Port:"), 0, 0);
    udp_grid->addWidget(udp_port, 0, 1);
    QWidget* flightgear_page = nullptr;
    QGridLayout* flightgear_grid = source_page(flightgear_page);
    QLineEdit* flightgear_port = build_flightgear_controls(flightgear_grid, 0);
    QWidget* gpsd_page = nullptr;
    QGridLayout* gpsd_grid = source_page(gpsd_page);
    gpsd_grid->addWidget(new QLabel("gpsd Server:"), 0, 0);
    gpsd_grid->addWidget(gpsd_server, 0, 1);
    for (int i = 0; i < pages->count(); ++i)
        static_cast<QGridLayout*>(pages->widget(i)->layout())->setRowStretch(3, 1);
    grid->addWidget(pages, 2, 0, 1, 3);
    v->addWidget(comm);
    v->addWidget(build_gps_diagnostics());

    auto* window = new QGroupBox(" Communcations Window ");
    auto* wl = new QVBoxLayout(window);
    memo1_ = new QPlainTextEdit;
    memo1_->setObjectName("Memo1");
    memo1_->setReadOnly(true);
    memo1_->setMaximumBlockCount(MEMO_MAX_LINES);
    memo1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo1_->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont mono("DejaVu Sans Mono");
    mono.setStyleHint(QFont::Monospace);
    mono.setPointSize(8);
    memo1_->setFont(mono);
    wl->addWidget(memo1_);
    v->addWidget(window, 1);

    connect(echo_, &EchoSink::line, memo1_, [this](const QString& text) { memo1_->appendPlainText(text); });

    // Per source: its inputs, enabled while it is the chosen one, and how
    // they configure it before it starts.
    struct SourceInputs {
        const NmeaSource* source;
        QWidget* page;
        QList<QWidget*> inputs;
        std::function<void()> configure;
    };
    const std::vector<SourceInputs> rows = {
        {serial_, serial_page, {port, baud}, [=, this] { serial_->setPort(port->currentText(), baud->currentText()); }},
        {nmea_tcp_, tcp_page, {server}, [=, this] { nmea_tcp_->setAddress(server->text()); }},
        {nmea_replay_, replay_page, {log_file, browse, rate, repeat},
         [=, this] {
             const QString base = log_file->property("relative_to").toString();
             const QString name = log_file->text();
             const bool scripted = !base.isEmpty() && QFileInfo(name).isRelative();
             nmea_replay_->setFile(scripted ? QDir(base).filePath(name) : name, rate->value(), repeat->isChecked());
         }},
        {nmea_udp_, udp_page, {udp_port}, [=, this] { nmea_udp_->setPort(udp_port->text()); }},
        {flightgear_, flightgear_page, {flightgear_port}, [=, this] { flightgear_->setPort(flightgear_port->text()); }},
        {nmea_gpsd_, gpsd_page, {gpsd_server}, [=, this] { nmea_gpsd_->setAddress(gpsd_server->text()); }},
    };
    auto update_controls = [=, this] {
        const NmeaSource* chosen = sources_->source(sources_->chosen());
        source->setCurrentIndex(sources_->chosen());
        source->setEnabled(!sources_->busy());
        for (const SourceInputs& row : rows) {
            for (QWidget* w : row.inputs) w->setEnabled(row.source == chosen);
            if (row.source == chosen) pages->setCurrentWidget(row.page);
        }
        state->setText((sources_->busy() ? sources_->busy() : chosen)->status());
    };
    connect(source, &QComboBox::currentIndexChanged, this, [=, this](int index) {
        sources_->choose(index);
        update_controls();
    });
    connect(sources_.get(), &NmeaSourceSelector::changed, this, update_controls);
    connect(sources_.get(), &NmeaSourceSelector::errorOccurred, this, [this](const QString& message) {
        auto* box = new QMessageBox(QMessageBox::Critical, "Sorvik", message, QMessageBox::Ok, this);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
    });
    connect(browse, &QPushButton::clicked, this, [this, log_file] {
        const QString path = QFileDialog::getOpenFileName(this, "NMEA log to replay", log_file->text(),
                                                          "NMEA logs (*.log *.nmea *.txt);;All files (*)");
        if (!path.isEmpty()) log_file->setText(path);
    });
    connect(connect_button, &QPushButton::clicked, this, [=, this] {
        for (const SourceInputs& row : rows)
            if (row.source == sources_->source(sources_->chosen())) row.configure();
        sources_->start();
    });
    connect(disconnect_button, &QPushButton::clicked, this, [this] { sources_->stop(); });
    update_controls();
    return page;
}

QWidget* TfrmMain::build_selection_tab()
{
    using ems::settings;
    const QString tab = "Selection";
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    auto* box = new QGroupBox(" Display Selection ");
    auto* g = group_grid(box);
    // Each writes a unit setting directly; they do not follow changes made on
    // the instrument, and the next power-on restores the defaults.
    add_slider(g, 0, tab, "OAT:", 0, 1, 0, [](int x) { settings.oat_display = uint8_t(x); }, false);
    add_slider(g, 1, tab, "VEXA Current:", 0, 1, 0, [](int x) { settings.current_display = uint8_t(x); }, false);
    for (int i = 0; i < 4; ++i)
        add_slider(g, 2 + i, tab, QString("Analog %1:").arg(i + 1), 0, 3, 0,
                   [i](int x) { settings.channel_mode[i] = uint8_t(x); }, false);
    add_slider(g, 6, tab, "RPM1:", 0, 2, 0, [](int x) { settings.rpm1_display = uint8_t(x); }, false);
    add_slider(g, 7, tab, "RPM2:", 0, 2, 0, [](int x) { settings.rpm2_display = uint8_t(x); }, false);
    add_slider(g, 8, tab, "MAP:", 0, 1, 0, [](int x) { settings.map_display = uint8_t(x); }, false);
    v->addWidget(box);
    v->addStretch(1);
    return page;
}

QWidget* TfrmMain::build_ul_power_tab()
{
    const QString tab = "UL Power";
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    v->setContentsMargins(4, 4, 4, 4);

    auto* values = new QGroupBox(" ECU Values ");
    auto* g = group_grid(values);
    add_slider(g, 0, tab, "Oil Temp:", 0, 2000, 0, [](int x) { ems::ul_oil_temp_input(uint16_t(x)); });
    add_slider(g, 1, tab, "Fuel Press:", 0, 100, 0, [](int x) { ems::ul_fuel_pressure_input(uint16_t(x)); });
    add_slider(g, 2, tab, "ECU Temp:", 0, 2000, 0, [](int x) { ems::ul_ecu_temp_input(uint16_t(x)); });
    // These feed nothing, not even their value labels.
    const struct {
        const char* caption;
        int max;
    } inert[] = {{"Fuel flow:", 999}, {"RPM:", 100}, {"Throttle:", 100}, {"Air Temp:", 2000},
                 {"Oil Press:", 100}, {"Battery Volts:", 500}, {"Static Press:", 1300}};
    int row = 3;
    for (const auto& s : inert) {
        add_slider(g, row, tab, s.caption, 0, s.max, 0, nullptr, true);
        ++row;
    }
    v->addWidget(values);

    auto* switches = new QGroupBox(" ECU Status ");
    auto* grid = new QGridLayout(switches);
    const struct {
        const char* caption;
        ems::CheckBox id;
    } boxes[] = {
        {"ECU Comms", ems::CheckBox::EcuComms},
        {"Ignition 1", ems::CheckBox::Ignition1},
        {"Ignition 2", ems::CheckBox::Ignition2},
        {"Air Temp Sensor", ems::CheckBox::AirTempSensor},
        {"Throttle Pos Sensor", ems::CheckBox::ThrottlePosSensor},
        {"MAP Sensor", ems::CheckBox::MapSensor},
        {"Oil Temp Sensor", ems::CheckBox::OilTempSensor},
        {"Pos-/Sync Sensor Fault", ems::CheckBox::PosSyncSensorFault},
    };
    int i = 0;
    for (const auto& b : boxes) {
        auto* c = add_check(switches, tab, b.caption, false);
        platform_.boxes[size_t(b.id)] = c;
        grid->addWidget(c, i / 2, i % 2);
        ++i;
    }
    auto* active = add_check(switches, tab, "UL Power Active", false);
    active->setVisible(false); // exists on the unit's host, without effect
    v->addWidget(switches);
    v->addStretch(1);
    return page;
}

void TfrmMain::wire_platform()
{
    platform_.lcd = panel1_;
    platform_.echo_sink = echo_;
    const struct {
        ems::PowerOnSlider id;
        const char* key;
    } power_on_sliders[] = {
        {ems::PowerOnSlider::Volts, "EMS/Volts:"},
        {ems::PowerOnSlider::Oat, "EMS/OAT:"},
        {ems::PowerOnSlider::Rpm, "EMS/RPM:"},
    };
    for (const auto& s : power_on_sliders) platform_.wire_slider(s.id, slider(s.key), slider_label(s.key));
}

} // namespace host
