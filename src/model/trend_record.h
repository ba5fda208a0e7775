#pragma once
// The trend of the output registers: each answer to the monitor's poll adds
// one reading, the time on the program's clock and every output register as
// the monitor shows it. The record keeps the last readings only (a ring), so
// that a poll running for days does not grow without end. The window's chart
// and export and the command line's monitor read the same record and write
// the same CSV.

#include "model/output_map.h"

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

namespace rbx14 {

struct FrmConfig;

struct TrendReading {
  std::int64_t timeMs = 0;
  // NaN where the field held no number.
  std::array<double, kOutputFieldCount> values{};
};

// One hour at a poll every 100 ms, the shortest interval the monitor takes.
inline constexpr std::size_t kTrendCapacity = 36'000;

// The unit of an output register: the registers read in tenths are room
// temperatures, setpoints and their offsets; the others are codes.
inline QString OutputUnit(const OutputField& field) {
  return field.read == OutputRead::kSignedTenths ? QStringLiteral("°C") : QString();
}

// The register's caption without its colon, e.g. "Temperature", and a name
// that tells the two setpoints apart: "0x0104 Setpoint effective".
QString OutputCaption(int index, bool english);
QString OutputName(int index, bool english);

class TrendRecord {
 public:
  explicit TrendRecord(std::size_t capacity = kTrendCapacity);

  // The monitor's fields as they are now, read with the user's separator.
  void take(const FrmConfig& form, QChar sep, std::int64_t nowMs);
  void append(const TrendReading& reading);
  void clear();

  std::size_t size() const { return count_; }
  std::size_t capacity() const { return capacity_; }
  // Oldest first.
  const TrendReading& at(std::size_t i) const;
  // How many readings were ever appended: a view redraws when it changed.
  std::uint64_t appended() const { return total_; }

  // Told of every new reading.
  int addListener(std::function<void(const TrendReading&)> listener);
  void removeListener(int id);

 private:
  std::size_t capacity_;
  std::vector<TrendReading> readings_;
  std::size_t next_ = 0;
  std::size_t count_ = 0;
  std::uint64_t total_ = 0;
  int nextListener_ = 0;
  std::map<int, std::function<void(const TrendReading&)>> listeners_;
};

// The CSV of the trend. With the decimal comma the fields are separated by
// ";", else by ",", so that no number is split. Lines end in CR LF.
QChar TrendFieldSeparator(QChar decimalSep);
// "time [s]" and one column per output register with its unit.
QString TrendCsvHeader(bool english, QChar decimalSep);
QString TrendCsvLine(const TrendReading& reading, QChar decimalSep);
// Header and every reading of the record.
QByteArray TrendCsv(const TrendRecord& record, bool english, QChar decimalSep);

}  // namespace rbx14
