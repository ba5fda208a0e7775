#include "ui/main_window.h"

#include "model/change_tracking.h"
#include "model/tabs.h"
#include "model/value_headings.h"
#include "base/texts.h"
#include "shell/about_box.h"
#include "ui/about_box_view.h"
#include "ui/bindings.h"
#include "ui/bus_scan_dialog.h"
#include "ui/state_window_view.h"
#include "ui/traffic_view.h"
#include "ui/trend_view.h"
#include "ui/register_tabs.h"
#include "record/commissioning_record.h"
#include "record/record_texts.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QInputDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QTimer>
#include <QTabWidget>
#include <QVBoxLayout>

namespace rbx14 {

MainWindow::MainWindow(ConfigCore& core, DocumentOpener& opener, FileDialogs& files,
                       QWidget* parent)
    : QMainWindow(parent),
      core_(core),
      opener_(opener),
      fileMenu_(core.globals, core.form, files, core.messages),
      files_(files) {
  // Exit asks, like the window's close button, before changes are lost.
  fileMenu_.quit = [this] { close(); };
  askDiscard = [this](const QString& question) {
    return QMessageBox::question(this, windowTitle(), question) == QMessageBox::Yes;
  };
  tell = [this](const QString& text) { QMessageBox::information(this, windowTitle(), text); };
  setWindowTitle(core_.form.window.caption());
  buildMenus();

  // On a small screen the window scrolls rather than squeeze its controls
  // over each other.
  auto* scroll = new QScrollArea(this);
  scroll->setObjectName(QStringLiteral("MainScroll"));
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  auto* central = new QWidget(scroll);
  auto* layout = new QVBoxLayout(central);
  layout->addWidget(buildLinkPanel());

  tabs_ = new QTabWidget(central);
  tabs_->setObjectName(QStringLiteral("SSTab1"));
  for (const auto& title : kTabTitles) {
    tabs_->addTab(new QWidget(tabs_), title.in(core_.globals.english()));
  }
  BuildRegisterTabs(tabs_, core_.form);
  layout->addWidget(tabs_, 1);
  scroll->setWidget(central);
  setCentralWidget(scroll);
  setMinimumSize(480, 320);

  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("StatusLine"));
  // A long hint is cut in a narrow window rather than widen it; its tool
  // tip holds it whole.
  status_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  statusBar()->addWidget(status_, 1);
  simulatedPorts_ << QStringLiteral("RBX14-Simulator");
  statusObserver_ = core_.form.Combo_Port[port_list::kOpenClose].addObserver([this] { updateStatus(); });
  portObserver_ = core_.form.Combo_Port[port_list::kBaud].addObserver([this] { updateStatus(); });
  // A read-out or write that breaks off says what it left: the technician
  // must know which registers the unit holds after a write broke off, and
  // which fields do not show the unit's values. The box comes once the
  // link has finished its step.
  endListener_ = core_.progress.addListener([this](const TransactionEnd& end) {
    const bool english = core_.globals.english();
    if (end.how == TransactionEndKind::Done && !end.write) noteReadOut();
    endNote_ = core_.progress.endStatus(end, english);
    updateStatus();
    const QString message = core_.progress.endMessage(end, english);
    if (!message.isEmpty()) {
      QTimer::singleShot(0, this, [this, message] { core_.messages.information(message); });
    }
  });
  updateStatus();

  // No input while the state window is open.
  core_.form.window.addObserver([this] { setEnabled(core_.form.window.enabled()); });
  stateWindow_ = new StateWindowView(core_.frmState, this);
  resize(1180, 760);
}

void MainWindow::noteReadOut() {
  const QString port = core_.form.Combo_Port[port_list::kPort].text();
  const QString address = core_.form.txt_Modbus_adress.text().trimmed();
  recordAction_->setEnabled(true);
  if (recordBase_ && recordBase_->port == port && recordBase_->address == address) return;
  // Another unit: its values now are those the session found.
  recordBase_ = RecordBase{port, address,
                           record::ValuesByKey(record::ReadValues(
                               core_.form, core_.globals.english(), core_.globals.decimalSep()))};
}

