#pragma once
// The main window over the program's core on a fake port and the virtual
// clock, shown offscreen and active, for tests through the real widgets.

#include "link/virtual_scheduler.h"
#include "model/tabs.h"
#include "session/config_core.h"
#include "support/fake_serial_port.h"
#include "ui/main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTabWidget>
#include <QTest>

namespace rbx14::test {

class WindowFixture : public ::testing::Test {
 protected:
  WindowFixture() : core(clock, port, messages), window((core.Main(), core), opener, files) {
    window.show();
    window.activateWindow();
    active = QTest::qWaitForWindowActive(&window);
  }

  template <class W>
  W* child(const QString& name) {
    return window.findChild<W*>(name);
  }
  template <class W>
  W* child(const char* name) {
    return child<W>(QString::fromLatin1(name));
  }
  void showTab(Tab tab) {
    window.tabs()->setCurrentIndex(static_cast<int>(tab));
    QApplication::processEvents();
  }

  VirtualScheduler clock;
  FakeSerialPort port;
  RecordingMessageBoxes messages;
  ConfigCore core;
  RecordingOpener opener;
  ScriptedFileDialogs files;
  MainWindow window;
  bool active = false;  // the window has the focus, so focus moves are real
};

}  // namespace rbx14::test
