// Help: the key map (the unit's keys and the window's shortcuts), the user
// guide, and About with the licences of what the program ships.
#pragma once
#include <QString>

class QMainWindow;
class QMenuBar;

namespace host {

// Adds the Help menu to the window's menu bar, after its other menus.
void build_help_menu(QMainWindow* window);

// Help / Key Map's text: the unit's keys and every shortcut of the menus.
QString key_map_text(const QMenuBar* bar);

} // namespace host
