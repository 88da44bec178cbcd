// CardSlot: the window's SD card slot: which folder stands for the card, and
// changing it as a pilot changes cards. While the unit runs, a switch is
// pulling one card and inserting another: the firmware sees no card for a
// pass, the folder changes once no card file is open, then the new card is
// in. While the unit is off it changes at once. The status bar names the
// card.
#pragma once
#include <QObject>
#include <QString>

class QLabel;
class QStatusBar;
class QWidget;

namespace host {

class CardFolder;

class CardSlot : public QObject {
    Q_OBJECT
public:
    // card_out is what the platform reads as "no card" while a switch is on.
    CardSlot(CardFolder& card, bool& card_out, QStatusBar* status_bar, QWidget* window);

    QString folder() const;
    void switch_to(const QString& dir);
    bool switch_pending() const { return !pending_.isEmpty(); }
    void open_folder(); // File / "Open Card Folder...": choose, switch, remember
    // Between passes: the new card goes in once the old one has no file open.
    void after_pass();
    // The path in the status bar, elided to the window's width (the window
    // calls it again when its width changes).
    void show();

private:
    void finish_switch();

    CardFolder& card_;
    bool& card_out_;
    QWidget* window_;
    QLabel* label_ = nullptr;
    QString pending_; // the card going in, while the old one is out
};

} // namespace host
