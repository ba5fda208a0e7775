// Lines behind network gateways, on 127.0.0.1 only, through rbx14-cli as a
// technician runs it. Independent peers: pymodbus serving RTU over TCP and
// Modbus TCP, and a libmodbus Modbus TCP server, all holding the same image
// as the pymodbus slave on a serial line. A read-out through each saves the
// very file the serial line gives; a write through each leaves the file in
// the peer. The failures name the host and port and stop the batch: nothing
// listening, a connection dropped during a read-out or a write, ASCII to a
// Modbus TCP gateway; answers under another transaction identifier and
// answers after the repeat interval do no harm.

#include "e2e_helpers.h"

#include <QFile>
#include <QTcpServer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace rbx14 {
namespace {

using test::Args;
using test::Peer;

// The pymodbus slave serving RTU over TCP ("rtu") or Modbus TCP ("mbtcp").
std::unique_ptr<Peer> PymodbusTcp(const char* kind, const char* faults) {
  return std::make_unique<Peer>(test::kPython, QStringList{test::kPymodbusSlave, QStringLiteral("--tcp")} + Args(faults)
                                                   << QString::fromLatin1(kind) << QStringLiteral("1"));
}

// `args` then `more`, for the device at 1, messages in English.
test::CliRun Cli(const char* args, const QStringList& more) {
  return test::RunCliProgram(Args(args) + more + Args("--address 1 --language en"));
}

// A saved file's lines; the time of the read-out (line 6) is left out.
QStringList SavedLines(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  QStringList lines = QString::fromLatin1(file.readAll()).split(QStringLiteral("\r\n"));
  if (lines.size() > 5) lines.removeAt(5);
  return lines;
}

class NetworkLine : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }
  QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
  // True when the run ends well.
  static bool Ok(const char* args, const QStringList& more) {
    const auto run = Cli(args, more);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    return run.exitCode == 0;
  }
  QTemporaryDir dir;
};

struct GatewayRow {
  const char* name;
  const char* scheme;  // tcp:// or mbtcp://
  bool libmodbus;      // the libmodbus server, else pymodbus
  const char* kind;    // pymodbus: rtu or mbtcp
  const char* faults;  // pymodbus relay options, e.g. "--wrong-id 2"
};
std::ostream& operator<<(std::ostream& os, const GatewayRow& row) { return os << row.name; }

class ThroughAGateway : public NetworkLine, public ::testing::WithParamInterface<GatewayRow> {};

