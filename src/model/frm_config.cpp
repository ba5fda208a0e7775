#include "model/frm_config.h"

#include "shell/texts.h"

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
  caption = texts::kMainWindowTitle.in(false);
  for (int index : {port_list::kPort, port_list::kBaud, port_list::kParity, port_list::kMode,
                    port_list::kOpenClose}) {
    Combo_Port.add(index);
  }
  txt_Modbus_adress.setText(QStringLiteral("1"));

  frm_parameter.setCaption(texts::kFrameParameter.in(false));
  for (const auto& [index, text] : texts::kPortListCaptions) {
    lbl_parameter.add(index).setCaption(text);
  }

  Label& warning = lbl_desc.add(desc::kCommWarning);
  warning.setCaption(texts::kCommWarning.in(false));
  warning.setVisible(false);
  warning.setForeColor(colors::kRed);
  Label& pollCaption = lbl_desc.add(desc::kPollCaption);
  pollCaption.setCaption(texts::kPollCaption.in(false));
  pollCaption.setEnabled(false);

  // The monitor controls that follow the device type: the captions of
  // output registers 11 and 12 and the controller state.
  for (int index : {11, 12, 13}) lbl_read_out.add(index);
  lbl_in_val.add(13);
  lbl_data_in.add(21);
  cmb_in.add(21);

  chk_read_out.setEnabled(false);
  read_out_parameter.setCaption(texts::kReadOutButton.in(false));
  read_out_parameter.setEnabled(false);
  set_parameter.setCaption(texts::kSetParameterButton.in(false));
  set_parameter.setEnabled(false);
}

}  // namespace rbx14
