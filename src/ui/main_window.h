#pragma once
// The main window: built from the core's control models and bound to them.
// It holds no state of its own.

#include "session/config_core.h"
#include "files/file_menu.h"
#include "link/frame_tap.h"
#include "link/traffic_log.h"
#include "shell/document_opener.h"

#include <QMainWindow>

#include <functional>
#include <map>
#include <memory>
#include <optional>

class QLabel;
class QLineEdit;
class QTabWidget;

namespace rbx14 {

class MainWindow final : public QMainWindow {
  Q_OBJECT

 public:
  // Build it after the core's start (its language is known then).
  MainWindow(ConfigCore& core, DocumentOpener& opener, FileDialogs& files,
             QWidget* parent = nullptr);
  ~MainWindow() override;

  // The tap on the line: from now on the window records the traffic for
  // its traffic view. Without a tap the view's menu entry stays disabled.
  void setFrameTap(FrameTap& tap);

  FileMenu& fileMenu() { return fileMenu_; }

  // Centres the window on the screen it is on.
  void centreOnScreen();

  QTabWidget* tabs() const { return tabs_; }

  // Names of the ports that reach the simulated device, for the status line.
  void setSimulatedPorts(const QStringList& names);

  // The questions and messages of the window itself; a real box unless a
  // test answers them. askDiscard returns whether to close anyway.
  std::function<bool(const QString& question)> askDiscard;
  std::function<void(const QString& text)> tell;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildMenus();
  void showAbout();
  void showBusScan();
  QWidget* buildLinkPanel();
  void showTraffic();
  void showTrend();
  void showHelp();
  void updateStatus();
  void noteReadOut();
  void saveRecord();

  ConfigCore& core_;
  DocumentOpener& opener_;
  FileMenu fileMenu_;
  QLineEdit* address_ = nullptr;
  QTabWidget* tabs_ = nullptr;
  class StateWindowView* stateWindow_ = nullptr;
  FileDialogs& files_;
  FrameTap* tap_ = nullptr;
  int tapObserver_ = 0;
  std::unique_ptr<TrafficLog> traffic_;
  class TrafficView* trafficView_ = nullptr;
  QAction* trafficAction_ = nullptr;
  class TrendView* trendView_ = nullptr;
  QLabel* status_ = nullptr;
  int statusObserver_ = 0;
  int portObserver_ = 0;  // the baud list, disabled on a network line
  int endListener_ = 0;
  // What the last read-out or write that broke off left undone.
  QString endNote_;
  QStringList simulatedPorts_;
  // For the commissioning record: the unit of the last read-out and its
  // values at the session's first read-out of it (what was written since
  // shows against them), and the technician named last.
  struct RecordBase {
    QString port;
    QString address;
    std::map<int, QString> values;
  };
  std::optional<RecordBase> recordBase_;
  QAction* recordAction_ = nullptr;
  QString technician_;
};

}  // namespace rbx14