TEST_P(ThroughAGateway, ReadsTheSerialLinesFileAndWritesAFile) {
  const GatewayRow& row = GetParam();
  // The same image read over a serial line.
  {
    Peer serial(test::kPython, {test::kPymodbusSlave, QStringLiteral("--line"), QStringLiteral("rtu"), QStringLiteral("1")});
    ASSERT_TRUE(serial.where().startsWith(u"/dev/")) << "the pymodbus slave did not start";
    QThread::msleep(1500);  // it opens its side after it said so
    ASSERT_TRUE(Ok("read -o", {path("serial.txt"), QStringLiteral("--port"), serial.where()}));
  }
  // The simulated device's file: another unit's, to write into the peer.
  ASSERT_TRUE(Ok("read --port sim -o", {path("written.txt")}));

  const auto gateway = row.libmodbus ? std::make_unique<Peer>(QStringLiteral(RBX14_LIBMODBUS_SERVER), QStringList{})
                                     : PymodbusTcp(row.kind, row.faults);
  ASSERT_FALSE(gateway->where().isEmpty()) << "the gateway did not start";
  const QStringList port{QStringLiteral("--port"),
                         QString::fromLatin1(row.scheme) + QStringLiteral("127.0.0.1:") + gateway->where()};

  ASSERT_TRUE(Ok("read -o", QStringList{path("network.txt")} + port));
  const QStringList serialLines = SavedLines(path("serial.txt"));
  ASSERT_EQ(serialLines.size(), 147);
  EXPECT_EQ(SavedLines(path("network.txt")), serialLines);

  // Another unit's file (the simulated device's) into the peer, then read
  // back: the peer holds the file but for its coding and firmware.
  ASSERT_TRUE(Ok("write --force-type", QStringList{path("written.txt")} + port));
  ASSERT_TRUE(Ok("read -o", QStringList{path("back.txt")} + port));
  QStringList expected = SavedLines(path("written.txt"));
  QStringList got = SavedLines(path("back.txt"));
  ASSERT_EQ(got.size(), 147);
  ASSERT_NE(expected, serialLines);
  for (int identity : {14, 13}) {  // registers 0 and 1 (lines 15 and 16 of the file)
    expected.removeAt(identity);
    got.removeAt(identity);
  }
  EXPECT_EQ(got, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Peers, ThroughAGateway,
    ::testing::Values(GatewayRow{"pymodbus_rtu_over_tcp", "tcp://", false, "rtu", ""},
                      GatewayRow{"pymodbus_modbus_tcp", "mbtcp://", false, "mbtcp", ""},
                      GatewayRow{"pymodbus_modbus_tcp_wrong_ids", "mbtcp://", false, "mbtcp", "--wrong-id 2"},
                      GatewayRow{"pymodbus_rtu_over_tcp_late", "tcp://", false, "rtu", "--late 25"},
                      GatewayRow{"pymodbus_modbus_tcp_late", "mbtcp://", false, "mbtcp", "--late 25"},
                      GatewayRow{"libmodbus_modbus_tcp", "mbtcp://", true, "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

// (Nothing listening is one of the lines below.)
struct FailureRow {
  const char* name;
  const char* command;  // read or write, and the line's mode
  const char* scheme;
  const char* relay;    // pymodbus relay options
  const char* said;     // what the message says beside host and port
};
std::ostream& operator<<(std::ostream& os, const FailureRow& row) { return os << row.name; }

class GatewayFailure : public NetworkLine, public ::testing::WithParamInterface<FailureRow> {};

TEST_P(GatewayFailure, NamesHostAndPortAndSavesNothing) {
  const FailureRow& row = GetParam();
  const auto gateway = PymodbusTcp(QByteArray(row.scheme) == "tcp://" ? "rtu" : "mbtcp", row.relay);
  ASSERT_FALSE(gateway->where().isEmpty()) << "the gateway did not start";
  const QString port = QString::fromLatin1(row.scheme) + QStringLiteral("127.0.0.1:") + gateway->where();
  ASSERT_TRUE(Ok("read --port sim -o", {path("file.txt")}));
  const bool read = QByteArray(row.command).startsWith("read");
  const auto run = Cli(row.command, QStringList{QStringLiteral("--port"), port} +
                                        (read ? QStringList{QStringLiteral("-o"), path("out.txt")}
                                              : QStringList{QStringLiteral("--force-type"), path("file.txt")}));
  EXPECT_NE(run.exitCode, 0);
  EXPECT_NE(run.exitCode, -1) << "it hung or crashed";
  EXPECT_TRUE(run.err.contains(port + QStringLiteral(": ") + QString::fromLatin1(row.said)))
      << run.err.toStdString();
  EXPECT_FALSE(QFile::exists(path("out.txt")));
}

INSTANTIATE_TEST_SUITE_P(
    Failures, GatewayFailure,
    ::testing::Values(
        FailureRow{"dropped_during_read_out", "read --mode rtu", "mbtcp://", "--close-after 10",
                   "the gateway closed the connection"},
        FailureRow{"dropped_during_write", "write --mode rtu", "tcp://", "--close-after 45",
                   "the gateway closed the connection"},
        FailureRow{"ascii_to_modbus_tcp", "read --mode ascii", "mbtcp://", "--close-after 1",
                   "Modbus TCP carries RTU only"}),
    [](const auto& info) { return std::string(info.param.name); });

// Three lines at once: two simulated gateways (three devices) and one where
// nothing listens. The two save every device; the third fails alone.
TEST_F(NetworkLine, ManyLinesAtOnceAndAFailingLineStopsNoOther) {
  const QString sim = QStringLiteral(RBX14_SIM_PROGRAM);
  Peer first(sim, Args("--tcp 0 --address 1-2"));
  Peer second(sim, Args("--mbtcp 0 --address 3"));
  QTcpServer probe;  // a port that was free a moment ago: nothing listens there
  ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
  const QStringList ports{first.where(), second.where(), QStringLiteral("tcp://127.0.0.1:%1").arg(probe.serverPort())};
  probe.close();
  for (const QString& port : ports.mid(0, 2)) ASSERT_TRUE(port.contains(u"://127.0.0.1:")) << port.toStdString();
  // The first line on the command line, the others from a lines file.
  QFile lines(path("lines.txt"));
  ASSERT_TRUE(lines.open(QIODevice::WriteOnly));
  lines.write(("# the gateway\n" + ports[1] + " --mode rtu --address 3\n\n" + ports[2] + " --address 4\n").toUtf8());
  lines.close();
  const auto run = test::RunCliProgram(Args("read --port") << ports[0] << Args("--address 1-2 --language en --lines")
                                       << path("lines.txt") << QStringLiteral("-o") << path("line{line}_{address}.txt")
                                       << QStringLiteral("--report") << path("all.csv"));
  EXPECT_EQ(run.exitCode, 1) << run.err.toStdString();
  for (const char* saved : {"line1_1.txt", "line1_2.txt", "line2_3.txt"}) {
    EXPECT_EQ(SavedLines(path(saved)).size(), 147) << saved;
  }
  EXPECT_FALSE(QFile::exists(path("line3_4.txt")));
  // One report: every line's devices behind the line and its port.
  QFile report(path("all.csv"));
  ASSERT_TRUE(report.open(QIODevice::ReadOnly));
  const QList<QByteArray> rows = report.readAll().split('\n');
  ASSERT_GE(rows.size(), 5);
  EXPECT_TRUE(rows[0].startsWith("line,port,address,device type,")) << rows[0].toStdString();
  for (const auto& [row, front, result] :
       {std::tuple{1, "1," + ports[0] + ",1,", ",ok,"}, std::tuple{2, "1," + ports[0] + ",2,", ",ok,"},
        std::tuple{3, "2," + ports[1] + ",3,", ",ok,"}, std::tuple{4, "3," + ports[2] + ",", ",error,"}}) {
    EXPECT_TRUE(rows[row].startsWith(front.toUtf8()) && rows[row].contains(result)) << rows[row].toStdString();
  }
  EXPECT_TRUE(run.err.contains(QStringLiteral("line 3 ") + ports[2] + QStringLiteral(": ")) &&
              run.err.contains(ports[2] + QStringLiteral(": connection refused")))
      << run.err.toStdString();
}

}  // namespace
}  // namespace rbx14
