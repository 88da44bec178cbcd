#include "alarms/alarm_words.h"

namespace ems {

AlarmState alarms;

} // namespace ems
