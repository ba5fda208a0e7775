#include "transactions/request_builders.h"

#include "base/codepage.h"
#include "base/numbers.h"
#include "link/codec.h"

namespace rbx14 {
namespace {

constexpr int kTextBlockBytes = 20;
constexpr int kUnitBytes = 4;

std::string CharCodes(const QString& text, int maxBytes) {
  std::string out;
  for (QChar c : text.left(maxBytes)) {
    // Always two digits: a control character must not shift the bytes after it.
    out += ByteToHexStr(CodePageByte(c));
  }
  return out;
}

}  // namespace

std::string AddressPrefix(const QString& addressText) {
  const auto address = static_cast<std::int32_t>(RoundHalfEven(LeadingValue(addressText)));
  // An address above 255 gives three digits, which no device on the line
  // will take for its own; the field has no range check of its own.
  return LongToHexStr(address, 1);
}

std::string Hex16(long long value) {
  return LongToHexStr(static_cast<std::int32_t>(ToWord(value)), 2);
}

std::string ReadRequest(const QString& address, int function, int start, int quantity) {
  return AddressPrefix(address) + LongToHexStr(function, 1) + Hex16(start) + Hex16(quantity);
}

std::optional<std::string> EncodeRaw(const QString& text, QChar sep) {
  const auto value = ParseDecimal(text, sep);
  if (!value) return std::nullopt;
  return Hex16(RoundHalfEven(*value));
}

std::optional<std::string> EncodeTenths(const QString& text, QChar sep) {
  const auto value = ParseDecimal(text, sep);
  if (!value) return std::nullopt;
  return Hex16(RoundHalfEven(*value * 10.0));
}

std::string EncodeTextBlock(const QString& text) {
  std::string out = CharCodes(text, kTextBlockBytes);
  while (out.size() < 2 * kTextBlockBytes) out += "00";
  return out;
}

std::string EncodeUnit(const QString& unit) {
  // A unit has two registers, four characters; a longer unit is cut so the
  // request never carries more data than its byte count says.
  std::string out = CharCodes(unit, kUnitBytes);
  while (out.size() < 2 * kUnitBytes) out += "00";
  return out;
}

std::string EncodeBits(const int* values, int count) {
  std::string out;
  for (int n = 0; n * 8 < count; ++n) {
    unsigned byte = 0;
    for (int j = 0; j < 8 && 8 * n + j < count; ++j) {
      if (values[8 * n + j] == 1) byte |= 1u << j;
    }
    out += ByteToHexStr(static_cast<std::uint8_t>(byte));
  }
  return out;
}

}  // namespace rbx14
