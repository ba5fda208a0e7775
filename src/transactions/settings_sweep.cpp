#include "transactions/settings_sweep.h"

namespace rbx14 {
namespace {

constexpr int kBaudChoices = 3;
constexpr int kParityChoices = 3;

}  // namespace

LineChoice CurrentLineChoice(const FrmConfig& form) {
  return {form.Combo_Port[port_list::kBaud].listIndex(),
          form.Combo_Port[port_list::kParity].listIndex(),
          form.Combo_Port[port_list::kMode].listIndex()};
}

QString DescribeLineChoice(const FrmConfig& form, const LineChoice& choice) {
  const auto item = [&](int list, int position) {
    const QStringList items = form.Combo_Port[list].items();
    return position >= 0 && position < items.size() ? items[position] : QStringLiteral("?");
  };
  return item(port_list::kBaud, choice.baud) + u' ' + item(port_list::kParity, choice.parity) +
         u' ' + item(port_list::kMode, choice.mode);
}

std::vector<LineChoice> EveryLineChoice() {
  // RTU before ASCII and even parity first: what units leave the factory
  // with and what installers choose most.
  std::vector<LineChoice> all;
  for (int mode : {1, 0}) {
    for (int parity : {1, 0, 2}) {
      for (int baud = 0; baud < kBaudChoices; ++baud) all.push_back({baud, parity, mode});
    }
  }
  static_assert(kParityChoices == 3);
  return all;
}

bool OpenQuietlyWith(Globals& globals, FrmConfig& form, const LineChoice& choice) {
  ComboBox& openClose = form.Combo_Port[port_list::kOpenClose];
  if (globals.bPortOpen) openClose.setListIndex(0);
  form.txt_Modbus_adress.setText(QString());
  form.Combo_Port[port_list::kBaud].setListIndex(choice.baud);
  form.Combo_Port[port_list::kParity].setListIndex(choice.parity);
  form.Combo_Port[port_list::kMode].setListIndex(choice.mode);
  openClose.setListIndex(1);
  return globals.bPortOpen;
}

SettingsSweep::SettingsSweep(Globals& globals, FrmConfig& form, BusScan& scan)
    : g_(globals), form_(form), scan_(scan) {}

bool SettingsSweep::start(std::vector<int> addresses, Events events) {
  if (running_ || addresses.empty() || !scan_.canStart()) return false;
  events_ = std::move(events);
  addresses_ = std::move(addresses);
  devices_.clear();
  original_ = CurrentLineChoice(form_);
  originalAddress_ = form_.txt_Modbus_adress.text();
  choices_.clear();
  for (const LineChoice& choice : EveryLineChoice()) {
    if (!(choice == original_)) choices_.push_back(choice);
  }
  snapshot_.takeAndStop(g_, form_);
  next_ = 0;
  cancelled_ = false;
  running_ = true;
  nextChoice();
  return true;
}

void SettingsSweep::cancel() {
  if (!running_) return;
  cancelled_ = true;
  scan_.cancel();
}

void SettingsSweep::nextChoice() {
  if (cancelled_ || next_ >= choices_.size()) {
    return finish(cancelled_ ? ScanEnd::Cancelled : ScanEnd::Completed);
  }
  const LineChoice choice = choices_[next_++];
  if (events_.setting) events_.setting(static_cast<int>(next_), static_cast<int>(choices_.size()), choice);
  if (!OpenQuietlyWith(g_, form_, choice)) return finish(ScanEnd::PortLost);
  const bool started = scan_.start(
      addresses_,
      {.progress = events_.progress,
       .found =
           [this, choice](const FoundDevice& device) {
             devices_.push_back({choice, device});
             if (events_.found) events_.found(devices_.back());
           },
       .finished =
           [this](ScanEnd end) {
             if (end == ScanEnd::PortLost) return finish(end);
             nextChoice();
           }});
  if (!started) finish(ScanEnd::PortLost);
}

void SettingsSweep::finish(ScanEnd end) {
  running_ = false;
  // Back to the technician's settings; a port that failed stays closed.
  if (end != ScanEnd::PortLost && OpenQuietlyWith(g_, form_, original_)) {
    snapshot_.restore(g_, form_);
  } else if (g_.bPortOpen) {
    form_.Combo_Port[port_list::kOpenClose].setListIndex(0);
  }
  form_.txt_Modbus_adress.setText(originalAddress_);
  const auto finished = events_.finished;
  if (finished) finished(end);
}

}  // namespace rbx14
