#include "host/gps/gps_tab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "host/flightgear/flightgear_link.h"
#include "host/gps/nmea_file_replay.h"
#include "host/gps/nmea_source.h"
#include "host/gps/nmea_source_selector.h"
#include "host/gps/nmea_tcp_source.h"
#include "host/gps/nmea_udp_source.h"
#include "host/gps/serial_link.h"
#include "host/flightgear/flightgear_controls.h"
#include "host/gps/gps_diagnostics.h"
#include "host/gps/replay_controls.h"
#include "host/inputs/control_panel.h"

namespace host {

namespace {

constexpr int MEMO_MAX_LINES = 5000;
const QString GPS_TAB = "GPS (NMEA Protocol)";

} // namespace

GpsTab::GpsTab(ControlPanel& controls, QWidget* parent) : QWidget(parent)
{
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(4, 4, 4, 4);

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
    controls.add_combo(GPS_TAB + "/Source:", source);
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
    controls.add_combo(GPS_TAB + "/Com Port:", port);
    controls.add_combo(GPS_TAB + "/Baud Rate:", baud);
    auto* connect_button = new QPushButton("&Connect");
    connect_button->setObjectName("Button5");
    auto* disconnect_button = new QPushButton("&Disconnect");
    disconnect_button->setObjectName("Button12");
    controls.add_button("&Connect", connect_button);
    controls.add_button("&Disconnect", disconnect_button);
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
    controls.add_line_edit(GPS_TAB + "/Server:", server);
    controls.add_line_edit(GPS_TAB + "/Log File:", log_file);
    controls.add_line_edit(GPS_TAB + "/UDP Port:", udp_port);
    controls.add_line_edit(GPS_TAB + "/gpsd Server:", gpsd_server);
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
    replay_grid->addLayout(build_replay_controls(nmea_replay_, controls), 2, 1, 1, 2);
    QWidget* udp_page = nullptr;
    QGridLayout* udp_grid = source_page(udp_page);
    udp_grid->addWidget(new QLabel("UDP Port:"), 0, 0);
    udp_grid->addWidget(udp_port, 0, 1);
    QWidget* flightgear_page = nullptr;
    QGridLayout* flightgear_grid = source_page(flightgear_page);
    flightgear_controls_ = new FlightGearControls(flightgear_, controls, this);
    QLineEdit* flightgear_port = flightgear_controls_->build(flightgear_grid, 0);
    QWidget* gpsd_page = nullptr;
    QGridLayout* gpsd_grid = source_page(gpsd_page);
    gpsd_grid->addWidget(new QLabel("gpsd Server:"), 0, 0);
    gpsd_grid->addWidget(gpsd_server, 0, 1);
    for (int i = 0; i < pages->count(); ++i)
        static_cast<QGridLayout*>(pages->widget(i)->layout())->setRowStretch(3, 1);
    grid->addWidget(pages, 2, 0, 1, 3);
    v->addWidget(comm);
    v->addWidget(new GpsDiagnostics(controls));

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
        {serial_, serial_page, {port, baud}, [=, this] { serial_->set_port(port->currentText(), baud->currentText()); }},
        {nmea_tcp_, tcp_page, {server}, [=, this] { nmea_tcp_->set_address(server->text()); }},
        {nmea_replay_, replay_page, {log_file, browse, rate, repeat},
         [=, this] {
             const QString base = log_file->property("relative_to").toString();
             const QString name = log_file->text();
             const bool scripted = !base.isEmpty() && QFileInfo(name).isRelative();
             nmea_replay_->set_file(scripted ? QDir(base).filePath(name) : name, rate->value(), repeat->isChecked());
         }},
        {nmea_udp_, udp_page, {udp_port}, [=, this] { nmea_udp_->set_port(udp_port->text()); }},
        {flightgear_, flightgear_page, {flightgear_port}, [=, this] { flightgear_->set_port(flightgear_port->text()); }},
        {nmea_gpsd_, gpsd_page, {gpsd_server}, [=, this] { nmea_gpsd_->set_address(gpsd_server->text()); }},
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
    connect(sources_.get(), &NmeaSourceSelector::error_occurred, this, [this](const QString& message) {
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
}

GpsTab::~GpsTab() = default;

void GpsTab::close_sources() { sources_.reset(); }

FlightGearPlayer* GpsTab::flightgear_player() const { return flightgear_controls_->player(); }

} // namespace host
