#include "sim/modbus_slave.h"

#include "sim/live_model.h"

#include <vector>

namespace rbx14::sim {
namespace {

int Byte(const QByteArray& b, int i) { return static_cast<unsigned char>(b[i]); }
int Word(const QByteArray& b, int i) { return Byte(b, i) << 8 | Byte(b, i + 1); }

void AppendWord(QByteArray& out, int value) {
  out.append(static_cast<char>((value >> 8) & 0xFF));
  out.append(static_cast<char>(value & 0xFF));
}

QByteArray Exception(std::uint8_t function, std::uint8_t code) {
  QByteArray out;
  out.append(static_cast<char>(function | function_code::kExceptionFlag));
  out.append(static_cast<char>(code));
  return out;
}

// Coil n of a block in byte n / 8, bit n % 8: the lowest coil in the least
// significant bit.
QByteArray PackCoils(const std::vector<bool>& coils) {
  QByteArray out((static_cast<qsizetype>(coils.size()) + 7) / 8, '\0');
  for (std::size_t n = 0; n < coils.size(); ++n) {
    if (coils[n]) out[static_cast<qsizetype>(n / 8)] |= static_cast<char>(1 << (n % 8));
  }
  return out;
}

QByteArray ReadCoils(const DeviceImage& image, const QByteArray& req) {
  constexpr auto f = function_code::kReadCoils;
  if (req.size() != 5) return Exception(f, exception_code::kIllegalDataValue);
  const int start = Word(req, 1);
  const int quantity = Word(req, 3);
  if (quantity < 1 || quantity > 2000) return Exception(f, exception_code::kIllegalDataValue);
  std::vector<bool> coils;
  if (!image.readCoils(start, quantity, coils)) {
    return Exception(f, exception_code::kIllegalDataAddress);
  }
  const QByteArray packed = PackCoils(coils);
  QByteArray out;
  out.append(static_cast<char>(f));
  out.append(static_cast<char>(packed.size()));
  out.append(packed);
  return out;
}

QByteArray ReadRegisters(DeviceImage& image, const QByteArray& req, std::int64_t nowMs) {
  constexpr auto f = function_code::kReadHoldingRegisters;
  // The external-value read carries one more byte after the quantity: the
  // byte count of the answer it expects. The device takes it as a read.
  const bool withByteCount = req.size() == 6 && Byte(req, 5) == 2 * Word(req, 3);
  if (req.size() != 5 && !withByteCount) return Exception(f, exception_code::kIllegalDataValue);
  const int start = Word(req, 1);
  const int quantity = Word(req, 3);
  if (quantity < 1 || quantity > 125) return Exception(f, exception_code::kIllegalDataValue);
  if (start < kOutputFirst + kOutputCount && start + quantity > kOutputFirst) {
    UpdateOutputs(image, nowMs);
  }
  std::vector<std::uint16_t> values;
  if (!image.readRegisters(start, quantity, values)) {
    return Exception(f, exception_code::kIllegalDataAddress);
  }
  QByteArray out;
  out.append(static_cast<char>(f));
  out.append(static_cast<char>(2 * quantity));
  for (std::uint16_t v : values) AppendWord(out, v);
  return out;
}

QByteArray WriteCoils(DeviceImage& image, const QByteArray& req) {
  constexpr auto f = function_code::kWriteCoils;
  if (req.size() < 6) return Exception(f, exception_code::kIllegalDataValue);
  const int start = Word(req, 1);
  const int quantity = Word(req, 3);
  const int count = Byte(req, 5);
  if (quantity < 1 || quantity > 1968 || count != (quantity + 7) / 8 || req.size() != 6 + count) {
    return Exception(f, exception_code::kIllegalDataValue);
  }
  std::vector<bool> coils;
  for (int n = 0; n < quantity; ++n) coils.push_back(((Byte(req, 6 + n / 8) >> (n % 8)) & 1) != 0);
  if (!image.writeCoils(start, coils)) return Exception(f, exception_code::kIllegalDataAddress);
  return req.left(5);
}

QByteArray WriteRegisters(DeviceImage& image, const QByteArray& req) {
  constexpr auto f = function_code::kWriteRegisters;
  if (req.size() < 6) return Exception(f, exception_code::kIllegalDataValue);
  const int start = Word(req, 1);
  const int quantity = Word(req, 3);
  const int count = Byte(req, 5);
  if (quantity < 1 || quantity > 123 || count != 2 * quantity || req.size() != 6 + count) {
    return Exception(f, exception_code::kIllegalDataValue);
  }
  std::vector<std::uint16_t> values;
  for (int k = 0; k < quantity; ++k) values.push_back(static_cast<std::uint16_t>(Word(req, 6 + 2 * k)));
  if (!image.writeRegisters(start, values)) return Exception(f, exception_code::kIllegalDataAddress);
  return req.left(5);
}

}  // namespace

QByteArray AnswerRequest(DeviceImage& image, const QByteArray& request, std::int64_t nowMs) {
  if (request.isEmpty()) return {};
  const auto function = static_cast<std::uint8_t>(request[0]);
  switch (function) {
    case function_code::kReadCoils: return ReadCoils(image, request);
    case function_code::kReadHoldingRegisters: return ReadRegisters(image, request, nowMs);
    case function_code::kWriteCoils: return WriteCoils(image, request);
    case function_code::kWriteRegisters: return WriteRegisters(image, request);
    default: return Exception(function, exception_code::kIllegalFunction);
  }
}

}  // namespace rbx14::sim
