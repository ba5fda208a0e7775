#include "sim/sim_options.h"

#include "base/address_list.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cmath>

namespace rbx14::sim {
namespace {

constexpr int kUsageError = 2;

struct RateOption {
  const char* name;
  double FaultSettings::*rate;
  const char* help;
};

constexpr RateOption kRateOptions[] = {
    {"drop", &FaultSettings::dropRate, "Chance (0..1) that an answer is not sent."},
    {"corrupt", &FaultSettings::corruptRate, "Chance (0..1) that one byte of an answer is damaged."},
    {"late", &FaultSettings::lateRate, "Chance (0..1) that an answer comes --late-ms later."},
    {"wrong-address", &FaultSettings::wrongAddressRate,
     "Chance (0..1) that an answer carries another slave address."},
    {"split", &FaultSettings::splitRate,
     "Chance (0..1) that an answer comes in chunks --split-gap-ms apart."},
    {"collision", &FaultSettings::collisionRate,
     "Chance (0..1) that a second device answers at the same time."},
    {"stray", &FaultSettings::strayRate,
     "Chance (0..1) that a stray byte goes ahead of an answer (the line turning round)."},
};

std::optional<int> IntIn(const QString& text, int low, int high) {
  bool ok = false;
  const int v = text.trimmed().toInt(&ok);
  if (!ok || v < low || v > high) return std::nullopt;
  return v;
}

std::optional<double> Rate(const QString& text) {
  bool ok = false;
  const double v = text.trimmed().toDouble(&ok);
  if (!ok || !std::isfinite(v) || v < 0.0 || v > 1.0) return std::nullopt;
  return v;
}

std::optional<char> Parity(const QString& text) {
  const QString p = text.trimmed().toLower();
  if (p == u"n" || p == u"none") return 'N';
  if (p == u"e" || p == u"even") return 'E';
  if (p == u"o" || p == u"odd") return 'O';
  return std::nullopt;
}

ParsedSimOptions Fail(const QString& message) {
  return {std::nullopt, message + QStringLiteral("\nTry --help."), kUsageError};
}

}  // namespace

ParsedSimOptions ParseSimOptions(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral(
      "Simulated RBX14 room operating unit: a Modbus slave (RTU or ASCII) on a "
      "pseudo-terminal, or behind a TCP port as a network gateway (--tcp, --mbtcp). "
      "Prints the terminal's path or the port's name, then serves until stopped "
      "(Ctrl+C, SIGTERM)."));
  const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                QStringLiteral("Show this help."));
  parser.addOption(help);
  const QCommandLineOption version(QStringLiteral("version"),
                                   QStringLiteral("Show the program's version."));
  parser.addOption(version);
  const QCommandLineOption mode({QStringLiteral("m"), QStringLiteral("mode")},
                                QStringLiteral("Transmission mode: rtu or ascii (default rtu)."),
                                QStringLiteral("mode"), QStringLiteral("rtu"));
  const QCommandLineOption address({QStringLiteral("a"), QStringLiteral("address")},
                                   QStringLiteral("Slave address 1..247, or several devices on the line: "
                                                  "1,2,3 or 1-5 (default 1)."),
                                   QStringLiteral("n"), QStringLiteral("1"));
  const QCommandLineOption baud({QStringLiteral("b"), QStringLiteral("baud")},
                                QStringLiteral("Baud rate for the line timing (default 9600)."),
                                QStringLiteral("rate"), QStringLiteral("9600"));
  const QCommandLineOption parity({QStringLiteral("p"), QStringLiteral("parity")},
                                  QStringLiteral("Parity: none, even or odd (default even)."),
                                  QStringLiteral("parity"), QStringLiteral("even"));
  const QCommandLineOption stopBits(QStringLiteral("stop-bits"),
                                    QStringLiteral("Stop bits: 1 or 2 (default 1)."),
                                    QStringLiteral("n"), QStringLiteral("1"));
  const QCommandLineOption dataBits(QStringLiteral("data-bits"),
                                    QStringLiteral("Data bits: 7 or 8 (default 8 for RTU, 7 for ASCII)."),
                                    QStringLiteral("n"));
  const QCommandLineOption delay({QStringLiteral("d"), QStringLiteral("delay")},
                                 QStringLiteral("Response delay in ms, 0..3000 (default: the device's "
                                                "minimum response time, holding register 15)."),
                                 QStringLiteral("ms"));
  const QCommandLineOption seed(QStringLiteral("seed"),
                                QStringLiteral("Seed of the fault dice (default 1)."),
                                QStringLiteral("n"), QStringLiteral("1"));
  const QCommandLineOption lateMs(QStringLiteral("late-ms"),
                                  QStringLiteral("Extra delay of a late answer in ms (default 1500)."),
                                  QStringLiteral("ms"), QStringLiteral("1500"));
  const QCommandLineOption splitGapMs(QStringLiteral("split-gap-ms"),
                                      QStringLiteral("Pause between the chunks of a split answer in ms "
                                                     "(default 60)."),
                                      QStringLiteral("ms"), QStringLiteral("60"));
  const QCommandLineOption silentAfter(QStringLiteral("silent-after"),
                                       QStringLiteral("Fall silent after answering n requests."),
                                       QStringLiteral("n"));
  const QCommandLineOption link({QStringLiteral("l"), QStringLiteral("link")},
                                QStringLiteral("Also make a symbolic link to the terminal at path "
                                               "(removed again on exit)."),
                                QStringLiteral("path"));
  const QCommandLineOption log({QStringLiteral("v"), QStringLiteral("log")},
                               QStringLiteral("Log every request and answer in hex on standard output."));
  const QCommandLineOption image(QStringLiteral("image"),
                                 QStringLiteral("Start every device with the configuration of a "
                                                "saved parameter file (registers 2 to 60, bits, "
                                                "texts and units)."),
                                 QStringLiteral("file"));
  const QCommandLineOption tcp(QStringLiteral("tcp"),
                               QStringLiteral("Serve the mode's frames on a TCP port instead of a "
                                              "pseudo-terminal, as a serial device server: [HOST:]PORT "
                                              "(host 127.0.0.1 unless given; port 0 picks a free one)."),
                               QStringLiteral("[host:]port"));
  const QCommandLineOption mbtcp(QStringLiteral("mbtcp"),
                                 QStringLiteral("Serve Modbus TCP on a TCP port, as a gateway to the "
                                                "line (RTU only): [HOST:]PORT."),
                                 QStringLiteral("[host:]port"));
  parser.addOptions({mode, address, baud, parity, stopBits, dataBits, delay, seed, lateMs,
                     splitGapMs, silentAfter, link, log, image, tcp, mbtcp});
  std::vector<QCommandLineOption> rates;
  for (const RateOption& r : kRateOptions) {
    rates.emplace_back(QString::fromLatin1(r.name), QString::fromLatin1(r.help),
                       QStringLiteral("rate"), QStringLiteral("0"));
    parser.addOption(rates.back());
  }

  if (!parser.parse(arguments)) return Fail(parser.errorText());
  if (parser.isSet(help)) return {std::nullopt, parser.helpText(), 0};
  if (parser.isSet(version)) {
    return {std::nullopt,
            QCoreApplication::applicationName() + u' ' + QCoreApplication::applicationVersion(), 0};
  }
  if (!parser.positionalArguments().isEmpty()) {
    return Fail(QStringLiteral("Unexpected argument: ") + parser.positionalArguments().first());
  }

  SimOptions out;
  const QString modeText = parser.value(mode).toLower();
  if (modeText == u"rtu") {
    out.device.mode = LineMode::Rtu;
  } else if (modeText == u"ascii") {
    out.device.mode = LineMode::Ascii;
  } else {
    return Fail(QStringLiteral("--mode must be rtu or ascii."));
  }
  const auto addressValues = ParseAddressList(parser.value(address));
  if (!addressValues) {
    return Fail(QStringLiteral("--address must be 1..247, or a list such as 1,2,3 or 1-5."));
  }
  out.addresses = *addressValues;
  out.device.address = out.addresses.front();

  const auto baudValue = IntIn(parser.value(baud), 50, 4'000'000);
  if (!baudValue) return Fail(QStringLiteral("--baud must be a baud rate."));
  const auto parityValue = Parity(parser.value(parity));
  if (!parityValue) return Fail(QStringLiteral("--parity must be none, even or odd."));
  const auto stopValue = IntIn(parser.value(stopBits), 1, 2);
  if (!stopValue) return Fail(QStringLiteral("--stop-bits must be 1 or 2."));
  int dataValue = out.device.mode == LineMode::Ascii ? 7 : 8;
  if (parser.isSet(dataBits)) {
    const auto v = IntIn(parser.value(dataBits), 7, 8);
    if (!v) return Fail(QStringLiteral("--data-bits must be 7 or 8."));
    dataValue = *v;
  }
  out.line = PortSettings{*baudValue, *parityValue, dataValue, *stopValue};

  if (parser.isSet(delay)) {
    const auto v = IntIn(parser.value(delay), 0, 3000);
    if (!v) return Fail(QStringLiteral("--delay must be 0..3000 ms."));
    out.device.responseDelayMs = *v;
  }

  FaultSettings& faults = out.device.faults;
  bool seedOk = false;
  faults.seed = parser.value(seed).trimmed().toULongLong(&seedOk);
  if (!seedOk) return Fail(QStringLiteral("--seed must be a whole number."));
  for (std::size_t k = 0; k < rates.size(); ++k) {
    const auto v = Rate(parser.value(rates[k]));
    if (!v) return Fail(QStringLiteral("--%1 must be a chance from 0 to 1.").arg(QString::fromLatin1(kRateOptions[k].name)));
    faults.*(kRateOptions[k].rate) = *v;
  }
  const auto late = IntIn(parser.value(lateMs), 0, 60'000);
  if (!late) return Fail(QStringLiteral("--late-ms must be 0..60000."));
  faults.lateMs = *late;
  const auto gap = IntIn(parser.value(splitGapMs), 0, 60'000);
  if (!gap) return Fail(QStringLiteral("--split-gap-ms must be 0..60000."));
  faults.splitGapMs = *gap;
  if (parser.isSet(silentAfter)) {
    const auto v = IntIn(parser.value(silentAfter), 0, 1'000'000'000);
    if (!v) return Fail(QStringLiteral("--silent-after must be a count."));
    faults.silentAfter = *v;
  }

  if (parser.isSet(tcp) && parser.isSet(mbtcp)) return Fail(QStringLiteral("--tcp or --mbtcp, not both."));
  if (parser.isSet(tcp) || parser.isSet(mbtcp)) {
    out.network = parser.isSet(tcp) ? SimOptions::Network::RawTcp : SimOptions::Network::ModbusTcp;
    const QString where = parser.value(parser.isSet(tcp) ? tcp : mbtcp).trimmed();
    const qsizetype colon = where.lastIndexOf(u':');
    if (colon >= 0) out.host = where.left(colon);
    const auto portValue = IntIn(where.mid(colon + 1), 0, 65535);
    if (!portValue || out.host.isEmpty()) return Fail(QStringLiteral("--tcp and --mbtcp take [HOST:]PORT."));
    out.port = *portValue;
    if (out.network == SimOptions::Network::ModbusTcp && out.device.mode == LineMode::Ascii) {
      return Fail(QStringLiteral("--mbtcp serves RTU devices; a Modbus TCP gateway has no ASCII."));
    }
    if (parser.isSet(link)) return Fail(QStringLiteral("--link names a pseudo-terminal; not with --tcp or --mbtcp."));
  }
  out.linkPath = parser.value(link);
  out.imageFile = parser.value(image);
  out.log = parser.isSet(log);
  return {out, {}, 0};
}

}  // namespace rbx14::sim
