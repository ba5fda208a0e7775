// Lines behind network gateways, on 127.0.0.1 only, through rbx14-cli as a
// technician runs it. Independent peers: pymodbus serving RTU over TCP and
// Modbus TCP, and a libmodbus Modbus TCP server, all holding the same image
// as the pymodbus slave on a serial line. A read-out through each saves the
// very file the serial line gives; a write through each leaves the file in
// the peer. The failures name the host and port and stop the batch: nothing
// listening, a connection dropped during a read-out or a write, ASCII to a
// Modbus TCP gateway; answers under another transaction identifier and
// answers after the repeat interval do no harm.

#include "pymodbus_peer.h"
#include "cli_process.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace rbx14 {
namespace {

using test::HavePymodbus;
using test::kPython;

// A peer started as its own process; it prints "ready" and its port or path.
class Peer {
 public:
  Peer(const QString& program, const QStringList& args) {
    process_.start(program, args);
    while (!process_.canReadLine() && process_.waitForReadyRead(20000)) {
    }
    const QStringList ready = QString::fromLocal8Bit(process_.readLine()).trimmed().split(u' ');
    if (ready.size() == 2 && ready[0] == u"ready") where_ = ready[1];
  }
  ~Peer() {
    process_.kill();
    process_.waitForFinished(5000);
  }
  const QString& where() const { return where_; }

