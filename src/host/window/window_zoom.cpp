// View / Zoom and a resizable window: the front panel at a whole zoom that
// fits, the tabs in the rest, the zoom remembered.
#include <QEvent>
#include <QLayout>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QResizeEvent>
#include <QScreen>
#include <QSettings>
#include <algorithm>

#include "host/card/card_slot.h"
#include "host/inputs/control_panel.h"
#include "host/window/client_area.h"
#include "host/window/front_view.h"
#include "host/window/main_window.h"

namespace host {

namespace {

constexpr const char* ZOOM_KEY = "view/zoom";

// The largest zoom whose window fits the screen it is on.
int max_zoom(const QMainWindow& window)
{
    const QScreen* shown_on = window.screen();
    if (!shown_on) return MAX_ZOOM;
    // What the window adds around its client area: frame, menu and status bar.
    const QSize chrome = window.frameGeometry().size() - window.centralWidget()->size();
    return zoom_fitting(shown_on->availableGeometry().size() - chrome);
}

// The client area resized (by the user, or by set_zoom): the largest whole
// zoom that fits, the tabs in the rest.
void fit_client(TfrmMain& window, QSize client)
{
    FrontView* front = window.front();
    const int largest = max_zoom(window);
    const int fit = std::min(zoom_fitting(client), largest);
    if (fit != front->zoom()) {
        front->set_zoom(fit);
        QSettings().setValue(ZOOM_KEY, fit);
    }
    const int tabs_x = front->width() + TABS_GAP;
    window.inputs()->setGeometry(tabs_x, 0, std::max(TABS_WIDTH, client.width() - tabs_x),
                                 std::max(TABS_HEIGHT, client.height()));
    // Zooms that would make the window larger than the screen are not offered.
    if (QMenu* zoom_menu = window.menuBar()->findChild<QMenu*>("ZoomMenu"))
        for (QAction* a : zoom_menu->actions()) {
            a->setChecked(a->data().toInt() == front->zoom());
            a->setEnabled(a->data().toInt() <= largest);
        }
    window.card()->show(); // its room follows the window's width
}

} // namespace

void TfrmMain::restore_zoom() { set_zoom(QSettings().value(ZOOM_KEY, 1).toInt()); }

void TfrmMain::set_zoom(int factor)
{
    const int zoom = std::clamp(factor, 1, max_zoom(*this));
    front_->set_zoom(zoom);
    // The window takes the size of the zoom, which the client area then fits.
    centralWidget()->setMinimumSize(client_size(zoom));
    layout()->invalidate();
    layout()->activate();
    resize(sizeHint());
    centralWidget()->setMinimumSize(client_size(1));
    fit_client(*this, client_size(zoom));
    QSettings().setValue(ZOOM_KEY, front_->zoom());
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == centralWidget() && event->type() == QEvent::Resize && inputs_ && card_)
        fit_client(*this, static_cast<QResizeEvent*>(event)->size());
    return QMainWindow::eventFilter(watched, event);
}

} // namespace host
