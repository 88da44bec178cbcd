#include "host/viewer/flight_viewer.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QSaveFile>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QThread>
#include <QToolBar>
#include <QTreeWidget>
#include <cmath>
#include <filesystem>

#include "host/common/core/file_read.h"
#include "host/viewer/core/flight_analysis.h"
#include "host/viewer/core/flight_list.h"
#include "host/viewer/flight_analysis_view.h"
#include "host/viewer/flight_panels.h"
#include "host/viewer/flight_plot.h"

namespace host {

namespace {

constexpr int CHANNEL_ROLE = Qt::UserRole; // a channel item's index, -1 for a group
constexpr int VALUE_ROWS_BEFORE_CHANNELS = 2; // UTC and T (s)
const char* const GROUPS[] = {"EGT", "CHT"};  // the cylinder channels, each kind under a tick of its own

// The group a channel stands under, or -1.
int group_of(const std::string& name)
{
    if (channel_cylinder(name) == 0) return -1;
    for (size_t g = 0; g < std::size(GROUPS); ++g)
        if (name.rfind(GROUPS[g], 0) == 0) return int(g);
    return -1;
}

// A short stroke in the channel's colour and line style, for the lists.
QIcon pen_icon(const QPen& pen)
{
    QPixmap pixmap(24, 12);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QPen stroke = pen;
    stroke.setWidthF(2.5);
    p.setPen(stroke);
    p.drawLine(QPointF(1, 6), QPointF(23, 6));
    return QIcon(pixmap);
}

QString value_text(double v, const std::string& unit)
{
    if (std::isnan(v)) return QString::fromUtf8("\u2013");
    const QString number = QString::number(v, 'g', 10);
    return unit.empty() ? number : number + " " + QString::fromStdString(unit);
}

QString duration_text(double seconds)
{
    const long long s = std::llround(seconds);
    return QString("%1:%2:%3").arg(s / 3600).arg(s / 60 % 60, 2, 10, QChar('0')).arg(s % 60, 2, 10, QChar('0'));
}

QString read_error_text(FileRead r, const QString& path, const std::string& system_error)
{
    switch (r) {
    case FileRead::Ok: break;
    case FileRead::CannotOpen: return QString("Cannot open %1: %2").arg(path, QString::fromStdString(system_error));
    case FileRead::NotRegular: return QString("%1 is not a regular file").arg(path);
    case FileRead::TooLarge:
        return QString("%1 is larger than %2 MB, more than the viewer reads").arg(path).arg(FLIGHT_DATA_MAX_BYTES >> 20);
    case FileRead::ReadError: return QString("Cannot read %1: %2").arg(path, QString::fromStdString(system_error));
    }
    return {};
}

} // namespace

FlightFile read_flight_file(const QString& path)
{
    FlightFile file;
    std::string text, system_error;
    const FileRead r = read_regular_file(path.toStdString(), FLIGHT_DATA_MAX_BYTES, text, system_error);
    if (r != FileRead::Ok) {
        file.error = read_error_text(r, path, system_error);
        return file;
    }
    auto data = std::make_shared<FlightData>();
    std::string why;
    if (!read_flight_data(text, *data, why)) {
        file.error = QString("Cannot show %1: %2").arg(QFileInfo(path).fileName(), QString::fromStdString(why));
    } else {
        add_spread_channels(*data);
        file.data = std::move(data);
    }
    return file;
}

FlightViewer* FlightViewer::open(const QString& path, QWidget* parent, QString& error)
{
    FlightFile file = read_flight_file(path);
    if (!file.data) {
        error = file.error;
        return nullptr;
    }
    return new FlightViewer(std::move(file.data), path, parent);
}

FlightViewer::FlightViewer(std::shared_ptr<const FlightData> data, const QString& path, QWidget* parent)
    : QMainWindow(parent, Qt::Window), data_(std::move(data))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QFileInfo(path).fileName() + " - Flight Data");
    plot_ = new FlightPlot(data_, this);
    channels_ = new QTreeWidget;
    values_ = new QTreeWidget;
    build_channel_list();
    build_value_list();

    analysis_ = new FlightAnalysisView(data_);
    auto* side = new QSplitter(Qt::Vertical);
    side->addWidget(values_);
    side->addWidget(analysis_);
    auto* split = new QSplitter(Qt::Horizontal);
    split->addWidget(channels_);
    split->addWidget(build_panels());
    split->addWidget(side);
    split->setStretchFactor(1, 1);
    split->setSizes({170, 720, 250});
    setCentralWidget(split);
    build_menus();

    build_status_bar();
    connect(plot_, &FlightPlot::cursor_moved, this, [this](int row) { show_cursor_values(row); });
    connect(plot_, &FlightPlot::view_changed, this, [this] { show_range_figures(); });
    connect(analysis_, &FlightAnalysisView::jump_to, this, [this](int row) { jump_to(row); });
    resize(1140, 640);
    plot_->reset_zoom();
    plot_->set_cursor_row(0);
    restore_layout();
}