 private:
  QProcess process_;
  QString where_;
};

QStringList PymodbusTcp(const char* kind, const QStringList& faults = {}) {
  return QStringList{QStringLiteral(RBX14_PYMODBUS_SLAVE), QStringLiteral("--tcp")} + faults +
         QStringList{QString::fromLatin1(kind), QStringLiteral("1")};
}

test::CliRun Cli(QStringList args) {
  args << QStringLiteral("--address") << QStringLiteral("1") << QStringLiteral("--language")
       << QStringLiteral("en");
  return test::RunCliProgram(args, 120000);
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
  void SetUp() override {
    if (!HavePymodbus()) GTEST_SKIP() << "no python3-pymodbus";
    ASSERT_TRUE(dir.isValid());
  }
  QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
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
    Peer serial(kPython, {QStringLiteral(RBX14_PYMODBUS_SLAVE), QStringLiteral("--line"), QStringLiteral("rtu"),
                          QStringLiteral("1")});
    ASSERT_FALSE(serial.where().isEmpty()) << "the pymodbus slave did not start";
    QThread::msleep(1500);  // it opens its side after it said so
    const auto run = Cli({QStringLiteral("read"), QStringLiteral("--port"), serial.where(), QStringLiteral("-o"),
                          path("serial.txt")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  }
  const auto simulated = Cli({QStringLiteral("read"), QStringLiteral("--port"), QStringLiteral("sim"),
                              QStringLiteral("-o"), path("written.txt")});
  ASSERT_EQ(simulated.exitCode, 0) << simulated.err.toStdString();

  const QStringList faults = QString::fromLatin1(row.faults).split(u' ', Qt::SkipEmptyParts);
  Peer gateway(row.libmodbus ? QStringLiteral(RBX14_LIBMODBUS_SERVER) : kPython,
               row.libmodbus ? QStringList{} : PymodbusTcp(row.kind, faults));
  ASSERT_FALSE(gateway.where().isEmpty()) << "the gateway did not start";
  const QString port = QString::fromLatin1(row.scheme) + QStringLiteral("127.0.0.1:") + gateway.where();

  const auto read = Cli({QStringLiteral("read"), QStringLiteral("--port"), port, QStringLiteral("-o"),
                         path("network.txt")});
  ASSERT_EQ(read.exitCode, 0) << read.err.toStdString();
  const QStringList serialLines = SavedLines(path("serial.txt"));
  ASSERT_EQ(serialLines.size(), 147);
  EXPECT_EQ(SavedLines(path("network.txt")), serialLines);

  // Another unit's file (the simulated device's) into the peer, then read
  // back: the peer holds the file but for its coding and firmware.
  const auto write = Cli({QStringLiteral("write"), QStringLiteral("--force-type"), QStringLiteral("--port"), port,
                          path("written.txt")});
  ASSERT_EQ(write.exitCode, 0) << write.err.toStdString();
  const auto back = Cli({QStringLiteral("read"), QStringLiteral("--port"), port, QStringLiteral("-o"),
                         path("back.txt")});
  ASSERT_EQ(back.exitCode, 0) << back.err.toStdString();
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

struct FailureRow {
  const char* name;
  const char* command;  // read or write
  const char* scheme;
  const char* relay;    // pymodbus relay options; empty: nothing listens
  const char* mode;
  const char* said;     // what the message says beside host and port
};
std::ostream& operator<<(std::ostream& os, const FailureRow& row) { return os << row.name; }

class GatewayFailure : public NetworkLine, public ::testing::WithParamInterface<FailureRow> {};

TEST_P(GatewayFailure, NamesHostAndPortAndSavesNothing) {
  const FailureRow& row = GetParam();
  std::unique_ptr<Peer> gateway;
  QString where;
  if (*row.relay != '\0') {
    gateway = std::make_unique<Peer>(
        kPython, PymodbusTcp(QByteArray(row.scheme) == "tcp://" ? "rtu" : "mbtcp",
                             QString::fromLatin1(row.relay).split(u' ', Qt::SkipEmptyParts)));
    where = gateway->where();
    ASSERT_FALSE(where.isEmpty()) << "the gateway did not start";
  } else {
    QTcpServer probe;  // a port that was free a moment ago
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    where = QString::number(probe.serverPort());
  }
  const QString port = QString::fromLatin1(row.scheme) + QStringLiteral("127.0.0.1:") + where;
  const auto simulated = Cli({QStringLiteral("read"), QStringLiteral("--port"), QStringLiteral("sim"),
                              QStringLiteral("-o"), path("file.txt")});
  ASSERT_EQ(simulated.exitCode, 0) << simulated.err.toStdString();
  QStringList args{QString::fromLatin1(row.command), QStringLiteral("--port"), port,
                   QStringLiteral("--mode"), QString::fromLatin1(row.mode)};
  if (QByteArray(row.command) == "read") {
    args << QStringLiteral("-o") << path("out.txt");
  } else {
    args << QStringLiteral("--force-type") << path("file.txt");
  }
  const auto run = Cli(args);
  EXPECT_NE(run.exitCode, 0);
  EXPECT_NE(run.exitCode, -1) << "it hung or crashed";
  EXPECT_TRUE(run.err.contains(port + QStringLiteral(": ") + QString::fromLatin1(row.said)))
      << run.err.toStdString();
  EXPECT_FALSE(QFile::exists(path("out.txt")));
}

INSTANTIATE_TEST_SUITE_P(
    Failures, GatewayFailure,
    ::testing::Values(
        FailureRow{"nothing_listening", "read", "tcp://", "", "rtu", "connection refused"},
        FailureRow{"dropped_during_read_out", "read", "mbtcp://", "--close-after 10", "rtu",
                   "the gateway closed the connection"},
        FailureRow{"dropped_during_write", "write", "tcp://", "--close-after 45", "rtu",
                   "the gateway closed the connection"},
        FailureRow{"ascii_to_modbus_tcp", "read", "mbtcp://", "--close-after 1", "ascii",
                   "Modbus TCP carries RTU only"}),
    [](const auto& info) { return std::string(info.param.name); });

// Three lines at once: two simulated gateways (three devices) and one where
// nothing listens. The two save every device; the third fails alone.
TEST_F(NetworkLine, ManyLinesAtOnceAndAFailingLineStopsNoOther) {
  std::vector<std::unique_ptr<QProcess>> sims;
  QStringList ports;
  for (const QStringList& args : {QStringList{QStringLiteral("--tcp"), QStringLiteral("0"), QStringLiteral("--address"), QStringLiteral("1-2")},
                                  QStringList{QStringLiteral("--mbtcp"), QStringLiteral("0"), QStringLiteral("--address"), QStringLiteral("3")}}) {
    auto& sim = sims.emplace_back(std::make_unique<QProcess>());
    sim->start(QStringLiteral(RBX14_SIM_PROGRAM), args);
    while (!sim->canReadLine() && sim->waitForReadyRead(10000)) {
    }
    ports << QString::fromLocal8Bit(sim->readLine()).trimmed();
    ASSERT_TRUE(ports.back().contains(QStringLiteral("://127.0.0.1:"))) << ports.back().toStdString();
  }
  QTcpServer probe;  // a port that was free a moment ago
  ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
  ports << QStringLiteral("tcp://127.0.0.1:%1").arg(probe.serverPort());
  probe.close();
  // The first line on the command line, the others from a lines file.
  QFile lines(path("lines.txt"));
  ASSERT_TRUE(lines.open(QIODevice::WriteOnly));
  lines.write(("# the gateway\n" + ports[1] + " --mode rtu --address 3\n\n" + ports[2] + " --address 4\n").toUtf8());
  lines.close();
  const auto run = test::RunCliProgram(
      {QStringLiteral("read"), QStringLiteral("--port"), ports[0], QStringLiteral("--address"), QStringLiteral("1-2"),
       QStringLiteral("--lines"), path("lines.txt"),
       QStringLiteral("--language"), QStringLiteral("en"), QStringLiteral("-o"), path("line{line}_{address}.txt"),
       QStringLiteral("--report"), path("all.csv")});
  for (auto& sim : sims) sim->kill();
  for (auto& sim : sims) sim->waitForFinished(5000);
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
