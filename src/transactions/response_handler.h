#pragma once
// The single receive path. For now it does the arrival housekeeping only:
// it takes the waiting bytes, stops the retransmission and the time-out,
// hides the warning and re-enables the read-out controls. Assembling and
// distributing answers comes with the transactions.

#include "core/globals.h"
#include "link/serial_port.h"
#include "model/frm_config.h"

#include <functional>

namespace rbx14 {

class ResponseHandler {
 public:
  ResponseHandler(Globals& globals, FrmConfig& form, SerialPort& port,
                  std::function<void()> checkChangedFields);

  void ReceiveAnswer();

  // Bytes taken from the port so far (the raw answer stream).
  const QByteArray& received() const { return received_; }

 private:
  void arrivalHousekeeping();

  Globals& g_;
  FrmConfig& form_;
  SerialPort& port_;
  std::function<void()> checkChangedFields_;
  QByteArray received_;
};

}  // namespace rbx14
