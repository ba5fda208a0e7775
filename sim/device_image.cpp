#include "sim/device_image.h"

#include "sim/factory_image.h"

#include <cstring>

namespace rbx14::sim {
namespace {

// Characters packed two to a register, the first in the high byte; the rest
// of the block is zero.
void PackText(std::array<std::uint16_t, kRegisterSpace>& regs, int first, const char* text,
              int registers) {
  const auto length = static_cast<int>(std::strlen(text));
  for (int k = 0; k < registers; ++k) {
    const int hi = 2 * k < length ? static_cast<unsigned char>(text[2 * k]) : 0;
    const int lo = 2 * k + 1 < length ? static_cast<unsigned char>(text[2 * k + 1]) : 0;
    regs[static_cast<std::size_t>(first + k)] = static_cast<std::uint16_t>(hi << 8 | lo);
  }
}

}  // namespace

DeviceImage::DeviceImage() { loadFactoryValues(); }

void DeviceImage::loadFactoryValues() {
  for (std::size_t i = 0; i < kFactoryConfig.size(); ++i) {
    registers_[kConfigFirst + i] = static_cast<std::uint16_t>(kFactoryConfig[i]);
  }
  for (std::size_t k = 0; k < kFactoryTexts.size(); ++k) {
    PackText(registers_, kTextFirst + static_cast<int>(k) * kBlockRegisters, kFactoryTexts[k],
             kBlockRegisters);
  }
  // A unit block holds three units of two registers each, then four zeros.
  for (std::size_t u = 0; u < kFactoryUnits.size(); ++u) {
    const int block = static_cast<int>(u / 3);
    const int slot = static_cast<int>(u % 3);
    PackText(registers_, kUnitFirst + block * kBlockRegisters + 2 * slot, kFactoryUnits[u], 2);
  }
  for (const RegisterValue& r : kFactoryInputs) registers_[r.address] = r.value;
  for (std::uint16_t c : kFactoryCoilsSet) coils_[c] = true;
}

std::uint16_t DeviceImage::reg(std::uint16_t address) const {
  return address < kRegisterSpace ? registers_[address] : 0;
}

void DeviceImage::setReg(std::uint16_t address, std::uint16_t value) {
  if (address < kRegisterSpace) registers_[address] = value;
}

bool DeviceImage::coil(std::uint16_t address) const {
  return address < kCoilSpace && coils_[address];
}

void DeviceImage::setCoil(std::uint16_t address, bool on) {
  if (address < kCoilSpace) coils_[address] = on;
}

QByteArray DeviceImage::textBytes(std::uint16_t firstRegister) const {
  QByteArray out;
  for (int k = 0; k < kBlockRegisters; ++k) {
    const std::uint16_t v = reg(static_cast<std::uint16_t>(firstRegister + k));
    out.append(static_cast<char>(v >> 8));
    out.append(static_cast<char>(v & 0xFF));
  }
  return out;
}

void DeviceImage::setTextBytes(std::uint16_t firstRegister, const QByteArray& bytes) {
  for (int k = 0; k < kBlockRegisters; ++k) {
    const int hi = 2 * k < bytes.size() ? static_cast<unsigned char>(bytes[2 * k]) : 0;
    const int lo = 2 * k + 1 < bytes.size() ? static_cast<unsigned char>(bytes[2 * k + 1]) : 0;
    setReg(static_cast<std::uint16_t>(firstRegister + k), static_cast<std::uint16_t>(hi << 8 | lo));
  }
}

bool DeviceImage::readRegisters(int first, int quantity, std::vector<std::uint16_t>& out) const {
  if (!Covered(kRegisterAreas, first, quantity, Operation::Read)) return false;
  out.clear();
  for (int a = first; a < first + quantity; ++a) out.push_back(registers_[static_cast<std::size_t>(a)]);
  return true;
}

bool DeviceImage::writeRegisters(int first, const std::vector<std::uint16_t>& values) {
  const auto quantity = static_cast<int>(values.size());
  if (!Covered(kRegisterAreas, first, quantity, Operation::Write)) return false;
  for (int k = 0; k < quantity; ++k) {
    registers_[static_cast<std::size_t>(first + k)] = values[static_cast<std::size_t>(k)];
  }
  return true;
}

bool DeviceImage::readCoils(int first, int quantity, std::vector<bool>& out) const {
  if (!Covered(kCoilAreas, first, quantity, Operation::Read)) return false;
  out.clear();
  for (int a = first; a < first + quantity; ++a) out.push_back(coils_[static_cast<std::size_t>(a)]);
  return true;
}

bool DeviceImage::writeCoils(int first, const std::vector<bool>& values) {
  const auto quantity = static_cast<int>(values.size());
  if (!Covered(kCoilAreas, first, quantity, Operation::Write)) return false;
  for (int k = 0; k < quantity; ++k) {
    coils_[static_cast<std::size_t>(first + k)] = values[static_cast<std::size_t>(k)];
  }
  return true;
}

}  // namespace rbx14::sim
