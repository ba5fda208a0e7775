#include "base/numbers.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

namespace rbx14 {

std::optional<double> ParseDecimal(QStringView text, QChar sep) {
  text = text.trimmed();
  if (text.isEmpty()) return std::nullopt;
  std::string ascii;
  ascii.reserve(static_cast<std::size_t>(text.size()));
  qsizetype i = 0;
  if (text[0] == u'-' || text[0] == u'+') {
    ascii += static_cast<char>(text[0].unicode());
    ++i;
  }
  bool digits = false;
  bool separator = false;
  for (; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c >= u'0' && c <= u'9') {
      ascii += static_cast<char>(c.unicode());
      digits = true;
    } else if (c == sep && !separator) {
      ascii += '.';
      separator = true;
    } else {
      return std::nullopt;
    }
  }
  if (!digits) return std::nullopt;
  const double v = std::strtod(ascii.c_str(), nullptr);
  if (!std::isfinite(v)) return std::nullopt;
  return v;
}

double LeadingValue(QStringView text) {
  qsizetype i = 0;
  while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) ++i;
  std::string ascii;
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
    ascii += static_cast<char>(text[i].unicode());
    ++i;
  }
  bool point = false;
  for (; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c >= u'0' && c <= u'9') {
      ascii += static_cast<char>(c.unicode());
    } else if (c == u'.' && !point) {
      ascii += '.';
      point = true;
    } else {
      break;
    }
  }
  const double v = std::strtod(ascii.c_str(), nullptr);
  return std::isfinite(v) ? v : 0.0;
}

QString FormatDecimal(double value, QChar sep) {
  if (!std::isfinite(value)) return QStringLiteral("0");
  if (value == 0.0) return QStringLiteral("0");  // also folds -0
  // The shortest text that reads back to the same double, in plain notation.
  char buf[64];
  std::string text;
  for (int precision = 1; precision <= 17; ++precision) {
    std::snprintf(buf, sizeof buf, "%.*g", precision, value);
    if (std::strtod(buf, nullptr) == value) break;
  }
  // %g may have chosen an exponent; redo in fixed notation with as many
  // decimals as the significant digits need.
  text = buf;
  if (text.find_first_of("eE") != std::string::npos) {
    for (int decimals = 0; decimals <= 20; ++decimals) {
      std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
      if (std::strtod(buf, nullptr) == value) break;
    }
    text = buf;
  }
  QString out = QString::fromLatin1(text.c_str());
  out.replace(u'.', sep);
  return out;
}

QString FormatDecimal15(double value, QChar sep) {
  if (!std::isfinite(value)) return QStringLiteral("0");
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15g", value);
  // Read back the 15-digit value and write its shortest plain form: this
  // drops the exponent %g may choose and any trailing zeros.
  return FormatDecimal(std::strtod(buf, nullptr), sep);
}

std::optional<int> AsWholeNumber(double value) {
  if (!std::isfinite(value) || value != std::trunc(value)) return std::nullopt;
  if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) {
    return std::nullopt;
  }
  return static_cast<int>(value);
}

std::int64_t RoundHalfEven(double value) {
  if (!std::isfinite(value)) return 0;
  constexpr double kMax = 9.2e18;
  if (value > kMax) return static_cast<std::int64_t>(kMax);
  if (value < -kMax) return -static_cast<std::int64_t>(kMax);
  double whole = std::floor(value);
  const double diff = value - whole;
  if (diff > 0.5 || (diff == 0.5 && std::fmod(whole, 2.0) != 0.0)) whole += 1.0;
  return static_cast<std::int64_t>(whole);
}

QString NumberWithSignSpace(std::int64_t value) {
  const QString digits = QString::number(value);
  return value >= 0 ? QStringLiteral(" ") + digits : digits;
}

}  // namespace rbx14
