#include "host/viewer/flight_list_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QThread>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cmath>
#include <memory>

#include "host/viewer/core/flight_list.h"

namespace host {

namespace {

constexpr int PATH_ROLE = Qt::UserRole;

QString hours(double seconds)
{
    const long long s = std::llround(seconds);
    return QString("%1:%2").arg(s / 3600).arg(s / 60 % 60, 2, 10, QChar('0'));
}

QString peak(double v) { return std::isnan(v) ? QString::fromUtf8("\u2013") : QString::number(v, 'f', 0); }

} // namespace

FlightListDialog::FlightListDialog(const QString& folder, std::function<void(const QString&)> open, QWidget* parent)
    : QDialog(parent), open_(std::move(open))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle("Flights on the Card");
    list_ = new QTreeWidget;
    list_->setColumnCount(7);
    list_->setHeaderLabels({"File", "Date", "Start UTC", "Duration", "Peak EGT", "Peak CHT", "Alarms"});
    list_->setRootIsDecorated(false);
    list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    status_ = new QLabel("Reading the recordings in " + folder + " ...");
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Open | QDialogButtonBox::Close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(status_);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    connect(buttons->button(QDialogButtonBox::Open), &QPushButton::clicked, this, [this] {
        if (QTreeWidgetItem* item = list_->currentItem()) open_(item->data(0, PATH_ROLE).toString());
    });
    connect(list_, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { open_(item->data(0, PATH_ROLE).toString()); });
    resize(640, 360);
    fill(folder);
}

void FlightListDialog::fill(const QString& folder)
{
    auto entries = std::make_shared<std::vector<FlightEntry>>();
    QThread* reader = QThread::create([folder, entries] { *entries = scan_recordings(folder.toStdString()); });
    connect(reader, &QThread::finished, reader, &QObject::deleteLater);
    connect(reader, &QThread::finished, this, [this, entries, folder] {
        for (const FlightEntry& e : *entries) {
            const QString name = QString::fromStdString(e.path.filename().string());
            const FlightSummary& s = e.summary;
            auto* item = e.error.empty()
                             ? new QTreeWidgetItem(list_, {name, QString::fromStdString(s.date),
                                                           QString::fromStdString(s.start_utc), hours(s.duration),
                                                           peak(s.peak_egt), peak(s.peak_cht),
                                                           QString::number(s.alarms)})
                             : new QTreeWidgetItem(list_, {name, QString::fromStdString(e.error)});
            if (!e.error.empty()) list_->setFirstColumnSpanned(list_->indexOfTopLevelItem(item), QModelIndex(), true);
            item->setData(0, PATH_ROLE, QString::fromStdString(e.path.string()));
        }
        status_->setText(entries->empty() ? "No recording in " + folder
                                          : QString("%1 recordings in %2").arg(entries->size()).arg(folder));
        listed_ = true;
    });
    reader->start();
}

QString FlightListDialog::status() const { return status_->text(); }

void FlightListDialog::show_error(const QString& message)
{
    status_->setText(message);
    status_->setStyleSheet("QLabel { color: #b00000; }");
}

QStringList FlightListDialog::rows() const
{
    QStringList out;
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        QStringList cells;
        for (int c = 0; c < list_->columnCount(); ++c) cells << list_->topLevelItem(i)->text(c);
        while (!cells.isEmpty() && cells.back().isEmpty()) cells.removeLast();
        out << cells.join(" | ");
    }
    return out;
}

bool FlightListDialog::open_file(const QString& name)
{
    for (int i = 0; i < list_->topLevelItemCount(); ++i)
        if (list_->topLevelItem(i)->text(0) == name) {
            open_(list_->topLevelItem(i)->data(0, PATH_ROLE).toString());
            return true;
        }
    return false;
}

} // namespace host
