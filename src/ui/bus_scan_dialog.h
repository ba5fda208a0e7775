#pragma once
// The bus scan as a dialog: the address range, a progress bar, the devices
// found in a table, and "Open" (or a double click) to read one out. It keeps
// the main window blocked while it is open; the scan itself lives in the
// core.

#include "session/config_core.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace rbx14 {

class BusScanDialog final : public QDialog {
  Q_OBJECT

 public:
  BusScanDialog(ConfigCore& core, QWidget* parent = nullptr);

  // Starts a scan of the range shown (what the Start button does).
  void startScan();
  // The address of the selected device, or 0.
  int selectedAddress() const;
  // Whether a scan that finds nobody goes on with every setting.
  void setTryAllSettings(bool on);

  QTableWidget* table() const { return table_; }

 public slots:
  // Close, as the Close button: a running scan is cancelled first and the
  // dialog goes when it has ended.
  void reject() override;

 signals:
  // The technician wants this device read out (the lists already show the
  // settings it answered under).
  void openRequested(int address);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void addRow(const FoundDevice& device, const LineChoice& line);
  void scanEnded(ScanEnd end);
  bool startSweep();
  void showEnd(ScanEnd end);
  bool running() const;
  void openSelected();
  void updateButtons();
  QString lineDescription() const;
  // "From" above "to": nothing to scan.
  bool rangeEmpty() const;
  // What a scan of the range would cover, or that the range is empty.
  void showReady();

  ConfigCore& core_;
  bool english_;
  QSpinBox* from_ = nullptr;
  QSpinBox* to_ = nullptr;
  QSpinBox* wait_ = nullptr;
  QCheckBox* allSettings_ = nullptr;
  QLabel* status_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QTableWidget* table_ = nullptr;
  QPushButton* start_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QPushButton* open_ = nullptr;
  QPushButton* close_ = nullptr;
  bool closeWhenEnded_ = false;
  std::vector<int> addresses_;
  int sweepOffset_ = 0;  // addresses of the settings already swept
  std::vector<LineChoice> rowLines_;  // the settings of each row
};

}  // namespace rbx14
