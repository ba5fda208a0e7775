#include "ui/bus_scan_dialog.h"

#include "base/address_list.h"
#include "base/texts.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace rbx14 {
namespace {

enum Column { kAddress, kType, kCoding, kFirmware, kResponse, kDelay, kSettings, kColumnCount };

QTableWidgetItem* Cell(const QString& text, bool number) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
  if (number) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return item;
}

QString OrUnknown(const std::optional<int>& value, bool english) {
  return value ? QString::number(*value) : texts::kScanUnknown.in(english);
}

}  // namespace

BusScanDialog::BusScanDialog(ConfigCore& core, QWidget* parent)
    : QDialog(parent), core_(core), english_(core.globals.english()) {
  setObjectName(QStringLiteral("BusScanDialog"));
  setWindowTitle(texts::kScanTitle.in(english_));
  setWindowModality(Qt::WindowModal);

  auto* range = new QHBoxLayout;
  from_ = new QSpinBox(this);
  to_ = new QSpinBox(this);
  from_->setObjectName(QStringLiteral("ScanFrom"));
  to_->setObjectName(QStringLiteral("ScanTo"));
  for (QSpinBox* box : {from_, to_}) box->setRange(kLowestAddress, kHighestAddress);
  from_->setValue(kLowestAddress);
  to_->setValue(kHighestAddress);
  range->addWidget(new QLabel(texts::kScanFrom.in(english_), this));
  range->addWidget(from_);
  range->addWidget(new QLabel(texts::kScanTo.in(english_), this));
  range->addWidget(to_);
  wait_ = new QSpinBox(this);
  wait_->setObjectName(QStringLiteral("ScanWait"));
  wait_->setRange(1, 3000);
  wait_->setValue(core_.scan.answerAllowanceMs());
  range->addSpacing(12);
  range->addWidget(new QLabel(texts::kScanWait.in(english_), this));
  range->addWidget(wait_);
  range->addStretch(1);
  start_ = new QPushButton(texts::kScanStart.in(english_), this);
  cancel_ = new QPushButton(texts::kScanCancel.in(english_), this);
  start_->setObjectName(QStringLiteral("ScanStart"));
  cancel_->setObjectName(QStringLiteral("ScanCancel"));
  range->addWidget(start_);
  range->addWidget(cancel_);

  allSettings_ = new QCheckBox(texts::kScanAllSettings.in(english_), this);
  allSettings_->setObjectName(QStringLiteral("ScanAllSettings"));

  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("ScanStatus"));
  progress_ = new QProgressBar(this);
  progress_->setObjectName(QStringLiteral("ScanProgress"));
  progress_->setValue(0);

  table_ = new QTableWidget(0, kColumnCount, this);
  table_->setObjectName(QStringLiteral("ScanResults"));
  table_->setHorizontalHeaderLabels(
      {texts::kScanColumnAddress.in(english_), texts::kScanColumnType.in(english_),
       texts::kScanColumnCoding.in(english_), texts::kScanColumnFirmware.in(english_),
       texts::kScanColumnResponse.in(english_), texts::kScanColumnDelay.in(english_),
       texts::kScanColumnSettings.in(english_)});
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->verticalHeader()->setVisible(false);
  // Numbers as wide as they need; the type name takes the rest.
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  table_->horizontalHeader()->setSectionResizeMode(kType, QHeaderView::Stretch);

  auto* buttons = new QHBoxLayout;
  open_ = new QPushButton(texts::kScanOpen.in(english_), this);
  close_ = new QPushButton(texts::kScanClose.in(english_), this);
  open_->setObjectName(QStringLiteral("ScanOpen"));
  close_->setObjectName(QStringLiteral("ScanClose"));
  buttons->addStretch(1);
  buttons->addWidget(open_);
  buttons->addWidget(close_);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(range);
  layout->addWidget(allSettings_);
  layout->addWidget(status_);
  layout->addWidget(progress_);
  layout->addWidget(table_, 1);
  layout->addLayout(buttons);

  connect(start_, &QPushButton::clicked, this, &BusScanDialog::startScan);
  connect(cancel_, &QPushButton::clicked, this, [this] {
    if (core_.sweep.running()) core_.sweep.cancel();
    core_.scan.cancel();
  });
  connect(open_, &QPushButton::clicked, this, &BusScanDialog::openSelected);
  connect(close_, &QPushButton::clicked, this, &BusScanDialog::reject);
  connect(table_, &QTableWidget::cellDoubleClicked, this, [this] { openSelected(); });
  connect(table_, &QTableWidget::itemSelectionChanged, this, &BusScanDialog::updateButtons);

  for (QSpinBox* box : {from_, to_}) {
    connect(box, &QSpinBox::valueChanged, this, [this] {
      if (!running()) showReady();
      updateButtons();
    });
  }
  showReady();
  updateButtons();
  resize(720, 440);
}

bool BusScanDialog::rangeEmpty() const { return from_->value() > to_->value(); }

void BusScanDialog::showReady() {
  if (rangeEmpty()) {
    status_->setText(texts::kScanEmptyRange.in(english_).arg(from_->value()).arg(to_->value()));
    return;
  }
  const int count = to_->value() - from_->value() + 1;
  status_->setText(texts::kScanReady.in(english_).arg(count).arg(lineDescription()));
}

void BusScanDialog::setTryAllSettings(bool on) { allSettings_->setChecked(on); }

bool BusScanDialog::running() const { return core_.scan.running() || core_.sweep.running(); }

QString BusScanDialog::lineDescription() const {
  const Globals& g = core_.globals;
  return g.settingsString() + u' ' + g.sModbusMode;
}

