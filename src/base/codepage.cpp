#include "base/codepage.h"

namespace rbx14 {
namespace {

// 0x80..0x9F of Windows-1252; 0 marks the five codes it leaves undefined,
// which we pass through as the C1 control of the same code.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

}  // namespace

QChar CharFromCodePage(std::uint8_t byte) {
  if (byte >= 0x80 && byte <= 0x9F && kHighControls[byte - 0x80] != 0) {
    return QChar(kHighControls[byte - 0x80]);
  }
  return QChar(static_cast<char16_t>(byte));
}

std::uint8_t CodePageByte(QChar c) {
  const char16_t u = c.unicode();
  if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return static_cast<std::uint8_t>(u);
  for (int i = 0; i < 32; ++i) {
    const char16_t mapped = kHighControls[i] != 0 ? kHighControls[i] : static_cast<char16_t>(0x80 + i);
    if (mapped == u) return static_cast<std::uint8_t>(0x80 + i);
  }
  return '?';
}

QString FromCodePage(const QByteArray& bytes) {
  QString out;
  out.reserve(bytes.size());
  for (char b : bytes) out += CharFromCodePage(static_cast<std::uint8_t>(b));
  return out;
}

QByteArray ToCodePage(const QString& text) {
  QByteArray out;
  out.reserve(text.size());
  for (QChar c : text) out += static_cast<char>(CodePageByte(c));
  return out;
}

}  // namespace rbx14
