// The card folder of the window: which folder stands for the SD card, and
// changing it as a pilot changes cards.
#include <QDir>
#include <QFileInfo>
#include <QFileDialog>
#include <QLabel>
#include <QStatusBar>

#include "app/power.h"
#include "host/card_location.h"
#include "host/main_window.h"

namespace host {

QString TfrmMain::card_folder() const
{
    return QString::fromStdString(platform_.card().card_dir().string());
}

void TfrmMain::switch_card(const QString& dir)
{
    pending_card_ = QFileInfo(dir).absoluteFilePath();
    if (!ems::firmware_running()) {
        finish_card_switch();
        return;
    }
    // Out first: the next pass finds no card; after_pass puts the new one in.
    platform_.card_out = true;
    show_card();
}

void TfrmMain::after_pass()
{
    if (!platform_.card_out || platform_.card().files_open()) return;
    finish_card_switch();
}

void TfrmMain::finish_card_switch()
{
    platform_.card().set_card_dir(pending_card_.toStdString());
    pending_card_.clear();
    platform_.card_out = false;
    show_card();
}

void TfrmMain::open_card_folder()
{
    const QString dir = QFileDialog::getExistingDirectory(this, "Open Card Folder", card_folder());
    if (dir.isEmpty()) return;
    switch_card(dir);
    remember_card(dir);
}

void TfrmMain::show_card()
{
    if (!card_label_) {
        card_label_ = new QLabel;
        card_label_->setObjectName("CardLabel");
        statusBar()->addPermanentWidget(card_label_);
    }
    QString shown = QDir::cleanPath(pending_card_.isEmpty() ? card_folder() : pending_card_);
    const QString full = shown;
    const QString home = QDir::homePath();
    if (shown.startsWith(home + "/")) shown = "~" + shown.mid(home.size());
    const QString caption = pending_card_.isEmpty() ? "Card: " : "Card: changing to ";
    // A long path gives way in its middle, where an ellipsis shows it does;
    // its start and the card's own folder name stay.
    const int room = std::max(120, width() / 3) - card_label_->fontMetrics().horizontalAdvance(caption);
    card_label_->setText(caption + card_label_->fontMetrics().elidedText(shown, Qt::ElideMiddle, room));
    card_label_->setToolTip(full);
}

} // namespace host
