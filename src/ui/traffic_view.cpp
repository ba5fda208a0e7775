#include "ui/traffic_view.h"

#include "base/texts.h"

#include <QApplication>
#include <QBrush>
#include <QClipboard>
#include <QColor>
#include <QFile>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

namespace rbx14 {
namespace {

// The bytes of a long frame are cut (the tooltip has them all); the content
// gets the rest of the width.
constexpr int kColumnWidths[kTrafficColumns] = {90, 105, 340, 0, 105};  // 0: stretches

const char* const kCountNames[] = {"TrafficRequests", "TrafficAnswers",         "TrafficRepeats",
                                   "TrafficTimeouts", "TrafficChecksumErrors", "TrafficOtherAddresses"};

}  // namespace

TrafficTableModel::TrafficTableModel(const TrafficLog& log, bool english, QObject* parent)
    : QAbstractTableModel(parent), log_(log), english_(english) {
  first_ = end_ = log_.firstNumber();
  catchUp();
}

int TrafficTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(end_ - first_);
}

int TrafficTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kTrafficColumns;
}

void TrafficTableModel::catchUp() {
  const std::uint64_t newFirst = log_.firstNumber();
  const std::uint64_t newEnd = log_.endNumber();
  if (newFirst > first_) {
    // The ring dropped its oldest, or the log was cleared.
    const std::uint64_t gone = std::min(newFirst, end_) - first_;
    if (gone > 0) {
      beginRemoveRows({}, 0, static_cast<int>(gone) - 1);
      first_ += gone;
      endRemoveRows();
    }
    first_ = newFirst;
    end_ = std::max(end_, newFirst);
  }
  if (newEnd > end_) {
    const int rows = rowCount();
    beginInsertRows({}, rows, rows + static_cast<int>(newEnd - end_) - 1);
    end_ = newEnd;
    endInsertRows();
  }
}

int TrafficTableModel::logIndex(int row) const {
  const std::uint64_t number = first_ + static_cast<std::uint64_t>(row);
  if (row < 0 || number < log_.firstNumber() || number >= log_.endNumber()) return -1;
  return static_cast<int>(number - log_.firstNumber());
}

QVariant TrafficTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  // Between two catch-ups the log may have dropped a row still shown here.
  const TappedFrame* frame = log_.numbered(first_ + static_cast<std::uint64_t>(index.row()));
  if (frame == nullptr) return {};
  const auto column = static_cast<TrafficColumn>(index.column());
  switch (role) {
    case Qt::DisplayRole:
      return log_.cell(*frame, column, english_);
    case Qt::ToolTipRole:
      // Long frames and contents are cut in the cell.
      if (column == TrafficColumn::Bytes || column == TrafficColumn::Summary) {
        return log_.cell(*frame, column, english_);
      }
      return {};
    case Qt::TextAlignmentRole:
      if (column == TrafficColumn::Time) return QVariant(Qt::AlignRight | Qt::AlignVCenter);
      return {};
    case Qt::FontRole:
      if (column == TrafficColumn::Bytes) return QFontDatabase::systemFont(QFontDatabase::FixedFont);
      return {};
    case Qt::ForegroundRole:
      if (frame->check == TappedFrame::Check::Bad) return QBrush(QColor(0xB0, 0x00, 0x00));
      if (frame->check == TappedFrame::Check::OtherAddress) return QBrush(QColor(0xA0, 0x60, 0x00));
      if (frame->direction == TappedFrame::Direction::Received) return QBrush(QColor(0x00, 0x40, 0x90));
      return {};
    default:
      return {};
  }
}

QVariant TrafficTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
      section >= kTrafficColumns) {
    return QAbstractTableModel::headerData(section, orientation, role);
  }
  return TrafficColumnTitle(static_cast<TrafficColumn>(section), english_);
}