void FlightViewer::build_status_bar()
{
    const double span = data_->seconds.back() - data_->seconds.front();
    statusBar()->addWidget(new QLabel(QString("%1 records over %2 from %3 UTC   Wheel: zoom   Drag: pan   "
                                              "Double-click: whole flight")
                                          .arg(data_->seconds.size())
                                          .arg(duration_text(span), QString::fromStdString(data_->utc.front()))),
                           1);
    note_ = QString::fromStdString(reading_summary(*data_));
    if (!note_.isEmpty()) {
        auto* label = new QLabel(note_);
        label->setStyleSheet("QLabel { background: #fff3b0; padding: 1px 4px; }");
        QStringList reasons;
        for (const std::string& r : data_->skip_reasons) reasons << QString::fromStdString(r);
        label->setToolTip(reasons.join('\n'));
        statusBar()->addPermanentWidget(label);
    }
}

void FlightViewer::build_channel_list()
{
    channels_->setHeaderHidden(true);
    channels_->setRootIsDecorated(true);
    QTreeWidgetItem* groups[std::size(GROUPS)] = {};
    bool cylinders = false;
    for (const FlightChannel& ch : data_->channels) cylinders = cylinders || group_of(ch.name) >= 0;
    for (size_t i = 0; i < data_->channels.size(); ++i) {
        const FlightChannel& ch = data_->channels[i];
        const int g = group_of(ch.name);
        if (g >= 0 && !groups[g]) {
            groups[g] = new QTreeWidgetItem(channels_, {GROUPS[g]});
            groups[g]->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsAutoTristate);
            groups[g]->setData(0, CHANNEL_ROLE, -1);
            groups[g]->setExpanded(true);
        }
        QTreeWidgetItem* parent = g >= 0 ? groups[g] : nullptr;
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(channels_);
        item->setText(0, ch.unit.empty() ? QString::fromStdString(ch.name)
                                         : QString("%1 (%2)").arg(QString::fromStdString(ch.name),
                                                                  QString::fromStdString(ch.unit)));
        item->setIcon(0, pen_icon(plot_->channel_pen(i)));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setData(0, CHANNEL_ROLE, int(i));
        // The cylinders show at first; a recording without any shows its first channel.
        const bool shown = cylinders ? parent != nullptr : i == 0 && !is_alarm_word(ch.name);
        item->setCheckState(0, shown ? Qt::Checked : Qt::Unchecked);
        plot_->set_channel_shown(i, shown);
    }
    connect(channels_, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item) { channel_ticked(item); });
}

void FlightViewer::channel_ticked(QTreeWidgetItem* item)
{
    const int i = item->data(0, CHANNEL_ROLE).toInt();
    if (i < 0 || applying_ticks_) return;
    const bool shown = item->checkState(0) == Qt::Checked;
    if (stacked()) {
        panels_->set_channel_shown(size_t(i), shown);
        remember_layout();
        show_range_figures();
    } else {
        plot_->set_channel_shown(size_t(i), shown);
    }
}

void FlightViewer::apply_ticks()
{
    applying_ticks_ = true;
    for (QTreeWidgetItemIterator it(channels_); *it; ++it) {
        const int i = (*it)->data(0, CHANNEL_ROLE).toInt();
        if (i < 0) continue;
        const bool shown = stacked() ? panels_->channel_shown(size_t(i)) : plot_->channel_shown(size_t(i));
        (*it)->setCheckState(0, shown ? Qt::Checked : Qt::Unchecked);
    }
    applying_ticks_ = false;
}

bool FlightViewer::set_channel(const QString& name, bool shown)
{
    for (QTreeWidgetItemIterator it(channels_); *it; ++it) {
        const int i = (*it)->data(0, CHANNEL_ROLE).toInt();
        if (i >= 0 && QString::fromStdString(data_->channels[size_t(i)].name) == name) {
            (*it)->setCheckState(0, shown ? Qt::Checked : Qt::Unchecked);
            return true;
        }
    }
    return false;
}

void FlightViewer::build_value_list()
{
    values_->setColumnCount(2);
    values_->setHeaderLabels({"At the cursor", "Value"});
    values_->setRootIsDecorated(false);
    values_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    values_->header()->setStretchLastSection(true);
    new QTreeWidgetItem(values_, {"UTC"});
    new QTreeWidgetItem(values_, {"T (s)"});
    for (size_t i = 0; i < data_->channels.size(); ++i) {
        auto* item = new QTreeWidgetItem(values_, {QString::fromStdString(data_->channels[i].name)});
        item->setIcon(0, pen_icon(plot_->channel_pen(i)));
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    }
}

