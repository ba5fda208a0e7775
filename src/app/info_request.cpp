#include "app/info_request.h"

#include "shell/installation_report.h"

#include <QString>

#include <cstdio>
#include <cstring>

namespace rbx14 {
namespace {

constexpr const char* kHelp =
    "Usage: rbx14-config [--help | --version]\n"
    "Configuration window for the RBX14 room operating unit on an RS485 Modbus line "
    "(ASCII or RTU): read out, edit and write back its parameters, drive its display "
    "symbols and external values, watch its outputs, save and load parameter files.\n"
    "\n"
    "Options:\n"
    "  -h, --help  Show this help.\n"
    "  --version   Show the version, and what the installation left: the installation\n"
    "              folder, the installed version, the language and the help document.\n"
    "\n"
    "Files:\n"
    "  /etc/xdg/rbx14-config/rbx14-config.ini  The machine's settings: installation\n"
    "              folder (Pfad), language (Language, 1031 German, 1033 English) and\n"
    "              version (Version).\n"
    "  ~/.config/rbx14-config/rbx14-config.ini  The user's settings: decimal separator\n"
    "              (sDecimal) and serial port map ([Ports], e.g. COM1=/dev/ttyUSB0).\n";

void Print(const QString& text) {
  std::fputs(text.toLocal8Bit().constData(), stdout);
  std::fputc('\n', stdout);
}

}  // namespace

std::optional<int> AnswerInfoRequest(int argc, const char* const argv[]) {
  for (int i = 1; i < argc; ++i) {
    if (argv[i] == nullptr) continue;
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::fputs(kHelp, stdout);
      return 0;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      Print(QStringLiteral("rbx14-config " RBX14_VERSION));
      Print(FormatInstallationReport(ReadInstallation(ReadSettings())));
      return 0;
    }
  }
  return std::nullopt;
}

}  // namespace rbx14
