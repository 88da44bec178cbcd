// FlightListDialog: File / "Flights on the Card...": the recordings in the
// card's DATA folder as a list of flights (date, start UTC, duration, peak EGT
// and CHT, alarm periods), read on a worker thread so that a card full of long
// flights does not hold up the unit. A double click (or Open) opens one in the
// viewer; a file that is not a recording says why in its row.
#pragma once
#include <QDialog>
#include <QStringList>
#include <functional>

class QLabel;
class QTreeWidget;

namespace host {

class FlightListDialog : public QDialog {
    Q_OBJECT
public:
    // Lists the recordings of folder; open is called with the path chosen.
    FlightListDialog(const QString& folder, std::function<void(const QString&)> open, QWidget* parent = nullptr);

    void set_open(std::function<void(const QString&)> open) { open_ = std::move(open); }
    // A recording that cannot be opened says why under the list.
    void show_error(const QString& message);
    QString status() const;

    bool listed() const { return listed_; } // the folder has been read
    // The rows as text, cells joined by " | ".
    QStringList rows() const;
    // Opens the row of that file name; false when there is none.
    bool open_file(const QString& name);

private:
    void fill(const QString& folder);

    std::function<void(const QString&)> open_;
    QTreeWidget* list_ = nullptr;
    QLabel* status_ = nullptr;
    bool listed_ = false;
};

} // namespace host
