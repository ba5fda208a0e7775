#include "ui/trend_view.h"

#include "base/texts.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QPixmap>
#include <QLabel>
#include <QLineSeries>
#include <QListWidget>
#include <QPushButton>
#include <QSaveFile>
#include <QTimer>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace rbx14 {
namespace {

// Shown when the window opens: the room temperature, both effective
// setpoints, the fan stage and the occupancy.
constexpr std::array<int, 5> kShownAtStart{2, 4, 6, 7, 8};
constexpr int kFanStageOutput = 7;
// A colour of its own for each register; the list of values beside the chart
// shows it, so the chart needs no legend of its own.
constexpr std::array<QRgb, kOutputFieldCount> kColours{
    0x7f7f7f, 0xbcbd22, 0xd62728, 0x9467bd, 0x1f77b4, 0x8c564b, 0x17becf,
    0x2ca02c, 0xff7f0e, 0xe377c2, 0x393b79, 0x637939, 0x843c39, 0x000000,
};

QIcon Swatch(QColor colour) {
  QPixmap pixmap(12, 12);
  pixmap.fill(colour);
  return QIcon(pixmap);
}

}  // namespace

bool IsStepOutput(int index) {
  return kOutputFields[static_cast<std::size_t>(index)].read != OutputRead::kSignedTenths;
}

double ChartValue(int index, double value) {
  if (index == kFanStageOutput && value >= 0xFF00 && value <= 0xFF03) return value - 0xFF00;
  return value;
}

TrendView::TrendView(const TrendRecord& record, const Globals& globals, FileDialogs& files,
                     bool english, QWidget* parent)
    : QWidget(parent, Qt::Window), record_(record), g_(globals), files_(files), english_(english) {
  setObjectName(QStringLiteral("TrendView"));
  setWindowTitle(texts::kTrendTitle.in(english_));
  resize(1000, 560);

  chart_ = new QChart();
  chart_->legend()->hide();
  time_ = new QValueAxis(chart_);
  time_->setTitleText(texts::kTrendAxisTime.in(english_));
  time_->setLabelFormat(QStringLiteral("%.0f"));
  degrees_ = new QValueAxis(chart_);
  degrees_->setTitleText(texts::kTrendAxisTemperature.in(english_));
  degrees_->setLabelFormat(QStringLiteral("%.1f"));
  codes_ = new QValueAxis(chart_);
  codes_->setTitleText(texts::kTrendAxisCodes.in(english_));
  codes_->setLabelFormat(QStringLiteral("%.0f"));
  chart_->addAxis(time_, Qt::AlignBottom);
  chart_->addAxis(degrees_, Qt::AlignLeft);
  chart_->addAxis(codes_, Qt::AlignRight);
  for (int k = 0; k < kOutputFieldCount; ++k) {
    auto* line = new QLineSeries(chart_);
    QString name = OutputName(k, english_);
    const QString unit = OutputUnit(kOutputFields[static_cast<std::size_t>(k)]);
    if (!unit.isEmpty()) name += QStringLiteral(" [%1]").arg(unit);
    line->setName(name);
    QPen pen(QColor(kColours[static_cast<std::size_t>(k)]));
    pen.setWidthF(IsStepOutput(k) ? 1.5 : 2.0);
    line->setPen(pen);
    chart_->addSeries(line);
    line->attachAxis(time_);
    line->attachAxis(IsStepOutput(k) ? codes_ : degrees_);
    series_[static_cast<std::size_t>(k)] = line;
  }
  view_ = new QChartView(chart_, this);
  view_->setObjectName(QStringLiteral("TrendChart"));
  view_->setRenderHint(QPainter::Antialiasing, false);

  choice_ = new QListWidget(this);
  choice_->setObjectName(QStringLiteral("TrendValues"));
  for (int k = 0; k < kOutputFieldCount; ++k) {
    auto* item = new QListWidgetItem(Swatch(QColor(kColours[static_cast<std::size_t>(k)])),
                                     series_[static_cast<std::size_t>(k)]->name(), choice_);
    item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
    const bool shown = std::find(kShownAtStart.begin(), kShownAtStart.end(), k) != kShownAtStart.end();
    item->setCheckState(shown ? Qt::Checked : Qt::Unchecked);
    series_[static_cast<std::size_t>(k)]->setVisible(shown);
  }
  choice_->setMaximumWidth(260);
  connect(choice_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
    setShown(choice_->row(item), item->checkState() == Qt::Checked);
  });

  span_ = new QComboBox(this);
  span_->setObjectName(QStringLiteral("TrendSpan"));
  for (int minutes : kSpans) span_->addItem(texts::kTrendMinutes.in(english_).arg(minutes), minutes);
  span_->setCurrentIndex(1);
  connect(span_, &QComboBox::currentIndexChanged, this,
          [this](int i) { setSpanMinutes(span_->itemData(i).toInt()); });
  pause_ = new QPushButton(texts::kTrendPause.in(english_), this);
  pause_->setObjectName(QStringLiteral("TrendPause"));
  pause_->setCheckable(true);
  connect(pause_, &QPushButton::toggled, this, &TrendView::setPaused);
  auto* csv = new QPushButton(texts::kTrendSaveCsv.in(english_), this);
  csv->setObjectName(QStringLiteral("TrendSaveCsv"));
  connect(csv, &QPushButton::clicked, this, &TrendView::askCsv);
  auto* png = new QPushButton(texts::kTrendSavePng.in(english_), this);
  png->setObjectName(QStringLiteral("TrendSavePng"));
  connect(png, &QPushButton::clicked, this, &TrendView::askPng);
  note_ = new QLabel(this);
  note_->setObjectName(QStringLiteral("TrendNote"));

  auto* bar = new QHBoxLayout();
  bar->addWidget(new QLabel(texts::kTrendSpan.in(english_), this));
  bar->addWidget(span_);
  bar->addWidget(pause_);
  bar->addStretch(1);
  bar->addWidget(csv);
  bar->addWidget(png);
  auto* side = new QVBoxLayout();
  side->addWidget(new QLabel(texts::kTrendValues.in(english_), this));
  side->addWidget(choice_, 1);
  auto* middle = new QHBoxLayout();
  middle->addLayout(side);
  middle->addWidget(view_, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(bar);
  layout->addLayout(middle, 1);
  layout->addWidget(note_);

  timer_ = new QTimer(this);
  timer_->setInterval(kRefreshMs);
  connect(timer_, &QTimer::timeout, this, &TrendView::refresh);
  redraw();
}

