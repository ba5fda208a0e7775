#include "sim/factory_image.h"

namespace rbx14::sim {

// Tenths registers (16..24, 30, 32, 34..36) carry the value times ten.
const std::array<std::int16_t, 61> kFactoryConfig{
    1409,  // 0 device coding
    112,   // 1 firmware version 1.12
    9,     // 2 device type VX9: controller with fan stages
    1,     // 3 location identifier
    40,    // 4 backlight without button actuation
    200,   // 5 backlight while a button is actuated
    0x08,  // 6 button 1: setpoint plus
    0x09,  // 7 button 2: setpoint minus
    0x10,  // 8 button 3: fan stage plus with auto
    0x22,  // 9 button 4: toggle occupancy
    2,     // 10 weekday display: German
    2,     // 11 date display: German
    1,     // 12 time display: shown
    0,     // 13 24-hour clock
    5,     // 14 display update interval, s
    10,    // 15 minimum response time, ms
    0,     // 16 temperature offset, K
    30,    // 17 setpoint 1 upper range 3.0 K
    -30,   // 18 setpoint 1 lower range -3.0 K
    5,     // 19 setpoint 1 step 0.5 K
    210,   // 20 setpoint 1 base 21.0 °C
    20,    // 21 setpoint 2 upper range 2.0 K
    -20,   // 22 setpoint 2 lower range -2.0 K
    5,     // 23 setpoint 2 step 0.5 K
    240,   // 24 setpoint 2 base 24.0 °C
    3,     // 25 fan stages
    0x03,  // 26 input 1: window contact, normally closed
    0x14,  // 27 input 2: occupancy, normally open
    0x00,  // 28 input 3: no function
    0x00,  // 29 input 4: no function
    20,    // 30 heating Xp 2.0 K
    15,    // 31 heating Tn, min
    20,    // 32 cooling Xp 2.0 K
    5,     // 33 cooling Tn, min; also the bus delay in the probe answer
    20,    // 34 night setback 2.0 K
    10,    // 35 dead zone 1.0 K
    50,    // 36 frost protection 5.0 K
    100,   // 37 heating output max, %
    0,     // 38 heating output min, %
    100,   // 39 cooling output max, %
    0,     // 40 cooling output min, %
    10,    // 41 PWM cycle, min
    60,    // 42 night setback after, min
    3,     // 43 control mode: heating and cooling
    30, 60, 90,  // 44..46 heating fan stage thresholds, %
    30, 60, 90,  // 47..49 cooling fan stage thresholds, %
    0,     // 50 heating minimum fan stage
    0,     // 51 cooling minimum fan stage
    0, 0, 0, 0, 0, 0, 0, 0, 0,  // 52..60 reserved
};

const std::array<const char*, 22> kFactoryTexts{
    "Fenster offen", "Taupunkt", "St\xF6rung", "Raum belegt", "Raum frei",
    "Heizen", "K\xFChlen", "Frostschutz", "Wartung", "Filter pr\xFC" "fen",
    "Alarm 1", "Alarm 2", "Alarm 3", "Alarm 4", "Eco", "Komfort",
    "Standby", "Nacht", "Party", "Urlaub", "Service", "Text 22",
};

// Three units per block of ten registers; units 3..5 take three characters.
const std::array<const char*, 18> kFactoryUnits{
    "\xB0" "C", "%", "ppm", "K", "%rH", "lx", "Pa", "V", "mA",
    "kW", "m3h", "bar", "min", "h", "\xB0" "F", "W", "A", "s",
};

const std::array<RegisterValue, 11> kFactoryInputs{{
    {0x0200, 0},       // seconds
    {0x0201, 0},       // minutes
    {0x0202, 12},      // hours
    {0x0203, 1},       // day
    {0x0204, 1},       // month
    {0x0205, 26},      // year
    {0x020D, 210},     // basic setpoint 1: the base after reset
    {0x020E, 240},     // basic setpoint 2
    {0x0210, 1},       // room occupied
    {0x0215, 3},       // controller: automatic
    {0x0218, 0x7FFF},  // external temperature: none supplied (3276.7)
}};

const std::array<std::uint16_t, 12> kFactoryCoilsSet{
    0,  5, 6, 9, 11, 12,  // show temperature, setpoint 1, time, occupancy, fan
    16, 21, 24,           // tenths digits, degrees Celsius
    28, 29, 30,           // occupied after reset, wake by key, keep occupancy
};

}  // namespace rbx14::sim