void MainWindow::saveRecord() {
  if (!recordBase_ || core_.busy()) return;
  const bool english = core_.globals.english();
  bool ok = false;
  const QString technician =
      QInputDialog::getText(this, record::words::kTitle.in(english), record::words::kTechnician.in(english),
                            QLineEdit::Normal, technician_, &ok);
  if (!ok) return;
  technician_ = technician.trimmed();
  FrmConfig& form = core_.form;
  record::CommissioningRecord r;
  r.english = english;
  r.program = QStringLiteral("rbx14-config");
  r.when = QDateTime::currentDateTime();
  r.port = recordBase_->port;
  record::TakeLine(r, form);
  r.address = recordBase_->address.toInt();
  r.unit = record::IdentityOf(form, english);
  r.technician = technician_;
  r.result = record::RecordResult::AsRead;
  r.values = record::ReadValues(form, english, core_.globals.decimalSep());
  r.before = recordBase_->values;
  const auto path = files_.saveFile(record::RecordFileName(r.address, r.unit->location, r.when.date()),
                                    QStringLiteral("PDF (*.pdf)|*.pdf"));
  if (!path) return;
  QString error;
  if (!record::SaveRecordAs(r, *path, &error)) tell(record::words::kNotWritten.in(english).arg(error));
}

void MainWindow::buildMenus() {
  const bool english = core_.globals.english();
  QMenu* file = menuBar()->addMenu(texts::kMenuFile.in(english));
  file->addAction(texts::kMenuLoad.in(english), this, [this] { fileMenu_.ParMenüMain_Click(1); })
      ->setObjectName(QStringLiteral("ParMenuMain_1"));
  file->addAction(texts::kMenuSave.in(english), this, [this] {
    core_.refreshVersion();
    fileMenu_.ParMenüMain_Click(2);
  })
      ->setObjectName(QStringLiteral("ParMenuMain_2"));
  // The commissioning record of the unit read out last.
  recordAction_ = file->addAction(texts::kMenuRecord.in(english), this, &MainWindow::saveRecord);
  recordAction_->setObjectName(QStringLiteral("MenuRecord"));
  recordAction_->setEnabled(false);
  connect(file, &QMenu::aboutToShow, this,
          [this] { recordAction_->setEnabled(recordBase_.has_value() && !core_.busy()); });
  file->addSeparator();
  file->addAction(texts::kMenuExit.in(english), this, [this] { fileMenu_.ParMenüMain_Click(4); })
      ->setObjectName(QStringLiteral("ParMenuMain_4"));
  // The fast link handles answers on arrival and sends the next request
  // after the line's silence; the standard timing is the default.
  QMenu* tools = menuBar()->addMenu(texts::kMenuTools.in(english));
  QAction* fast = tools->addAction(texts::kMenuFastLink.in(english));
  fast->setObjectName(QStringLiteral("MenuFastLink"));
  fast->setCheckable(true);
  fast->setChecked(core_.timing.fast());
  connect(fast, &QAction::toggled, this, [this](bool on) { core_.timing.setFast(on); });
  // The scan needs the line to itself: only with the port open and no
  // transaction running.
  QAction* scan = tools->addAction(texts::kMenuScanBus.in(english));
  scan->setObjectName(QStringLiteral("MenuScanBus"));
  connect(tools, &QMenu::aboutToShow, this, [this, scan] { scan->setEnabled(core_.scan.canStart()); });
  connect(scan, &QAction::triggered, this, &MainWindow::showBusScan);
  // Every frame on the line, in a window beside this one.
  trafficAction_ = tools->addAction(texts::kMenuTraffic.in(english), this, &MainWindow::showTraffic);
  trafficAction_->setObjectName(QStringLiteral("MenuTraffic"));
  trafficAction_->setEnabled(tap_ != nullptr);
  // The output registers over time, in a window beside this one.
  tools->addAction(texts::kMenuTrend.in(english), this, &MainWindow::showTrend)
      ->setObjectName(QStringLiteral("MenuTrend"));
  QAction* about = menuBar()->addAction(texts::kMenuAbout.in(english));
  about->setObjectName(QStringLiteral("MenuAbout"));
  connect(about, &QAction::triggered, this, &MainWindow::showAbout);
  QAction* help = menuBar()->addAction(texts::kMenuHelp.in(english));
  help->setObjectName(QStringLiteral("MenuHelp"));
  connect(help, &QAction::triggered, this, &MainWindow::showHelp);
}

