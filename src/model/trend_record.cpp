#include "model/trend_record.h"

#include "base/numbers.h"
#include "model/frm_config.h"

#include <cmath>
#include <limits>

namespace rbx14 {

QString OutputCaption(int index, bool english) {
  QString caption = kOutputFields[static_cast<std::size_t>(index)].caption.in(english).trimmed();
  if (caption.endsWith(u':')) caption.chop(1);
  return caption;
}

QString OutputName(int index, bool english) {
  return QStringLiteral("0x%1 %2")
      .arg(QStringLiteral("%1").arg(0x0100 + index, 4, 16, QLatin1Char('0')).toUpper(),
           OutputCaption(index, english));
}

TrendRecord::TrendRecord(std::size_t capacity) : capacity_(capacity == 0 ? 1 : capacity) {}

void TrendRecord::take(const FrmConfig& form, QChar sep, std::int64_t nowMs) {
  TrendReading reading;
  reading.timeMs = nowMs;
  for (int k = 0; k < kOutputFieldCount; ++k) {
    const TextBox* field = form.txt_data_out.find(k);
    const auto value = field != nullptr ? ParseDecimal(field->text(), sep) : std::nullopt;
    reading.values[static_cast<std::size_t>(k)] =
        value ? *value : std::numeric_limits<double>::quiet_NaN();
  }
  append(reading);
}

void TrendRecord::append(const TrendReading& reading) {
  if (readings_.size() < capacity_) {
    readings_.push_back(reading);
  } else {
    readings_[next_] = reading;
  }
  next_ = (next_ + 1) % capacity_;
  if (count_ < capacity_) ++count_;
  ++total_;
  // A listener may remove itself; it works on a copy.
  const auto listeners = listeners_;
  for (const auto& [id, listener] : listeners) listener(reading);
}

void TrendRecord::clear() {
  readings_.clear();
  next_ = 0;
  count_ = 0;
  ++total_;
}

const TrendReading& TrendRecord::at(std::size_t i) const {
  // Until the ring is full the oldest is the first; then the one next_
  // points at is overwritten next.
  if (count_ < capacity_) return readings_[i];
  return readings_[(next_ + i) % capacity_];
}

int TrendRecord::addListener(std::function<void(const TrendReading&)> listener) {
  listeners_[++nextListener_] = std::move(listener);
  return nextListener_;
}

void TrendRecord::removeListener(int id) { listeners_.erase(id); }

QChar TrendFieldSeparator(QChar decimalSep) { return decimalSep == u',' ? u';' : u','; }

QString TrendCsvHeader(bool english, QChar decimalSep) {
  QStringList columns{english ? QStringLiteral("time [s]") : QStringLiteral("Zeit [s]")};
  for (const OutputField& field : kOutputFields) {
    QString column = OutputName(field.index, english);
    const QString unit = OutputUnit(field);
    if (!unit.isEmpty()) column += QStringLiteral(" [%1]").arg(unit);
    columns << column;
  }
  return columns.join(TrendFieldSeparator(decimalSep));
}

QString TrendCsvLine(const TrendReading& reading, QChar decimalSep) {
  QStringList columns{QString::number(static_cast<double>(reading.timeMs) / 1000.0, 'f', 3)
                          .replace(u'.', decimalSep)};
  for (const double value : reading.values) {
    // The text the monitor's field shows for the value.
    columns << (std::isnan(value) ? QString() : FormatDecimal(value, decimalSep));
  }
  return columns.join(TrendFieldSeparator(decimalSep));
}

QByteArray TrendCsv(const TrendRecord& record, bool english, QChar decimalSep) {
  QString out = TrendCsvHeader(english, decimalSep) + QStringLiteral("\r\n");
  for (std::size_t i = 0; i < record.size(); ++i) {
    out += TrendCsvLine(record.at(i), decimalSep) + QStringLiteral("\r\n");
  }
  return out.toUtf8();
}

}  // namespace rbx14
