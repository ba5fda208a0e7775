#pragma once
// The main window's controls and flags, without a window: the control
// arrays under their window names and indices, and the window's timers.
// Handlers live with their subsystems and reach the controls through this
// object; the Qt view builds its widgets from it and binds to it.

#include "base/timer.h"
#include "model/controls.h"
#include "model/form_indices.h"
#include "base/texts.h"

#include <array>
#include <functional>
#include <memory>
#include <vector>

namespace rbx14 {

// A fixed array of the device's values, indexed like the controls. An index
// outside it is a run-time error (std::out_of_range), which the handler's
// trap catches.
template <class T, std::size_t N>
class ReferenceValues {
 public:
  T& operator[](int index) { return values_.at(static_cast<std::size_t>(index)); }
  const T& operator[](int index) const { return values_.at(static_cast<std::size_t>(index)); }
  static constexpr int size() { return static_cast<int>(N); }

 private:
  std::array<T, N> values_{};
};

struct FrmConfig {
  explicit FrmConfig(Scheduler& scheduler);

  // The window itself: title, and whether it takes input (not while the
  // state window is open).
  Window window;

  // Link settings.
  ControlArray<ComboBox> Combo_Port;
  TextBox txt_Modbus_adress;
  ControlArray<Label> lbl_parameter;  // captions of the settings lists
  Frame frm_parameter;

  // Labels and buttons.
  ControlArray<Label> lbl_desc;
  CheckBox chk_read_out;
  CheckBox chk_sync;
  CommandButton read_out_parameter;
  CommandButton set_parameter;

  // ---- Configuration registers, texts and units (filled by the register map).
  ControlArray<TextBox> txt_data_cfg;       // holding register i, 0..60
  ControlArray<Label> lbl_cfg;              // caption of field i
  ControlArray<ComboBox> cmb_cfg;           // list of an enumerated field i
  ControlArray<Label> lbl_cfg_val;          // read-only display of fields 0 and 1
  ControlArray<UpDown> UpD_txt_cfg;         // arrows of a field with a range
  ControlArray<TextBox> txt_data_cfg_txt;   // display text k, registers 0x300 + 10k
  ControlArray<Label> lbl_cfg_txt;          // caption of display text k
  ControlArray<TextBox> txt_data_cfg_unit;  // unit texts, three per block from 0x400
  ControlArray<Label> lbl_cfg_unit;         // caption of unit text u

  // Frames that group the fields (the frame table says which holds what).
  ControlArray<Frame> frm_allg;
  ControlArray<Frame> frm_Anzeige;
  ControlArray<Frame> frm_button;
  ControlArray<Frame> frm_extern;
  ControlArray<Frame> frm_soll;
  ControlArray<Frame> frm_ctrl;
  ControlArray<Frame> frm_val;  // the monitor
  Frame frm_VX9H;  // heating fan stages
  Frame frm_VX9K;  // cooling fan stages
  Frame Frame2;    // the device's keys on the monitor

  // Auto-repeat of the up/down arrows: the field under the mouse and the
  // direction while a button is held.
  int dRepeatIndex = 0;
  bool bRepeatUp = false;

  // ---- Configuration bits and input bits (filled by the bit tables).
  ControlArray<CheckBox> chk_cfg;      // coil i, 0..31
  ControlArray<ComboBox> cmb_bit_cfg;  // two-item list of bits 16..26
  ControlArray<CheckBox> chk_input;    // coil 0x100 + i, 0..15
  ControlArray<Label> lbl_read_cfg_bit;  // caption of configuration bit i
  ControlArray<Label> lbl_read_in_bit;   // caption of input bit i

  // ---- External values and output monitor (filled by their tables).
  ControlArray<TextBox> txt_data_in;   // input register 0x200 + k, 0..24
  ControlArray<ComboBox> cmb_in;       // lists of input fields 15..21
  ControlArray<TextBox> txt_data_out;  // output register 0x100 + k
  ControlArray<Label> Lbl_button;      // key indicators 0..3
  ControlArray<Label> lbl_temp;        // temperature preview labels
  ControlArray<Label> lbl_read_out;    // captions of the output registers
  ControlArray<Label> lbl_in_val;      // value texts beside output registers
  ControlArray<Label> lbl_data_in;     // captions of the input registers

  // ---- The device's values as last read (reference for the changed marks).
  ReferenceValues<double, 61> dCfgRegValue;
  ReferenceValues<QString, 31> sCfgTextValue;
  ReferenceValues<QString, 61> sCfgUnitValue;
  ReferenceValues<int, 41> iCfgBitValue;
  ReferenceValues<int, 41> iInputBitValue;
  ReferenceValues<double, 41> dInputRegValue;

  // Main-window flags.
  bool bDelayChanged = false;
  bool bInputRegsChanged = false;
  bool bInputBitsChanged = false;

  // ---- Texts. Every place of the window that has a text in both languages
  // is registered here with its German design text in place; applyLanguage
  // puts the texts of the run's language there.
  template <class C>
  void localise(C& control, texts::LocalText text) {
    control.setCaption(text.in(false));
    texts_.push_back(text);
    textPlaces_.push_back([&control, text](bool english) { control.setCaption(text.in(english)); });
  }
  void localiseItems(ComboBox& list, std::vector<texts::LocalText> items);
  void applyLanguage(bool english);
  // Every text registered above, for checks that walk the window.
  const std::vector<texts::LocalText>& localisedTexts() const { return texts_; }

  // Timers, named as the window names them.
  std::unique_ptr<TickTimer> Timer;   // up/down auto-repeat
  std::unique_ptr<TickTimer> Timer1;  // configuration write job
  std::unique_ptr<TickTimer> Timer2;  // input-register write job
  std::unique_ptr<TickTimer> Timer3;  // answer time-out
  std::unique_ptr<TickTimer> Timer4;  // receive poll
  std::unique_ptr<TickTimer> Timer5;  // retransmission
  std::unique_ptr<TickTimer> Timer6;  // read-out job
  std::unique_ptr<TickTimer> Timer7;  // output-register monitor

 private:
  std::vector<std::function<void(bool)>> textPlaces_;
  std::vector<texts::LocalText> texts_;
};

}  // namespace rbx14
