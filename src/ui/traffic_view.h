#pragma once
// The bus traffic window: the counters, then every frame on the line with
// its time, direction, bytes, decoded content and check. Not modal, so it
// can stay open beside the main window. It reads the log in batches on a
// timer while it is shown, never per frame: a fast link does not wait for
// the list.

#include "files/file_dialogs.h"
#include "link/traffic_log.h"

#include <QAbstractTableModel>
#include <QWidget>

#include <cstdint>

class QLabel;
class QPushButton;
class QTableView;
class QTimer;

namespace rbx14 {

// The log's rows as a table. It follows the log only in catchUp(): rows the
// ring dropped leave at the top, new rows come in at the bottom.
class TrafficTableModel final : public QAbstractTableModel {
  Q_OBJECT

 public:
  TrafficTableModel(const TrafficLog& log, bool english, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  void catchUp();
  // The log's index of a row of the table; -1 when the log no longer holds it.
  int logIndex(int row) const;

 private:
  const TrafficLog& log_;
  bool english_;
  std::uint64_t first_ = 0;  // the log's number of row 0
  std::uint64_t end_ = 0;    // one past the number of the last row
};

class TrafficView final : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kRefreshMs = 150;

  TrafficView(TrafficLog& log, FileDialogs& files, bool english, QWidget* parent = nullptr);

  // Takes in what the log gained since the last look; the timer calls it.
  void refresh();

  QTableView* table() const { return table_; }
  TrafficTableModel* model() const { return model_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void setPaused(bool paused);
  void clearAll();
  void copySelection();
  void save();
  void showCounts();

  TrafficLog& log_;
  FileDialogs& files_;
  bool english_;
  TrafficTableModel* model_ = nullptr;
  QTableView* table_ = nullptr;
  QLabel* counts_[6] = {};
  QLabel* note_ = nullptr;
  QTimer* timer_ = nullptr;
};

}  // namespace rbx14