void FlightViewer::show_cursor_values(int row)
{
    const bool any = row >= 0;
    const size_t r = size_t(std::max(row, 0));
    values_->topLevelItem(0)->setText(1, any ? QString::fromStdString(data_->utc[r]) : QString());
    values_->topLevelItem(1)->setText(1, any ? QString::number(data_->seconds[r]) : QString());
    for (size_t i = 0; i < data_->channels.size(); ++i) {
        const FlightChannel& ch = data_->channels[i];
        QTreeWidgetItem* item = values_->topLevelItem(int(i) + VALUE_ROWS_BEFORE_CHANNELS);
        const double v = any ? ch.values[r] : NAN;
        item->setText(1, any ? value_text(v, ch.unit) : QString());
        // An alarm word that is set stands out as the shading does.
        item->setForeground(1, is_alarm_word(ch.name) && v != 0 && !std::isnan(v) ? QBrush(Qt::red) : QBrush());
    }
}

QString FlightViewer::cursor_value(const QString& name) const
{
    for (int i = 0; i < values_->topLevelItemCount(); ++i)
        if (values_->topLevelItem(i)->text(0) == name) return values_->topLevelItem(i)->text(1);
    return {};
}

void FlightViewer::build_menus()
{
    QMenu* file = menuBar()->addMenu("&File");
    QAction* save = file->addAction("Save as PNG...");
    save->setShortcut(QKeySequence::Save);
    connect(save, &QAction::triggered, this, [this] {
        const QString suggested = QFileInfo(windowTitle().section(" - ", 0, 0)).completeBaseName() + ".png";
        const QString path = QFileDialog::getSaveFileName(this, "Save as PNG", suggested, "PNG pictures (*.png)");
        if (!path.isEmpty() && !save_png(path)) QMessageBox::warning(this, "Flight Data", "Cannot write " + path);
    });
    QAction* export_action = file->addAction("Export Visible Range as CSV...");
    connect(export_action, &QAction::triggered, this, [this] {
        const QString suggested = QFileInfo(windowTitle().section(" - ", 0, 0)).completeBaseName() + "_part.csv";
        const QString path = QFileDialog::getSaveFileName(this, "Export Visible Range", suggested, "Recordings (*.csv)");
        if (path.isEmpty()) return;
        export_visible(path, [this](const QString& error) {
            if (!error.isEmpty()) QMessageBox::warning(this, "Flight Data", error);
        });
    });
    file->addSeparator();
    QAction* close_action = file->addAction("&Close");
    close_action->setShortcut(QKeySequence::Close);
    connect(close_action, &QAction::triggered, this, &QWidget::close);

    QMenu* view = menuBar()->addMenu("&View");
    QAction* reset = view->addAction("Reset Zoom");
    reset->setShortcut(QKeySequence(Qt::Key_Home));
    connect(reset, &QAction::triggered, plot_, &FlightPlot::reset_zoom);
    build_layout_menu(view);

    QToolBar* bar = addToolBar("Flight Data");
    bar->setMovable(false);
    bar->addAction(reset);
    bar->addAction(save);
}

void FlightViewer::show_range_figures()
{
    analysis_->show_range(plot_->time_from(), plot_->time_to(),
                          stacked() ? panels_->shown_channels() : plot_->shown_channels());
}

void FlightViewer::jump_to(int row)
{
    if (row < 0 || size_t(row) >= data_->seconds.size()) return;
    const double t = data_->seconds[size_t(row)], span = plot_->time_to() - plot_->time_from();
    if (t < plot_->time_from() || t > plot_->time_to()) plot_->set_time_range(t - span / 2, t + span / 2);
    plot_->set_cursor_row(row);
}

void FlightViewer::export_visible(const QString& path, std::function<void(const QString&)> done)
{
    auto text = std::make_shared<std::string>(flight_csv(*data_, plot_->time_from(), plot_->time_to()));
    auto error = std::make_shared<QString>();
    QThread* writer = QThread::create([path, text, error] {
        QSaveFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(text->data(), qint64(text->size())) != qint64(text->size()) ||
            !f.commit())
            *error = QString("Cannot write %1: %2").arg(path, f.errorString());
    });
    connect(writer, &QThread::finished, writer, &QObject::deleteLater);
    connect(writer, &QThread::finished, this, [error, done] { done(*error); });
    writer->start();
}

QImage FlightViewer::plot_image() const
{
    // The chart lays out its legend on a later event; a picture taken at once needs it now.
    QCoreApplication::sendPostedEvents();
    return plot_area_->currentWidget()->grab().toImage();
}

bool FlightViewer::save_png(const QString& path) const { return plot_image().save(path, "PNG"); }

} // namespace host
