// Texts of the Rotax 912iS engine computer's status and fault words, as the
// status and fault pages show them. The fault names are three tables of 32
// entries in 40-byte zero-padded fields (bit 0 first); unnamed bits are
// "RESERVED". Table 1 names lane A's sensor faults (fault word 0), table 2
// lane B's (word 1), table 3 the lane faults of both lanes (words 2 and 3).
#include "sensors/ecu_data.h"

namespace ems {

#define R "RESERVED"

const char ECU_FAULT_NAMES[3 * ECU_FAULT_TABLE_ENTRIES][ECU_FAULT_NAME_BYTES] = {
    // Table 1, bits 0..31.
    R, R, R, R, R, R,
    "ENGINE AMBIENT TEMPERATURE",      // 6
    R,
    "THROTTLE POSITION",               // 8
    R,
    "SENSOR DRIVE VOLTAGE 1",          // 10
    "THERMISTOR DRIVE VOLTAGE",        // 11
    "EGT CYLINDER 4",                  // 12
    "EGT CYLINDER 3",                  // 13
    "EGT CYLINDER 2",                  // 14
    "EGT CYLINDER 1",                  // 15
    "COOLANT TEMPERATURE",             // 16
    "ENGINE AMBIENT PRESSURE",         // 17
    R, R,
    "CRANK SENSOR FAULT 2",            // 20
    R,
    "ECU CURRENT",                     // 22
    "BUS VOLTAGE",                     // 23
    "SENSOR DRIVE VOLTAGE 2",          // 24
    "CRANK SENSOR FAULT 1",            // 25
    "GENERATOR SELECT CURRENT",        // 26
    "GENERATOR SELECT VOLTAGE",        // 27
    "INTERNAL TEMPERATURE 2",          // 28
    "INTERNAL TEMPERATURE 1",          // 29
    "MAP AIR TEMPERATURE",             // 30
    "MAP AIR PRESSURE",                // 31

    // Table 2, bits 0..31.
    R, R, R, R, R, R, R, R, R, R, R, R, R, R, R,
    "SENSOR DRIVE VOLTAGE 1",          // 15
    "OIL TEMPERATURE",                 // 16
    "OIL PRESSURE",                    // 17
    R, R,
    "CRANK SENSOR FAULT 2",            // 20
    R,
    "ECU CURRENT",                     // 22
    "BUS VOLTAGE",                     // 23
    "SENSOR DRIVE VOLTAGE 2",          // 24
    "CRANK SENSOR FAULT 1",            // 25
    "GENERATOR SELECT CURRENT",        // 26
    "GENERATOR SELECT VOLTAGE",        // 27
    "INTERNAL TEMPERATURE 2",          // 28
    "INTERNAL TEMPERATURE 1",          // 29
    "MAP AIR TEMPERATURE",             // 30
    "MAP AIR PRESSURE",                // 31

    // Table 3, bits 0..31.
    R, R, R,
    "RESET OCCURRED",                  // 3
    "EGT INJECTOR CYLINDER 4",         // 4
    "EGT INJECTOR CYLINDER 3",         // 5
    "EGT INJECTOR CYLINDER 2",         // 6
    "EGT INJECTOR CYLINDER 1",         // 7
    "INTERNAL FLASH CRC VERIFICATION", // 8
    R,
    "MAINTENANCE CAN BUS",             // 10
    "PILOT DISPLAY CAN BUS",           // 11
    "INTERNAL TIMER",                  // 12
    "INTERNAL LOGGING",                // 13
    "GENERATOR FAILURE",               // 14
    "INTERLANE COMMUNICATION FAILURE", // 15
    "LANE SYNCHRONIZATION",            // 16
    "WARNING LAMP LANE B",             // 17
    "WARNING LAMP LANE A",             // 18
    "NO DATA RECEIVED FROM OPPOSITE LANE", // 19
    "ENGINE SPEED LIMITING ACTIVE",    // 20
    "IGNITION CYLINDER 3/4",           // 21
    "IGNITION CYLINDER 1/2",           // 22
    "INJECTOR CYLINDER 4",             // 23
    "INJECTOR CYLINDER 3",             // 24
    "INJECTOR CYLINDER 2",             // 25
    "INJECTOR CYLINDER 1",             // 26
    "ENGINE STALL",                    // 27
    "GENERATOR SELECT SWITCH",         // 28
    "IGNITION/INJECTION DRIVER",       // 29
    "EXTERNAL FLASH",                  // 30
    "INTERNAL FLASH",                  // 31
};

#undef R

namespace {

const char* const STATUS_BIT0[2] = {"LANE IS NOT IN CONTROL OF GENERATOR", "LANE IS IN CONTROL OF GENERATOR"};
const char* const STATUS_BIT1[2] = {"POWER MODE", "ECONOMY MODE"};
const char* const STATUS_BIT2[2] = {"LANE IS COMMANDING GENERATOR B", "LANE IS COMMANDING GENERATOR A"};
const char* const WARNING_LAMP[4] = {"WARNING LAMP OFF", "WARNING LAMP FLASHING", "WARNING LAMP ON", ""};
const char* const ENGINE_SPEED[5] = {
    "",
    "ENGINE SPEED STATUS: STALL",
    "ENGINE SPEED STATUS: WAITING FOR GAP",
    "ENGINE SPEED STATUS: HALF SYNC",
    "ENGINE SPEED STATUS: FULL SYNC",
};

} // namespace

void ecu_status_texts(uint32_t status, const char* rows[ECU_STATUS_ROWS])
{
    rows[0] = STATUS_BIT0[status & 1];
    rows[1] = STATUS_BIT1[(status >> 1) & 1];
    rows[2] = STATUS_BIT2[(status >> 2) & 1];
    rows[3] = WARNING_LAMP[(status >> 4) & 3];
    const uint32_t speed = (status >> 20) & 0xF;
    rows[4] = speed <= 4 ? ENGINE_SPEED[speed] : "";
}

const char* ecu_fault_name(uint8_t word, uint8_t bit)
{
    if (word > 3 || bit >= ECU_FAULT_TABLE_ENTRIES) return "";
    const uint8_t table = word < 2 ? word : 2;
    return ECU_FAULT_NAMES[table * ECU_FAULT_TABLE_ENTRIES + bit];
}

const char* ecu_fault_prefix(uint8_t word)
{
    if (word > 3) return "";
    return (word & 1) ? "B: " : "A: ";
}

} // namespace ems
