#include "fuzz_input.h"

#include <QDir>

#include <cstdio>
#include <cstdlib>

namespace rbx14::fuzz {

void Violated(const char* invariant, const char* detail) {
  std::fprintf(stderr, "\n*** invariant violated: %s %s\n", invariant, detail);
  std::abort();
}

void IsolateSettings() {
  const QByteArray empty = QDir::tempPath().toLocal8Bit() + "/rbx14-fuzz-no-settings";
  qputenv("XDG_CONFIG_HOME", empty + "/user");
  qputenv("XDG_CONFIG_DIRS", empty + "/system");
}

}  // namespace rbx14::fuzz