void BusScanDialog::startScan() {
  if (running()) return;
  if (rangeEmpty()) return showReady();
  const int first = from_->value();
  const int last = to_->value();
  addresses_.clear();
  for (int a = first; a <= last; ++a) addresses_.push_back(a);
  const std::vector<int>& addresses = addresses_;
  table_->setRowCount(0);
  rowLines_.clear();
  progress_->setRange(0, static_cast<int>(addresses.size()));
  progress_->setValue(0);
  const LineChoice line = CurrentLineChoice(core_.form);
  core_.scan.setAnswerAllowanceMs(wait_->value());
  const bool started = core_.scan.start(
      addresses,
      {.progress =
           [this, first](int done, int total) {
             progress_->setValue(done);
             status_->setText(texts::kScanRunning.in(english_)
                                  .arg(std::min(first + done, first + total - 1))
                                  .arg(done)
                                  .arg(total));
           },
       .found = [this, line](const FoundDevice& device) { addRow(device, line); },
       .finished = [this](ScanEnd end) { scanEnded(end); }});
  if (started) {
    status_->setText(texts::kScanRunning.in(english_).arg(first).arg(0).arg(addresses.size()));
  }
  updateButtons();
}

void BusScanDialog::addRow(const FoundDevice& device, const LineChoice& line) {
  const int row = table_->rowCount();
  table_->insertRow(row);
  table_->setItem(row, kAddress, Cell(QString::number(device.address), true));
  table_->setItem(row, kType, Cell(DeviceTypeName(device.deviceType, english_), false));
  table_->setItem(row, kCoding, Cell(OrUnknown(device.coding, english_), true));
  table_->setItem(row, kFirmware, Cell(OrUnknown(device.firmware, english_), true));
  table_->setItem(row, kResponse, Cell(OrUnknown(device.responseTimeMs, english_), true));
  table_->setItem(row, kDelay, Cell(QString::number(device.busDelay), true));
  table_->setItem(row, kSettings, Cell(DescribeLineChoice(core_.form, line), false));
  rowLines_.push_back(line);
  table_->item(row, kAddress)->setData(Qt::UserRole, device.address);
  if (row == 0) table_->selectRow(0);
}

void BusScanDialog::scanEnded(ScanEnd end) {
  const bool nobody = table_->rowCount() == 0;
  if (end == ScanEnd::Completed && nobody && allSettings_->isChecked() && !closeWhenEnded_ &&
      startSweep()) {
    return;
  }
  showEnd(end);
}

bool BusScanDialog::startSweep() {
  // Nobody under the lists' settings: every other setting in turn.
  const int perSetting = static_cast<int>(addresses_.size());
  const bool swept = core_.sweep.start(
      addresses_,
      {.setting =
           [this, perSetting](int number, int count, const LineChoice& line) {
             sweepOffset_ = (number - 1) * perSetting;
             progress_->setRange(0, count * perSetting);
             progress_->setValue(sweepOffset_);
             status_->setText(texts::kScanSetting.in(english_).arg(number).arg(count).arg(
                 DescribeLineChoice(core_.form, line)));
           },
       .progress = [this](int done, int) { progress_->setValue(sweepOffset_ + done); },
       .found = [this](const SweptDevice& d) { addRow(d.device, d.line); },
       .finished = [this](ScanEnd e) { showEnd(e); }});
  updateButtons();
  return swept;
}

void BusScanDialog::showEnd(ScanEnd end) {
  const int found = table_->rowCount();
  switch (end) {
    case ScanEnd::Completed:
      progress_->setValue(progress_->maximum());
      status_->setText(texts::kScanDone.in(english_).arg(found));
      break;
    case ScanEnd::Cancelled:
      status_->setText(texts::kScanCancelled.in(english_).arg(found));
      break;
    case ScanEnd::PortLost:
      status_->setText(texts::kScanLost.in(english_));
      break;
  }
  updateButtons();
  if (closeWhenEnded_) QDialog::reject();
}

int BusScanDialog::selectedAddress() const {
  const auto rows = table_->selectionModel()->selectedRows();
  if (rows.isEmpty()) return 0;
  return table_->item(rows.first().row(), kAddress)->data(Qt::UserRole).toInt();
}

void BusScanDialog::openSelected() {
  const int address = selectedAddress();
  if (address == 0 || running()) return;
  // A device found under other settings is opened under those.
  const auto rows = table_->selectionModel()->selectedRows();
  const auto row = static_cast<std::size_t>(rows.first().row());
  if (row < rowLines_.size() && !(rowLines_[row] == CurrentLineChoice(core_.form))) {
    if (!OpenQuietlyWith(core_.globals, core_.form, rowLines_[row])) return;
  }
  accept();
  emit openRequested(address);
}

void BusScanDialog::updateButtons() {
  const bool running = this->running();
  start_->setEnabled(!running && !rangeEmpty() && core_.scan.canStart());
  allSettings_->setEnabled(!running);
  cancel_->setEnabled(running);
  for (QSpinBox* box : {from_, to_, wait_}) box->setEnabled(!running);
  open_->setEnabled(!running && selectedAddress() != 0 && core_.globals.bPortOpen);
}

void BusScanDialog::reject() {
  // The scan ends within one answer window; the dialog goes with it.
  if (running()) {
    closeWhenEnded_ = true;
    core_.sweep.cancel();
    core_.scan.cancel();
    return;
  }
  QDialog::reject();
}

void BusScanDialog::closeEvent(QCloseEvent* event) {
  if (running()) {
    event->ignore();
    reject();
    return;
  }
  QDialog::closeEvent(event);
}

}  // namespace rbx14
