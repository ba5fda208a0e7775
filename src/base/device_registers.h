#pragma once
// Where the RBX14 keeps what: the register and coil areas the program reads
// and writes, in the blocks it moves them in. The program, the bus scan, the
// command line and the simulated device all take their addresses from here.

namespace rbx14::device {

// Every register area moves in blocks of ten registers.
inline constexpr int kBlockRegisters = 10;

// Configuration registers 0..60; the blocks read and written cover 0..59.
inline constexpr int kConfigFirst = 0x0000;
inline constexpr int kConfigCount = 61;
inline constexpr int kConfigTransferred = 60;

// Configuration bits: coils 0..31.
inline constexpr int kCoilCount = 32;

// Output registers, polled as one block of 17.
inline constexpr int kOutputFirst = 0x0100;
inline constexpr int kOutputCount = 17;

// Input registers (external values, clock), written one at a time.
inline constexpr int kInputFirst = 0x0200;
inline constexpr int kInputCount = 25;
inline constexpr int kInputEnd = kInputFirst + kInputCount;  // 0x0219

// Display texts: 22 blocks of 20 characters; units: 6 blocks of three units.
inline constexpr int kTextFirst = 0x0300;
inline constexpr int kTextBlocks = 22;
inline constexpr int kTextEnd = kTextFirst + kTextBlocks * kBlockRegisters;  // 0x03DC
inline constexpr int kUnitFirst = 0x0400;
inline constexpr int kUnitBlocks = 6;
inline constexpr int kUnitsPerBlock = 3;  // four bytes each; the last two registers are spare
inline constexpr int kUnitEnd = kUnitFirst + kUnitBlocks * kBlockRegisters;  // 0x043C

// The probe: the device answers with the register the link takes as its
// delay (on this unit the cooling reset time in minutes).
inline constexpr int kBusDelayRegister = 0x0021;
// The unit's minimum response time in ms.
inline constexpr int kMinResponseTimeRegister = 15;

}  // namespace rbx14::device
