#include "host/card/card_slot.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QStatusBar>
#include <algorithm>

#include "app/power.h"
#include "host/card/card_location.h"
#include "host/card/core/card_folder.h"

namespace host {

CardSlot::CardSlot(CardFolder& card, bool& card_out, QStatusBar* status_bar, QWidget* window)
    : QObject(window), card_(card), card_out_(card_out), window_(window)
{
    label_ = new QLabel;
    label_->setObjectName("CardLabel");
    status_bar->addPermanentWidget(label_);
    show();
}

QString CardSlot::folder() const { return QString::fromStdString(card_.card_dir().string()); }

void CardSlot::switch_to(const QString& dir)
{
    pending_ = QFileInfo(dir).absoluteFilePath();
    if (!ems::firmware_running()) {
        finish_switch();
        return;
    }
    // Out first: the next pass finds no card; after_pass puts the new one in.
    card_out_ = true;
    show();
}

void CardSlot::after_pass()
{
    if (!card_out_ || card_.files_open()) return;
    finish_switch();
}

void CardSlot::finish_switch()
{
    card_.set_card_dir(pending_.toStdString());
    pending_.clear();
    card_out_ = false;
    show();
}

void CardSlot::open_folder()
{
    const QString dir = QFileDialog::getExistingDirectory(window_, "Open Card Folder", folder());
    if (dir.isEmpty()) return;
    switch_to(dir);
    remember_card(dir);
}

void CardSlot::show()
{
    QString shown = QDir::cleanPath(pending_.isEmpty() ? folder() : pending_);
    const QString full = shown;
    const QString home = QDir::homePath();
    if (shown.startsWith(home + "/")) shown = "~" + shown.mid(home.size());
    const QString caption = pending_.isEmpty() ? "Card: " : "Card: changing to ";
    // A long path gives way in its middle, where an ellipsis shows it does;
    // its start and the card's own folder name stay.
    const int room = std::max(120, window_->width() / 3) - label_->fontMetrics().horizontalAdvance(caption);
    label_->setText(caption + label_->fontMetrics().elidedText(shown, Qt::ElideMiddle, room));
    label_->setToolTip(full);
}

} // namespace host
