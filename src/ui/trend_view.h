#pragma once
// The trend window: the output registers as lines over time while the
// monitor polls them. Temperatures and setpoints share one axis in °C; the
// codes (fan stage, occupancy, digital inputs, controller state, keys) are
// steps on a second axis. The user picks the values, the span (the last 1,
// 10 or 60 minutes), pauses the picture, and saves the whole record as CSV
// or the chart as a PNG image. The chart is redrawn on a timer a few times a
// second, and only when the record gained: the poll never waits for it.

#include "base/globals.h"
#include "files/file_dialogs.h"
#include "model/trend_record.h"

#include <QWidget>

#include <array>
#include <cstdint>

class QChart;
class QChartView;
class QComboBox;
class QLabel;
class QLineSeries;
class QListWidget;
class QPushButton;
class QTimer;
class QValueAxis;

namespace rbx14 {

class TrendView final : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kRefreshMs = 250;
  // The spans offered, in minutes; the second is the start.
  static constexpr std::array<int, 3> kSpans{1, 10, 60};
  // Points of a line within the span; a longer span shows every n-th reading.
  static constexpr int kMostPoints = 600;

  TrendView(const TrendRecord& record, const Globals& globals, FileDialogs& files, bool english,
            QWidget* parent = nullptr);

  // Redraws when the record gained since the last look (the timer calls it).
  void refresh();
  void setSpanMinutes(int minutes);
  void setPaused(bool paused);
  // Whether register `index` is drawn.
  void setShown(int index, bool shown);
  bool saveCsv(const QString& path) const;
  bool savePng(const QString& path);

  QChartView* chartView() const { return view_; }
  QLineSeries* series(int index) const { return series_[static_cast<std::size_t>(index)]; }

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void redraw();
  void askCsv();
  void askPng();
  void failed(const QString& path);

  const TrendRecord& record_;
  const Globals& g_;
  FileDialogs& files_;
  bool english_;
  int spanMinutes_ = kSpans[1];
  bool paused_ = false;
  std::uint64_t drawn_ = ~std::uint64_t{0};  // the record's count when last drawn
  QChart* chart_ = nullptr;
  QChartView* view_ = nullptr;
  QValueAxis* time_ = nullptr;
  QValueAxis* degrees_ = nullptr;
  QValueAxis* codes_ = nullptr;
  std::array<QLineSeries*, kOutputFieldCount> series_{};
  QListWidget* choice_ = nullptr;
  QComboBox* span_ = nullptr;
  QPushButton* pause_ = nullptr;
  QLabel* note_ = nullptr;
  QTimer* timer_ = nullptr;
};

// A register drawn as steps on the code axis rather than a line in °C.
bool IsStepOutput(int index);
// The value a register is drawn at: the automatic fan stages 0xFF00..0xFF03
// as their stage 0..3, every other value as read.
double ChartValue(int index, double value);

}  // namespace rbx14