void MainWindow::showHelp() {
  const QString problem = OpenHelpDocument(core_.globals, opener_);
  if (!problem.isEmpty()) tell(problem);
}

void MainWindow::setSimulatedPorts(const QStringList& names) {
  simulatedPorts_ = names;
  updateStatus();
}

void MainWindow::updateStatus() {
  const bool english = core_.globals.english();
  const bool open = core_.form.Combo_Port[port_list::kOpenClose].listIndex() == 1;
  const QString hint = open ? texts::kStatusOpen.in(english)
                            : texts::kStatusClosed.in(english).arg(simulatedPorts_.join(QStringLiteral(", ")));
  QString text = endNote_.isEmpty() ? hint : endNote_ + QStringLiteral(". ") + hint;
  const bool network = core_.link.onNetwork();
  if (network) text += u' ' + texts::kStatusNetwork.in(english);
  for (int list : {port_list::kBaud, port_list::kParity}) {
    if (auto* combo = findChild<QComboBox*>(QStringLiteral("Combo_Port_%1").arg(list))) {
      combo->setToolTip(network ? texts::kStatusNetwork.in(english) : QString());
    }
  }
  status_->setText(text);
  status_->setToolTip(status_->text());
}

void MainWindow::showBusScan() {
  if (!core_.scan.canStart()) return;
  auto* dialog = new BusScanDialog(core_, this);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  connect(dialog, &BusScanDialog::openRequested, this, [this](int address) {
    // As if the technician typed the address and opened the port: the probe
    // answer starts the read-out.
    core_.probeDevice(address);
  });
  dialog->show();
}

MainWindow::~MainWindow() {
  core_.form.Combo_Port[port_list::kOpenClose].removeObserver(statusObserver_);
  core_.form.Combo_Port[port_list::kBaud].removeObserver(portObserver_);
  core_.progress.removeListener(endListener_);
  if (tap_ != nullptr) tap_->removeObserver(tapObserver_);
  // The view reads the log: it goes first.
  delete trafficView_;
}

void MainWindow::setFrameTap(FrameTap& tap) {
  if (tap_ != nullptr) tap_->removeObserver(tapObserver_);
  tap_ = &tap;
  if (!traffic_) traffic_ = std::make_unique<TrafficLog>();
  tapObserver_ = tap.addObserver([this](const TappedFrame& frame) { traffic_->append(frame); });
  trafficAction_->setEnabled(true);
}

void MainWindow::showTraffic() {
  if (!traffic_) return;
  if (trafficView_ == nullptr) {
    trafficView_ = new TrafficView(*traffic_, files_, core_.globals.english(), this);
  }
  trafficView_->show();
  trafficView_->raise();
  trafficView_->activateWindow();
}

void MainWindow::showTrend() {
  if (trendView_ == nullptr) {
    trendView_ = new TrendView(core_.trend, core_.globals, files_, core_.globals.english(), this);
  }
  trendView_->show();
  trendView_->raise();
  trendView_->activateWindow();
}

void MainWindow::showAbout() {
  // Each opening reads the version anew.
  core_.refreshVersion();
  FAbout model(core_.globals, opener_);
  model.Form_Load();
  AboutBoxView box(model, this);
  box.exec();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // Red fields hold what the device does not have yet; a transfer that is
  // cut off leaves the device half written.
  if ((AnyFieldMarked(core_.form) || core_.frmState.loaded()) &&
      !askDiscard(texts::kDiscardQuestion.in(core_.globals.english()))) {
    event->ignore();
    return;
  }
  // The other windows go with the main window.
  if (core_.frmState.loaded()) core_.frmState.closedByUser();
  QMainWindow::closeEvent(event);
}

