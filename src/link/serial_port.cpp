#include "link/serial_port.h"

#include <QStringList>

namespace rbx14 {

std::optional<PortSettings> ParsePortSettings(const QString& text) {
  const QStringList parts = text.split(u',');
  if (parts.size() != 4) return std::nullopt;
  PortSettings s;
  bool ok = false;
  s.baudRate = parts[0].trimmed().toInt(&ok);
  if (!ok || s.baudRate <= 0) return std::nullopt;
  const QString parity = parts[1].trimmed().toUpper();
  if (parity.size() != 1 || !QStringLiteral("NEOMS").contains(parity)) return std::nullopt;
  s.parity = static_cast<char>(parity[0].unicode());
  s.dataBits = parts[2].trimmed().toInt(&ok);
  if (!ok || s.dataBits < 5 || s.dataBits > 8) return std::nullopt;
  const QString stop = parts[3].trimmed();
  if (stop == u"1") {
    s.stopBits = 1;
  } else if (stop == u"2" || stop == u"1.5") {
    // A line with 1.5 stop bits is served with two: the receiver of either
    // kind accepts the longer pause.
    s.stopBits = 2;
  } else {
    return std::nullopt;
  }
  return s;
}

double CharacterTimeUs(const PortSettings& settings) {
  const int bits = 1 + settings.dataBits + (settings.parity == 'N' ? 0 : 1) + settings.stopBits;
  return 1e6 * bits / settings.baudRate;
}

}  // namespace rbx14
