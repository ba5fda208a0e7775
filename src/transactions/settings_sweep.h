#pragma once
// The scan's second stage for a unit with forgotten settings: when nothing
// answers, every baud rate, parity and mode the window offers is tried in
// turn, each with the same address scan, and the settings under which
// devices answered are reported. The window's lists are switched as a
// technician would switch them (port closed, list chosen, port opened with
// no address, so nothing else is sent); afterwards they and the link are as
// they were.

#include "base/globals.h"
#include "model/frm_config.h"
#include "transactions/bus_scan.h"
#include "transactions/link_snapshot.h"

#include <QString>

#include <functional>
#include <vector>

namespace rbx14 {

// Line settings as positions in the window's lists.
struct LineChoice {
  int baud = 0;    // 9600, 19200, 57600
  int parity = 1;  // None, Even, Odd
  int mode = 1;    // ASCII, RTU

  bool operator==(const LineChoice&) const = default;
};

// The settings the lists show now.
LineChoice CurrentLineChoice(const FrmConfig& form);
// "19200 Even RTU", in the lists' own words.
QString DescribeLineChoice(const FrmConfig& form, const LineChoice& choice);
// Every choice the lists offer, the common ones first.
std::vector<LineChoice> EveryLineChoice();

// Switches the lists to a choice and opens the port without an address, so
// that nothing is sent. False when the port does not open.
bool OpenQuietlyWith(Globals& globals, FrmConfig& form, const LineChoice& choice);

struct SweptDevice {
  LineChoice line;
  FoundDevice device;
};

class SettingsSweep {
 public:
  struct Events {
    // Before each setting is scanned: its number (from 1), the count.
    std::function<void(int number, int count, const LineChoice&)> setting;
    std::function<void(int done, int total)> progress;  // within a setting
    std::function<void(const SweptDevice&)> found;
    std::function<void(ScanEnd)> finished;
  };

  SettingsSweep(Globals& globals, FrmConfig& form, BusScan& scan);

  // Tries every choice but the current one on the addresses; false (and
  // nothing happens) when the scan could not start now.
  bool start(std::vector<int> addresses, Events events);
  // Ends with the scan in progress (within one answer window).
  void cancel();
  bool running() const { return running_; }

  const std::vector<SweptDevice>& devices() const { return devices_; }

 private:
  void nextChoice();
  void finish(ScanEnd end);

  Globals& g_;
  FrmConfig& form_;
  BusScan& scan_;
  Events events_;
  std::vector<int> addresses_;
  std::vector<LineChoice> choices_;
  std::size_t next_ = 0;
  LineChoice original_;
  QString originalAddress_;
  LinkSnapshot snapshot_;
  std::vector<SweptDevice> devices_;
  bool running_ = false;
  bool cancelled_ = false;
};

}  // namespace rbx14
