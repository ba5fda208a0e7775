#pragma once
// Where a parameter file keeps what. Fourteen header lines, then one data
// line ("name number ;label;value") per configuration register, configuration
// bit, display text and unit, in the order and the counts of the register
// map. The writer, the window's load, the command line's check and
// comparison and the simulated device's image all walk this one table.

#include "base/device_registers.h"

#include <array>
#include <optional>

namespace rbx14::file_layout {

// The header, line by line.
enum class Header { kEmpty, kMaker, kProgram, kVersion, kTimestamp, kBaudRate, kMode, kParity,
                    kAddress, kSeparatorNote };
inline constexpr std::array<Header, 14> kHeader{
    Header::kMaker,    Header::kEmpty,  Header::kProgram, Header::kEmpty,   Header::kVersion,
    Header::kTimestamp, Header::kEmpty, Header::kBaudRate, Header::kMode,   Header::kParity,
    Header::kAddress,  Header::kEmpty,  Header::kSeparatorNote, Header::kEmpty};

enum class Section { kRegister, kBit, kText, kUnit };

// A run of data lines: entry i (register i, bit i, text i, unit i) is on
// line `firstLine + i` and its name carries `firstNumber + i`.
struct Block {
  Section section;
  int firstLine;  // 1-based
  int count;
  int firstNumber;

  constexpr int line(int index) const { return firstLine + index; }
  constexpr int end() const { return firstLine + count; }  // the line after the block
  constexpr bool holds(int lineNumber) const { return lineNumber >= firstLine && lineNumber < end(); }
};

// Registers and texts are numbered from one above their address ("Register
// 769" is 0x0300), units by their address ("Register 1024" is 0x0400).
inline constexpr Block kRegisters{Section::kRegister, static_cast<int>(kHeader.size()) + 1,
                                  device::kConfigCount, device::kConfigFirst + 1};
inline constexpr Block kBits{Section::kBit, kRegisters.end(), device::kCoilCount, 1};
inline constexpr Block kTexts{Section::kText, kBits.end(), device::kTextBlocks,
                              device::kTextFirst + 1};
inline constexpr Block kUnits{Section::kUnit, kTexts.end(),
                              device::kUnitBlocks * device::kUnitsPerBlock, device::kUnitFirst};
inline constexpr std::array<Block, 4> kBlocks{kRegisters, kBits, kTexts, kUnits};

inline constexpr int kLineCount = kUnits.end() - 1;
static_assert(kLineCount == 147);

// Registers 0 and 1 (device coding, firmware) belong to the device: a file
// carries them, loading and comparing start after them.
inline constexpr int kFirstLoadedRegister = 2;
// Register 60 lies beyond the blocks the device is read and written in.
inline constexpr int kUntransferredRegisterLine = kRegisters.line(device::kConfigTransferred);

// What a data line holds: its block and the entry's index in it.
struct Place {
  Block block;
  int index;
};
constexpr std::optional<Place> PlaceOf(int lineNumber) {
  for (const Block& block : kBlocks) {
    if (block.holds(lineNumber)) return Place{block, lineNumber - block.firstLine};
  }
  return std::nullopt;
}

}  // namespace rbx14::file_layout

namespace rbx14 {

// The file's length and the lines (1-based) at which the blocks start.
inline constexpr int kParameterFileLines = file_layout::kLineCount;
inline constexpr int kFirstDataLine = file_layout::kRegisters.firstLine;
inline constexpr int kFirstBitLine = file_layout::kBits.firstLine;
inline constexpr int kFirstTextLine = file_layout::kTexts.firstLine;
inline constexpr int kFirstUnitLine = file_layout::kUnits.firstLine;

}  // namespace rbx14
