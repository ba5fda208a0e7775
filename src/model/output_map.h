#pragma once
// The output registers from 0x0100 as the monitor shows them: field
// txt_data_out(k) is output register 0x0100 + k, read-only. Three of them
// carry a code that a text beside the field names.

#include "base/texts.h"

#include <array>
#include <span>

namespace rbx14 {

enum class OutputRead : int {
  kUnsigned,
  kSignedTenths,  // the register holds ten times the shown value
};

// A code and the message table entry that names it.
struct ValueText {
  int value;
  int msgText;
};

namespace value_texts {
inline constexpr std::array<ValueText, 8> kFanStage{{
    {0, 0}, {1, 1}, {2, 2}, {3, 3}, {0xFF00, 13}, {0xFF01, 14}, {0xFF02, 15}, {0xFF03, 16},
}};
inline constexpr std::array<ValueText, 2> kOccupancy{{{0, 5}, {1, 6}}};
inline constexpr std::array<ValueText, 5> kController{{{0, 24}, {1, 25}, {2, 26}, {3, 27}, {4, 28}}};
}  // namespace value_texts

struct OutputField {
  int index;
  texts::LocalText caption;
  OutputRead read;
  std::span<const ValueText> texts;  // empty: no text beside the field
};

inline constexpr int kOutputFieldCount = 14;

namespace output_rows {
using texts::LocalText;
constexpr LocalText kOffset{u"Sollwert Offset:", u"Setpoint offset:"};
constexpr LocalText kEffective{u"Sollwert Effektiv:", u"Setpoint effective:"};
}  // namespace output_rows

inline constexpr std::array<OutputField, kOutputFieldCount> kOutputFields = [] {
  using namespace output_rows;
  using enum OutputRead;
  return std::array<OutputField, kOutputFieldCount>{{
      // Register 0 carries the four keys as bits 3..0.
      {0, {u"BT_read_0:", nullptr}, kUnsigned, {}},
      {1, {u"BT_read_1:", nullptr}, kUnsigned, {}},
      {2, {u"Temperatur:", u"Temperature:"}, kSignedTenths, {}},
      {3, kOffset, kSignedTenths, {}},
      {4, kEffective, kSignedTenths, {}},
      {5, kOffset, kSignedTenths, {}},
      {6, kEffective, kSignedTenths, {}},
      {7, {u"Lüfterstufe:", u"Fan stage:"}, kUnsigned, value_texts::kFanStage},
      {8, {u"Raumbelegung:", u"Room occupancy:"}, kUnsigned, value_texts::kOccupancy},
      {9, {u"Digital Eingang 1:", u"Digital input 1:"}, kUnsigned, {}},
      {10, {u"Digital Eingang 2:", u"Digital input 2:"}, kUnsigned, {}},
      // The device type may give 11 and 12 other captions.
      {11, {u"Digital Eingang 3:", u"Digital input 3:"}, kUnsigned, {}},
      {12, {u"Digital Eingang 4:", u"Digital input 4:"}, kUnsigned, {}},
      {13, {u"Regler:", u"Controller:"}, kUnsigned, value_texts::kController},
  }};
}();

// The output register that shows the room temperature, and the one with the
// keys.
inline constexpr int kKeysOutput = 0;
inline constexpr int kTemperatureOutput = 2;

static_assert([] {
  for (std::size_t i = 0; i < kOutputFields.size(); ++i) {
    if (kOutputFields[i].index != static_cast<int>(i)) return false;
  }
  return true;
}());

}  // namespace rbx14
