// rbx14-sim: the simulated RBX14 on a pseudo-terminal.

#include "link/qt_scheduler.h"
#include "sim/pty_server.h"
#include "sim/quit_on_signal.h"
#include "sim/simulated_bus.h"
#include "sim/simulated_bus.h"
#include "files/parameter_file.h"
#include "sim/image_from_file.h"
#include "sim/sim_options.h"
#include "sim/tcp_server.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTime>

#include <cstdio>

namespace {

void Print(std::FILE* stream, const QString& text) {
  std::fputs(text.toLocal8Bit().constData(), stream);
  std::fputc('\n', stream);
  std::fflush(stream);
}

const char* KindText(rbx14::sim::LineEvent::Kind kind) {
  using Kind = rbx14::sim::LineEvent::Kind;
  switch (kind) {
    case Kind::Request: return "rx";
    case Kind::OtherAddress: return "rx (not for us)";
    case Kind::BadCheck: return "rx (rejected)";
    case Kind::Answer: return "tx";
    case Kind::Dropped: return "tx (not sent)";
  }
  return "?";
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("rbx14-sim"));
  QCoreApplication::setApplicationVersion(QStringLiteral(RBX14_VERSION));

  const auto parsed = rbx14::sim::ParseSimOptions(QCoreApplication::arguments());
  if (!parsed.options) {
    Print(parsed.exitCode == 0 ? stdout : stderr, parsed.message);
    return parsed.exitCode;
  }
  const rbx14::sim::SimOptions& options = *parsed.options;

  rbx14::QtScheduler scheduler;
  // Every address its own device on the one line.
  rbx14::sim::SimulatedBus bus(options.device, options.addresses);
  bus.setLine(options.line);
  if (!options.imageFile.isEmpty()) {
    const auto lines = rbx14::ReadParameterFile(options.imageFile);
    if (!lines || lines->size() < rbx14::kParameterFileLines) {
      Print(stderr, QStringLiteral("rbx14-sim: ") + options.imageFile +
                        QStringLiteral(" is no parameter file (147 lines)."));
      return 2;
    }
    for (const auto& device : bus.devices()) rbx14::sim::ApplyParameterFileToImage(*lines, device->image());
  }
  if (options.log) {
    const rbx14::sim::LineMode mode = options.device.mode;
    const bool several = options.addresses.size() > 1;
    for (const auto& device : bus.devices()) {
      const int address = device->settings().address;
      const bool first = device == bus.devices().front();
      device->setOnLineEvent([mode, several, address, first](const rbx14::sim::LineEvent& e) {
        using Kind = rbx14::sim::LineEvent::Kind;
        // With several devices a request for one is "not for us" to all the
        // others; the answering device's lines say enough.
        if (several && e.kind == Kind::OtherAddress) return;
        if (several && e.kind == Kind::BadCheck && !first) return;
        QString line = QTime::currentTime().toString(QStringLiteral("HH:mm:ss.zzz")) + u' ';
        if (several && e.kind != Kind::BadCheck) line += QStringLiteral("[%1] ").arg(address);
        line += QString::fromLatin1(KindText(e.kind)) + u' ' + rbx14::sim::FrameText(e.frame, mode);
        if (!e.note.isEmpty()) line += QStringLiteral("  [") + e.note + u']';
        Print(stdout, line);
      });
    }
  }

  if (!rbx14::sim::QuitOnSignals()) Print(stderr, QStringLiteral("rbx14-sim: no signal handling"));
  if (options.network != rbx14::sim::SimOptions::Network::None) {
    rbx14::sim::TcpServer server(scheduler, bus,
                                 options.network == rbx14::sim::SimOptions::Network::ModbusTcp
                                     ? rbx14::sim::TcpServer::Kind::ModbusTcp
                                     : rbx14::sim::TcpServer::Kind::RawTcp);
    const QHostAddress host(options.host == u"localhost" ? QStringLiteral("127.0.0.1") : options.host);
    QString error = host.isNull() ? QStringLiteral("not an IP address: ") + options.host : QString();
    if (!error.isEmpty() || !server.listen(host, static_cast<quint16>(options.port), &error)) {
      Print(stderr, QStringLiteral("rbx14-sim: cannot listen: ") + error);
      return 1;
    }
    Print(stdout, server.portName());
    return QCoreApplication::exec();
  }

  rbx14::sim::PtyServer server(scheduler, bus);
  QString error;
  if (!server.open(&error)) {
    Print(stderr, QStringLiteral("rbx14-sim: cannot open a pseudo-terminal: ") + error);
    return 1;
  }
  if (!options.linkPath.isEmpty()) {
    // Replace a stale link from an earlier run, but never a real file.
    if (QFileInfo(options.linkPath).isSymLink()) QFile::remove(options.linkPath);
    if (!QFile::link(server.slavePath(), options.linkPath)) {
      Print(stderr, QStringLiteral("rbx14-sim: cannot make the link ") + options.linkPath);
      return 1;
    }
  }

  Print(stdout, server.slavePath());
  const int code = QCoreApplication::exec();
  if (!options.linkPath.isEmpty()) QFile::remove(options.linkPath);
  return code;
}
