// The information display page of the run screen: the document picture, the
// checklist with its cursor line, or "INFORMATION" / "DISPLAY" when no
// document is shown or the card is missing.
#pragma once

namespace ems {

void page_info();

} // namespace ems
