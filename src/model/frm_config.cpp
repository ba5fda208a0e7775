#include "model/frm_config.h"

#include "base/texts.h"

namespace rbx14 {

FrmConfig::FrmConfig(Scheduler& scheduler)
    : Timer(scheduler.createTimer("Timer", 200)),
      Timer1(scheduler.createTimer("Timer1", 400)),
      Timer2(scheduler.createTimer("Timer2", 200)),
      Timer3(scheduler.createTimer("Timer3", 5000)),
      Timer4(scheduler.createTimer("Timer4", 50)),
      Timer5(scheduler.createTimer("Timer5", 1000)),
      Timer6(scheduler.createTimer("Timer6", 200)),
      Timer7(scheduler.createTimer("Timer7", 400)) {
  // Design-time state: German texts, everything that needs an open port
  // disabled, the warning hidden.
  localise(window, texts::kMainWindowTitle);

  // The controls the transactions fill exist from the start, as a window's
  // controls do; the subsystems that own them give them captions, limits
  // and handlers.
  for (int i = 0; i <= 60; ++i) txt_data_cfg.add(i);
  for (int i = 0; i <= 21; ++i) txt_data_cfg_txt.add(i);
  for (int i = 0; i <= 17; ++i) txt_data_cfg_unit.add(i);
  for (int i = 0; i <= 32; ++i) chk_cfg.add(i);
  for (int i = 16; i <= 26; ++i) cmb_bit_cfg.add(i);
  for (int i = 0; i <= 15; ++i) chk_input.add(i);
  for (int i = 0; i <= 24; ++i) txt_data_in.add(i);
  for (int i = 15; i <= 21; ++i) cmb_in.add(i);
  for (int i = 0; i <= 16; ++i) txt_data_out.add(i);
  for (int i = 0; i <= 3; ++i) Lbl_button.add(i);
  for (int i = 0; i <= 1; ++i) lbl_temp.add(i);
  for (int index : {port_list::kPort, port_list::kBaud, port_list::kParity, port_list::kMode,
                    port_list::kOpenClose}) {
    Combo_Port.add(index);
  }
  txt_Modbus_adress.setText(QStringLiteral("1"));

  localise(frm_parameter, texts::kFrameParameter);
  for (const auto& [index, text] : texts::kPortListCaptions) {
    lbl_parameter.add(index).setCaption(text);
  }

  Label& warning = lbl_desc.add(desc::kCommWarning);
  localise(warning, texts::kCommWarning);
  warning.setVisible(false);
  warning.setForeColor(colors::kRed);
  Label& pollCaption = lbl_desc.add(desc::kPollCaption);
  localise(pollCaption, texts::kPollCaption);
  pollCaption.setEnabled(false);

  // The monitor controls that follow the device type: the captions of
  // output registers 11 and 12 and the controller state.
  for (int index : {11, 12, 13}) lbl_read_out.add(index);
  lbl_in_val.add(13);
  lbl_data_in.add(21);
  cmb_in.add(21);

  chk_read_out.setEnabled(false);
  localise(read_out_parameter, texts::kReadOutButton);
  read_out_parameter.setEnabled(false);
  localise(set_parameter, texts::kSetParameterButton);
  set_parameter.setEnabled(false);
}

void FrmConfig::localiseItems(ComboBox& list, std::vector<texts::LocalText> items) {
  QStringList german;
  for (const auto& item : items) german << item.in(false);
  list.setItems(german);
  texts_.insert(texts_.end(), items.begin(), items.end());
  textPlaces_.push_back([&list, items](bool english) {
    // Same entries, same positions: a selection keeps its meaning.
    for (std::size_t i = 0; i < items.size(); ++i) {
      list.setItemText(static_cast<int>(i), items[i].in(english));
    }
  });
}

void FrmConfig::applyLanguage(bool english) {
  for (const auto& place : textPlaces_) place(english);
}

}  // namespace rbx14
