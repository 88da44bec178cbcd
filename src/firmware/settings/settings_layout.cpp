// The settings block's binary layout. A settings file written by any unit of
// this family must load byte for byte, so nothing here may move. Every field
// of UnitSettings and of its record types is pinned at its byte offset with
// its exact type by its row in the settings schema (settings_schema.h, whose
// rows must also cover each record without gap); here are the record sizes
// and the fuel and hobbs counters beside the block.
#include <cstddef>
#include <type_traits>

#include "settings/settings.h"
#include "settings/settings_schema.h"

namespace ems {
namespace {

static_assert(sizeof(CalPoint) == 4);
static_assert(sizeof(SenderCalibrationTable) == 85);
static_assert(sizeof(PressureSenderConfig) == 115);
static_assert(sizeof(TemperatureSenderConfig) == 108);
static_assert(sizeof(CurrentSensorConfig) == 16);
static_assert(sizeof(GenericSensorConfig) == 109);
static_assert(sizeof(UnitSettings) == 1873);
static_assert(UNIT_SETTINGS_SCHEMA.size == sizeof(UnitSettings));
static_assert(SETTINGS_FILE_BYTES == sizeof(UnitSettings) + 2);
static_assert(std::is_trivially_copyable_v<UnitSettings>);
static_assert(std::is_standard_layout_v<UnitSettings>);

// The fuel and hobbs counters: 22 bytes in this order, zeroed as one.
static_assert(sizeof(FuelData) == 16);
static_assert(sizeof(HobbsMaintenance) == 6);
static_assert(sizeof(FuelHobbs) == 22);
static_assert(offsetof(FuelHobbs, fuel) == 0 && offsetof(FuelHobbs, hobbs) == 16);
static_assert(offsetof(FuelData, fuel_used1) == 0 && offsetof(FuelData, fuel_used2) == 4 &&
              offsetof(FuelData, tank1_contents) == 8 && offsetof(FuelData, tank2_contents) == 12);
static_assert(offsetof(HobbsMaintenance, hobbs_minutes) == 0 &&
              offsetof(HobbsMaintenance, hobbs_hours) == 1 &&
              offsetof(HobbsMaintenance, maint_minutes) == 3 &&
              offsetof(HobbsMaintenance, maint_hours) == 4);

} // namespace
} // namespace ems
