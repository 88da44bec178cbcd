// The window's client area: the front panel and, beside it, the tabs
// (1065 x 496 at 1x).
#pragma once
#include <QSize>
#include <algorithm>

#include "host/window/front_panel.h"
#include "host/window/front_view.h"

namespace host {

constexpr int CLIENT_MIN_HEIGHT = 496;
constexpr int TABS_GAP = 2;
constexpr int TABS_WIDTH = 513;
constexpr int TABS_HEIGHT = 477;
constexpr int BELOW_FRONT = CLIENT_MIN_HEIGHT - FRONT_HEIGHT;

// The client area at a zoom.
inline QSize client_size(int zoom)
{
    return {FRONT_WIDTH * zoom + TABS_GAP + TABS_WIDTH, std::max(CLIENT_MIN_HEIGHT, FRONT_HEIGHT * zoom + BELOW_FRONT)};
}

// The largest zoom whose client area fits in room; 1 at least.
inline int zoom_fitting(QSize room)
{
    int zoom = 1;
    while (zoom < MAX_ZOOM && client_size(zoom + 1).width() <= room.width() &&
           client_size(zoom + 1).height() <= room.height())
        ++zoom;
    return zoom;
}

} // namespace host