void TrendView::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  refresh();
  timer_->start();
}

void TrendView::hideEvent(QHideEvent* event) {
  timer_->stop();
  QWidget::hideEvent(event);
}

void TrendView::refresh() {
  if (paused_ || record_.appended() == drawn_) return;
  redraw();
}

void TrendView::setSpanMinutes(int minutes) {
  spanMinutes_ = minutes;
  const int i = span_->findData(minutes);
  if (i >= 0 && i != span_->currentIndex()) span_->setCurrentIndex(i);
  redraw();
}

void TrendView::setPaused(bool paused) {
  paused_ = paused;
  if (pause_->isChecked() != paused) pause_->setChecked(paused);
  if (!paused) redraw();
  note_->setText(paused ? texts::kTrendPausedNote.in(english_)
                        : texts::kTrendReadings.in(english_).arg(record_.size()));
}

void TrendView::setShown(int index, bool shown) {
  if (index < 0 || index >= kOutputFieldCount) return;
  series_[static_cast<std::size_t>(index)]->setVisible(shown);
  QListWidgetItem* item = choice_->item(index);
  const Qt::CheckState state = shown ? Qt::Checked : Qt::Unchecked;
  if (item->checkState() != state) item->setCheckState(state);
  redraw();
}

void TrendView::redraw() {
  drawn_ = record_.appended();
  const std::size_t n = record_.size();
  note_->setText(n == 0 ? texts::kTrendNoReading.in(english_)
                        : paused_ ? texts::kTrendPausedNote.in(english_)
                                  : texts::kTrendReadings.in(english_).arg(n));
  time_->setRange(-spanMinutes_, 0);
  // Ticks a quarter of a minute, one minute or five minutes apart.
  time_->setTickCount(spanMinutes_ == 1 ? 5 : spanMinutes_ == 10 ? 11 : 13);
  time_->setLabelFormat(spanMinutes_ == 1 ? QStringLiteral("%.2f") : QStringLiteral("%.0f"));
  // The readings within the span, times in minutes before the last one.
  std::size_t first = n;
  const std::int64_t lastMs = n > 0 ? record_.at(n - 1).timeMs : 0;
  const std::int64_t fromMs = lastMs - static_cast<std::int64_t>(spanMinutes_) * 60'000;
  while (first > 0 && record_.at(first - 1).timeMs >= fromMs) --first;
  const std::size_t count = n - first;
  const std::size_t stride = std::max<std::size_t>(1, count / kMostPoints);
  const auto x = [&](std::size_t i) {
    return static_cast<double>(record_.at(i).timeMs - lastMs) / 60'000.0;
  };

  double low = 1e300;
  double high = -1e300;
  double codesHigh = 4;
  for (int k = 0; k < kOutputFieldCount; ++k) {
    QLineSeries* line = series_[static_cast<std::size_t>(k)];
    if (!line->isVisible()) continue;
    const auto kk = static_cast<std::size_t>(k);
    QList<QPointF> points;
    if (IsStepOutput(k)) {
      // A code changes seldom: a point where it changes, and the span's ends.
      double last = std::nan("");
      for (std::size_t i = first; i < n; ++i) {
        const double v = ChartValue(k, record_.at(i).values[kk]);
        if (std::isnan(v)) continue;
        if (v != last) {
          if (!std::isnan(last)) points.append({x(i), last});
          points.append({x(i), v});
          last = v;
          codesHigh = std::max(codesHigh, v);
        }
      }
      if (!std::isnan(last)) points.append({0.0, last});
    } else {
      for (std::size_t i = first; i < n; i += stride) {
        const double v = record_.at(i).values[kk];
        if (std::isnan(v)) continue;
        points.append({x(i), v});
        low = std::min(low, v);
        high = std::max(high, v);
      }
      if (count > 0 && (count - 1) % stride != 0) {
        const double v = record_.at(n - 1).values[kk];
        if (!std::isnan(v)) points.append({0.0, v});
      }
    }
    line->replace(points);
  }
  if (low > high) {
    low = 15;
    high = 25;
  }
  // Whole degrees around the values, at least two apart.
  low = std::floor(low - 0.5);
  high = std::ceil(high + 0.5);
  high = std::max(high, low + 2);
  degrees_->setRange(low, high);
  // A tick on every degree while that leaves them readable, else nice steps.
  if (high - low <= 10) {
    degrees_->setTickCount(static_cast<int>(high - low) + 1);
  } else {
    degrees_->applyNiceNumbers();
  }
  // Whole numbers on the code axis, one step of room below and above.
  const double top = std::ceil(codesHigh) + 1;
  codes_->setRange(-1, top);
  codes_->setTickCount(top <= 7 ? static_cast<int>(top) + 2 : 2);
}

bool TrendView::saveCsv(const QString& path) const {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  const QByteArray csv = TrendCsv(record_, english_, g_.decimalSep());
  return file.write(csv) == csv.size() && file.commit();
}

bool TrendView::savePng(const QString& path) {
  // The chart as it stands, at the size it is shown.
  return view_->grab().save(path, "PNG");
}

void TrendView::askCsv() {
  const auto name = files_.saveFile(QStringLiteral("trend.csv"), texts::kTrendCsvFilter.in(english_));
  if (name && !saveCsv(*name)) failed(*name);
}

void TrendView::askPng() {
  const auto name = files_.saveFile(QStringLiteral("trend.png"), texts::kTrendPngFilter.in(english_));
  if (name && !savePng(*name)) failed(*name);
}

void TrendView::failed(const QString& path) {
  note_->setText(texts::kTrafficSaveFailed.in(english_).arg(path));
}

}  // namespace rbx14
