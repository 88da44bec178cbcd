// Engine-computer data: the Rotax 912iS lane and relayed records, the choice
// of the lane that replaces the instrument's own sensors, the status and fault
// texts, and the UL Power inputs and link state.
//
// In the simulator no engine-computer link exists: the records stay zero. The
// records keep their wire layout (packed, little-endian; this build runs on a
// little-endian host only).
#pragma once
#include <bit>
#include <cstddef>
#include <cstdint>

#include "settings/settings.h"

namespace ems {

static_assert(std::endian::native == std::endian::little,
              "the engine-computer records are kept in their little-endian wire layout");


// The UL Power sensor-fault bits of the alarm words (air temperature, throttle
// position, MAP, oil temperature, position/sync sensors).
constexpr uint32_t ECU_SENSOR_FAULTS = 0x4000 | 0x8000 | 0x10000 | 0x20000 | 0x40000;

#pragma pack(push, 1)

// One Rotax 912iS lane. 77 bytes.
struct EcuLaneRecord {
    uint16_t engine_speed;        // RPM
    float flow_rate;              // fuel flow, litres per hour
    uint16_t manifold_pressure;   // hPa
    uint16_t oil_pressure;        // hundredths of analog input 2's pressure unit
    int16_t oil_temperature;      // degrees C
    int16_t coolant_temperature;  // degrees C
    int16_t egt_cht[12];          // degrees C, thermocouple channels 0..11
    uint8_t unread_38[2];         // not read
    uint8_t throttle;             // percent
    uint8_t unread_41[2];         // not read
    uint16_t ambient_pressure;    // hPa
    float battery_voltage;        // volts
    uint32_t status;              // status word (ecu_status_texts)
    float engine_hours;           // hours
    float ecu_hours;              // hours
    uint32_t faults[4];           // fault words (ecu_fault_name)
};

// The record relayed by the VEXA unit. 35 bytes; the two lanes follow it.
struct EcuRelayRecord {
    uint8_t lanes_present;        // bit 0 lane A data present, bit 1 lane B
    uint8_t unread_1;             // not read
    uint32_t status;              // status word of the lane in control
    float engine_hours;           // hours
    float ecu_hours;              // hours
    uint32_t faults[4];           // fault words
    uint8_t throttle;             // percent
    uint32_t ambient_pressure;    // hPa
};

// Everything the VEXA unit relays, as it arrives: relay record, lane A, lane B. 189 bytes.
struct EcuRecords {
    EcuRelayRecord relay;
    EcuLaneRecord lane[2];        // 0 lane A, 1 lane B
};

#pragma pack(pop)

static_assert(sizeof(EcuLaneRecord) == 77);
static_assert(offsetof(EcuLaneRecord, flow_rate) == 2);
static_assert(offsetof(EcuLaneRecord, manifold_pressure) == 6);
static_assert(offsetof(EcuLaneRecord, oil_pressure) == 8);
static_assert(offsetof(EcuLaneRecord, oil_temperature) == 10);
static_assert(offsetof(EcuLaneRecord, coolant_temperature) == 12);
static_assert(offsetof(EcuLaneRecord, egt_cht) == 14);
static_assert(offsetof(EcuLaneRecord, throttle) == 40);
static_assert(offsetof(EcuLaneRecord, ambient_pressure) == 43);
static_assert(offsetof(EcuLaneRecord, battery_voltage) == 45);
static_assert(offsetof(EcuLaneRecord, status) == 49);
static_assert(offsetof(EcuLaneRecord, engine_hours) == 53);
static_assert(offsetof(EcuLaneRecord, ecu_hours) == 57);
static_assert(offsetof(EcuLaneRecord, faults) == 61);
static_assert(sizeof(EcuRelayRecord) == 35);
static_assert(offsetof(EcuRelayRecord, status) == 2);
static_assert(offsetof(EcuRelayRecord, engine_hours) == 6);
static_assert(offsetof(EcuRelayRecord, ecu_hours) == 10);
static_assert(offsetof(EcuRelayRecord, faults) == 14);
static_assert(offsetof(EcuRelayRecord, throttle) == 30);
static_assert(offsetof(EcuRelayRecord, ambient_pressure) == 31);
static_assert(sizeof(EcuRecords) == 189);
static_assert(offsetof(EcuRecords, lane) == 35);

struct EcuState {
    uint8_t vexa_data_valid = 0; // follows "VEXA On/Off" every pass; the pages show "---" at 0
    uint8_t ul_data_valid = 0;   // UL Power ECU link alive; cleared when ul_data_timeout runs out
    uint8_t ignition_state = 0;  // 12 both ignitions on, 4 only ignition 1, 8 only ignition 2, 0 none
    EcuRecords records = {};     // Rotax records; never written in the simulator (zero)
    uint8_t rotax_data_valid = 0; // Rotax data arriving; the Rotax pages are crossed out at 0 (nothing sets it here)
    uint8_t lane_a_online = 0;   // lane A data arrive over the direct link (nothing sets it here)
    uint8_t lane_b_online = 0;   // lane B data arrive over the direct link (nothing sets it here)
    int16_t ecu_temp_c = 0;      // UL Power ECU temperature, whole degrees C
    int16_t ecu_temp = 0;        // the same in ecu_air_temp_unit (C or F)
    uint8_t ul_throttle = 0;     // UL Power throttle position, percent; no host control feeds it (stays 0)
    int16_t ul_air_temp = 0;     // UL Power intake-air temperature in ecu_air_temp_unit; no host control feeds it
};
extern EcuState ecu;

// ---- Substitution of engine-computer values for sensor values ---------------

// True when the channels take their values from the selected lane instead of
// their raw inputs: ecu_type ROTAX 912iS and ecu_connect DIRECT.
bool ecu_substitution_active();
// The lane record chosen by ecu_lane (lane A for 0, lane B otherwise).
const EcuLaneRecord& ecu_selected_lane();

// ---- Status and fault pages -------------------------------------------------

// What the status and fault pages show: the selected lane under substitution,
// the relayed record otherwise.
struct EcuStatusView {
    uint32_t status;            // status word
    float engine_hours;         // hours
    float ecu_hours;            // hours
    uint32_t ambient_pressure;  // hPa
    uint32_t faults[4];         // fault words
    uint8_t throttle;           // percent
};
EcuStatusView ecu_status_view();
// "YES"/"NO" rule of "LANE A DATA:" (lane 0) and "LANE B DATA:" (lane 1).
bool ecu_lane_present(uint8_t lane);

// Texts of a status word: the five rows of the status page (bit 0, bit 1,
// bit 2, warning lamp, engine-speed status). A row without a text is "".
constexpr size_t ECU_STATUS_ROWS = 5;
void ecu_status_texts(uint32_t status, const char* rows[ECU_STATUS_ROWS]);

// Fault names: three tables of 32 entries, 40-byte zero-padded fields, stored
// one after the other. Words 0 and 1 use tables 1 and 2, words 2 and 3 table 3.
constexpr size_t ECU_FAULT_NAME_BYTES = 40;
constexpr size_t ECU_FAULT_TABLE_ENTRIES = 32;
extern const char ECU_FAULT_NAMES[3 * ECU_FAULT_TABLE_ENTRIES][ECU_FAULT_NAME_BYTES];
// Name of bit 0..31 of fault word 0..3; "" for a word or bit out of range.
const char* ecu_fault_name(uint8_t word, uint8_t bit);
// Prefix of fault word 0..3: "A: " for words 0 and 2, "B: " for 1 and 3.
const char* ecu_fault_prefix(uint8_t word);

// ---- UL Power value inputs, run by the host's slider handlers ---------------

// "Oil Temp:", 0.1 degree C: aux_temp_c[0] / aux_temp[0] (display units,
// clamped -99..999); outside the hold-off its maximum and alarm bit 0x400.
void ul_oil_temp_input(uint16_t v);
// "Fuel Press:", 0.1 bar: fuel_pressure in the unit of fuel_pressure_cfg,
// clamped 0..999; outside the hold-off its maximum and alarm bit 0x100.
void ul_fuel_pressure_input(uint16_t v);
// "ECU Temp:", 0.1 degree C: ecu_temp_c and ecu_temp.
void ul_ecu_temp_input(uint16_t v);

} // namespace ems
