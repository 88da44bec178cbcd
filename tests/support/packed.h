// Settings, min/max and engine-computer records are packed, so their members
// may sit at odd addresses; GoogleTest's comparisons take their operands by
// reference, which must not bind to such a member. PACKED(x) hands over a copy.
#pragma once
#include <type_traits>

#define PACKED(x) static_cast<std::remove_cvref_t<decltype(x)>>(x)