QWidget* MainWindow::buildLinkPanel() {
  FrmConfig& form = core_.form;
  auto* panel = new QWidget(this);
  auto* row = new QHBoxLayout(panel);
  row->setContentsMargins(0, 0, 0, 0);

  auto* settings = new QGroupBox(panel);
  Bind(settings, form.frm_parameter);
  auto* grid = new QGridLayout(settings);
  // Caption above list, in the order a technician sets them up.
  const int order[] = {port_list::kPort, port_list::kBaud, port_list::kParity, port_list::kMode};
  int column = 0;
  for (int list : order) {
    auto* caption = new QLabel(settings);
    Bind(caption, form.lbl_parameter[list]);
    auto* combo = new QComboBox(settings);
    combo->setObjectName(QStringLiteral("Combo_Port_%1").arg(list));
    Bind(combo, form.Combo_Port[list]);
    caption->setBuddy(combo);
    grid->addWidget(caption, 0, column);
    grid->addWidget(combo, 1, column);
    ++column;
  }
  auto* addressCaption = new QLabel(settings);
  Bind(addressCaption, form.lbl_parameter[3]);
  address_ = new QLineEdit(settings);
  address_->setObjectName(QStringLiteral("txt_Modbus_adress"));
  address_->setMaximumWidth(70);
  Bind(address_, form.txt_Modbus_adress);
  addressCaption->setBuddy(address_);
  grid->addWidget(addressCaption, 0, column);
  grid->addWidget(address_, 1, column);
  ++column;
  auto* openClose = new QComboBox(settings);
  openClose->setObjectName(QStringLiteral("Combo_Port_6"));
  Bind(openClose, form.Combo_Port[port_list::kOpenClose]);
  grid->addWidget(openClose, 1, column);
  row->addWidget(settings);

  auto* actions = new QWidget(panel);
  auto* actionGrid = new QGridLayout(actions);
  auto* readOut = new QPushButton(actions);
  readOut->setObjectName(QStringLiteral("read_out_parameter"));
  Bind(readOut, form.read_out_parameter);
  auto* write = new QPushButton(actions);
  write->setObjectName(QStringLiteral("set_parameter"));
  Bind(write, form.set_parameter);
  auto* pollCaption = new QLabel(actions);
  pollCaption->setObjectName(QStringLiteral("lbl_desc_%1").arg(desc::kPollCaption));
  Bind(pollCaption, form.lbl_desc[desc::kPollCaption]);
  auto* poll = new QCheckBox(actions);
  poll->setObjectName(QStringLiteral("chk_read_out"));
  Bind(poll, form.chk_read_out);
  readOut->setMinimumWidth(120);
  write->setMinimumWidth(120);
  actionGrid->addWidget(readOut, 0, 0);
  actionGrid->addWidget(write, 0, 1);
  actionGrid->addWidget(pollCaption, 1, 0, Qt::AlignRight);
  actionGrid->addWidget(poll, 1, 1);
  // Marks text line 1, which carries time and date, for the next write.
  auto* syncCaption = new QLabel(actions);
  syncCaption->setObjectName(QStringLiteral("lbl_desc_%1").arg(value_desc::kSyncCaption));
  Bind(syncCaption, form.lbl_desc[value_desc::kSyncCaption]);
  auto* sync = new QCheckBox(actions);
  sync->setObjectName(QStringLiteral("chk_sync"));
  Bind(sync, form.chk_sync);
  syncCaption->setBuddy(sync);
  actionGrid->addWidget(syncCaption, 2, 0, Qt::AlignRight);
  actionGrid->addWidget(sync, 2, 1);
  row->addWidget(actions);
  row->addStretch(1);

  auto* outer = new QWidget(this);
  auto* column2 = new QVBoxLayout(outer);
  column2->setContentsMargins(0, 0, 0, 0);
  column2->addWidget(panel);
  auto* warning = new QLabel(outer);
  warning->setObjectName(QStringLiteral("lbl_desc_7"));
  QFont bold = warning->font();
  bold.setBold(true);
  warning->setFont(bold);
  Bind(warning, form.lbl_desc[desc::kCommWarning]);
  column2->addWidget(warning);
  return outer;
}

void MainWindow::centreOnScreen() {
  const QScreen* screen = this->screen();
  if (screen == nullptr) return;
  const QRect area = screen->availableGeometry();
  move(area.left() + (area.width() - frameGeometry().width()) / 2,
       area.top() + (area.height() - frameGeometry().height()) / 2);
}


}  // namespace rbx14
