#pragma once
// The program without a window on the virtual clock, with helpers that act
// on the configuration fields the way the typist and the read-out do.

#include "session/config_core.h"
#include "base/numbers.h"
#include "link/virtual_scheduler.h"
#include "model/change_tracking.h"
#include "support/fake_serial_port.h"

#include <gtest/gtest.h>

namespace rbx14::test {

class ConfigFixture {
 protected:
  ConfigFixture() : core(clock, port, messages) { core.Main(); }

  TextBox& field(int index) { return core.form.txt_data_cfg[index]; }
  ComboBox& list(int index) { return core.form.cmb_cfg[index]; }
  UpDown& arrows(int index) { return core.form.UpD_txt_cfg[index]; }

  // Types the characters one by one through the field's key filter.
  void type(TextBox& box, const QString& keys) {
    for (QChar key : keys) {
      const int code = box.filterKey(key.unicode());
      if (code == 8) {
        box.setText(box.text().chopped(box.text().isEmpty() ? 0 : 1));
      } else if (code != 0) {
        box.setText(box.text() + QChar(static_cast<char16_t>(code)));
      }
    }
  }

  // What the read-out does with a register: the text (running the change
  // handler), then the device's value, then the normal colour; the next
  // arrival of answer bytes refreshes the write button.
  void readFromDevice(int index, const QString& text) {
    field(index).setText(text);
    core.form.dCfgRegValue[index] =
        ParseDecimal(field(index).text(), core.globals.decimalSep()).value_or(0);
    field(index).setForeColor(colors::kButtonText);
    if (ComboBox* shown = core.form.cmb_cfg.find(index)) shown->setForeColor(colors::kButtonText);
    CheckChangedFields(core.form);
  }

  bool isRed(const Control& control) const { return control.foreColor() == colors::kRed; }

  VirtualScheduler clock;
  FakeSerialPort port;
  RecordingMessageBoxes messages;
  ConfigCore core;
};

}  // namespace rbx14::test
