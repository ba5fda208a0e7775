#include "transactions/response_handler.h"

namespace rbx14 {

ResponseHandler::ResponseHandler(Globals& globals, FrmConfig& form, SerialPort& port,
                                 std::function<void()> checkChangedFields)
    : g_(globals), form_(form), port_(port), checkChangedFields_(std::move(checkChangedFields)) {}

void ResponseHandler::arrivalHousekeeping() {
  form_.Timer5->setEnabled(false);
  form_.Timer3->setEnabled(false);
  form_.lbl_desc[desc::kCommWarning].setVisible(false);
  form_.chk_read_out.setEnabled(true);
  if (form_.chk_read_out.value() == 0) {
    form_.read_out_parameter.setEnabled(true);
    if (checkChangedFields_) checkChangedFields_();
  }
}

void ResponseHandler::ReceiveAnswer() {
  if (g_.sModbusMode != kModeRtu && g_.sModbusMode != kModeAscii) return;
  if (g_.sModbusMode == kModeRtu) form_.Timer4->setEnabled(true);
  const int n = port_.inBufferCount();
  const QByteArray bytes = port_.input().left(n);
  arrivalHousekeeping();
  // Keep a bounded tail for inspection; the answer itself is not yet used.
  received_ += bytes;
  constexpr qsizetype kKeep = 4096;
  if (received_.size() > kKeep) received_ = received_.right(kKeep);
}

}  // namespace rbx14
