#include "base/trap.h"

namespace rbx14 {

Q_LOGGING_CATEGORY(lcTrap, "rbx14.trap", QtWarningMsg)

}  // namespace rbx14