TrafficView::TrafficView(TrafficLog& log, FileDialogs& files, bool english, QWidget* parent)
    : QWidget(parent, Qt::Window), log_(log), files_(files), english_(english) {
  setObjectName(QStringLiteral("TrafficView"));
  setWindowTitle(texts::kTrafficTitle.in(english_));
  auto* layout = new QVBoxLayout(this);

  auto* counts = new QHBoxLayout();
  for (std::size_t i = 0; i < std::size(counts_); ++i) {
    counts_[i] = new QLabel(this);
    counts_[i]->setObjectName(QString::fromLatin1(kCountNames[i]));
    counts->addWidget(counts_[i]);
    counts->addSpacing(12);
  }
  counts->addStretch(1);
  layout->addLayout(counts);
  note_ = new QLabel(this);
  note_->setObjectName(QStringLiteral("TrafficNote"));
  note_->setVisible(false);
  layout->addWidget(note_);

  model_ = new TrafficTableModel(log_, english_, this);
  table_ = new QTableView(this);
  table_->setObjectName(QStringLiteral("TrafficTable"));
  table_->setModel(model_);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  table_->setWordWrap(false);
  table_->setTextElideMode(Qt::ElideRight);
  table_->setAlternatingRowColors(true);
  table_->verticalHeader()->setVisible(false);
  // Fixed row heights: ten thousand rows are never measured one by one.
  table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
  QHeaderView* header = table_->horizontalHeader();
  header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  for (int c = 0; c < kTrafficColumns; ++c) {
    if (kColumnWidths[c] > 0) {
      header->setSectionResizeMode(c, QHeaderView::Interactive);
      header->resizeSection(c, kColumnWidths[c]);
    } else {
      header->setSectionResizeMode(c, QHeaderView::Stretch);
    }
  }
  layout->addWidget(table_, 1);

  auto* buttons = new QHBoxLayout();
  auto* pause = new QPushButton(texts::kTrafficPause.in(english_), this);
  pause->setObjectName(QStringLiteral("TrafficPause"));
  pause->setCheckable(true);
  pause->setChecked(log_.paused());
  connect(pause, &QPushButton::toggled, this, &TrafficView::setPaused);
  auto* clear = new QPushButton(texts::kTrafficClear.in(english_), this);
  clear->setObjectName(QStringLiteral("TrafficClear"));
  connect(clear, &QPushButton::clicked, this, &TrafficView::clearAll);
  auto* copy = new QPushButton(texts::kTrafficCopy.in(english_), this);
  copy->setObjectName(QStringLiteral("TrafficCopy"));
  connect(copy, &QPushButton::clicked, this, &TrafficView::copySelection);
  auto* save = new QPushButton(texts::kTrafficSave.in(english_), this);
  save->setObjectName(QStringLiteral("TrafficSave"));
  connect(save, &QPushButton::clicked, this, &TrafficView::save);
  for (QPushButton* button : {pause, clear, copy, save}) buttons->addWidget(button);
  buttons->addStretch(1);
  layout->addLayout(buttons);

  timer_ = new QTimer(this);
  timer_->setInterval(kRefreshMs);
  connect(timer_, &QTimer::timeout, this, &TrafficView::refresh);
  showCounts();
  resize(1280, 560);
}

void TrafficView::refresh() {
  // Follow the newest rows only when the user has not scrolled away.
  QScrollBar* bar = table_->verticalScrollBar();
  const bool atEnd = bar->value() >= bar->maximum();
  const int before = model_->rowCount();
  model_->catchUp();
  if (atEnd && model_->rowCount() != before) table_->scrollToBottom();
  showCounts();
}

void TrafficView::showCounts() {
  const QStringList texts = CountTexts(log_.counts(), english_);
  for (std::size_t i = 0; i < std::size(counts_); ++i) {
    counts_[i]->setText(texts.value(static_cast<qsizetype>(i)));
  }
}

void TrafficView::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  refresh();
  timer_->start();
}

void TrafficView::hideEvent(QHideEvent* event) {
  // Closed, the window costs nothing; the log goes on recording.
  timer_->stop();
  QWidget::hideEvent(event);
}

void TrafficView::setPaused(bool paused) {
  log_.setPaused(paused);
  note_->setText(texts::kTrafficPausedNote.in(english_));
  note_->setVisible(paused);
}

void TrafficView::clearAll() {
  log_.clear();
  refresh();
}

void TrafficView::copySelection() {
  std::vector<int> indexes;
  for (const QModelIndex& row : table_->selectionModel()->selectedRows()) {
    const int index = model_->logIndex(row.row());
    if (index >= 0) indexes.push_back(index);
  }
  if (indexes.empty()) return;
  QApplication::clipboard()->setText(log_.rowsText(std::move(indexes), english_));
}

void TrafficView::save() {
  const auto name = files_.saveFile(QStringLiteral("traffic.txt"),
                                    texts::kTrafficSaveFilter.in(english_));
  if (!name) return;
  QFile file(*name);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
      file.write(log_.allText(english_).toUtf8()) < 0 || !file.flush()) {
    note_->setText(texts::kTrafficSaveFailed.in(english_).arg(*name));
    note_->setVisible(true);
    return;
  }
  setPaused(log_.paused());  // a note of an earlier failure goes
}

}  // namespace rbx14
