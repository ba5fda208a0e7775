#pragma once
// Reads a fuzz input from the front, one field after the other, so that a
// seed file can be written by hand (or by make_seeds.py) in the same order.
// Past the end every byte reads as 0 and every run of bytes as empty.

#include <QByteArray>

#include <cstddef>
#include <cstdint>

namespace rbx14::fuzz {

class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  bool empty() const { return size_ == 0; }
  std::uint8_t byte() {
    if (size_ == 0) return 0;
    --size_;
    return *data_++;
  }
  std::uint16_t word() {
    const auto high = byte();
    return static_cast<std::uint16_t>(high << 8 | byte());
  }
  QByteArray bytes(std::size_t count) {
    if (count > size_) count = size_;
    QByteArray out(reinterpret_cast<const char*>(data_), static_cast<qsizetype>(count));
    data_ += count;
    size_ -= count;
    return out;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
};

// An invariant of a fuzz target did not hold: prints what and where, then
// aborts, so that libFuzzer keeps the input that shows it.
[[noreturn]] void Violated(const char* invariant, const char* detail = "");

#define RBX14_FUZZ_CHECK(condition, detail)                                   \
  do {                                                                        \
    if (!(condition)) ::rbx14::fuzz::Violated(#condition, (detail));          \
  } while (false)

// Keeps the user's and the machine's settings out of a fuzz run: the
// settings store reads from an empty folder unless a target points it
// elsewhere.
void IsolateSettings();

}  // namespace rbx14::fuzz

// The libFuzzer entry points of a target whose whole run is one function
// taking the input, with the settings kept out of the run.
#define RBX14_FUZZ_TARGET(run)                                                      \
  extern "C" int LLVMFuzzerInitialize(int*, char***) {                              \
    ::rbx14::fuzz::IsolateSettings();                                               \
    return 0;                                                                       \
  }                                                                                 \
  extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) { \
    ::rbx14::fuzz::FuzzInput in(data, size);                                        \
    run(in);                                                                        \
    return 0;                                                                       \
  }
