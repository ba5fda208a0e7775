#include "transactions/answer_decoding.h"

#include "base/trap.h"
#include "link/codec.h"

namespace rbx14 {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  throw RuntimeError("answer holds a character that is no hex digit");
}

unsigned HexAt(const std::string& answer, std::size_t pos, std::size_t digits) {
  if (pos + digits > answer.size()) throw RuntimeError("answer too short");
  unsigned value = 0;
  for (std::size_t i = 0; i < digits; ++i) {
    value = value * 16u + static_cast<unsigned>(HexDigit(answer[pos + i]));
  }
  return value;
}

constexpr std::size_t kDataStart = 6;

}  // namespace

std::uint16_t AnswerRegister(const std::string& answer, int k) {
  return static_cast<std::uint16_t>(HexAt(answer, kDataStart + 4 * static_cast<std::size_t>(k), 4));
}

std::uint8_t AnswerDataByte(const std::string& answer, int i) {
  return static_cast<std::uint8_t>(HexAt(answer, kDataStart + 2 * static_cast<std::size_t>(i), 2));
}

std::string AnswerFunction(const std::string& answer) {
  return answer.size() >= 4 ? answer.substr(2, 2) : std::string();
}

bool AnswerFitsRequest(const std::string& answer, const std::string& request,
                       std::size_t checkDigits) {
  // A request this receive path cannot read leaves the answer to the job.
  if (request.size() < 12) return true;
  if (answer.size() < 4 + checkDigits || answer.compare(0, 4, request, 0, 4) != 0) return false;
  const std::string function = request.substr(2, 2);
  if (function == "03" || function == "01") {
    const unsigned quantity = HexAt(request, 8, 4);
    const unsigned count = function == "03" ? 2 * quantity : (quantity + 7) / 8;
    return answer.size() == 2 * (3 + count) + checkDigits && HexAt(answer, 4, 2) == count;
  }
  if (function == "10" || function == "0F") {
    return answer.size() == 12 + checkDigits && answer.compare(4, 8, request, 4, 8) == 0;
  }
  return true;
}

}  // namespace rbx14
