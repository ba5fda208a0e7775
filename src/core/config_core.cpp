#include "core/config_core.h"

#include "model/change_tracking.h"
#include "transactions/request_builders.h"

namespace rbx14 {

ConfigCore::ConfigCore(Scheduler& scheduler, SerialPort& port, MessageBoxes& messages)
    : form(scheduler),
      editing(globals, form),
      port_(port),
      responses(globals, form, port, [this] { CheckChangedFields(form); }),
      link(globals, form, port, messages,
           Link::Calls{
               .receiveAnswer = [this] { responses.ReceiveAnswer(); },
               .checkChangedFields = [this] { CheckChangedFields(form); },
               .buildProbe = [this] { BuildProbeRequest(globals, form); },
           }) {}

void ConfigCore::Main() {
  link.SetStartValues();
  link.FillSettingsLists();
  link.ConfigurePort();
}

}  // namespace rbx14
