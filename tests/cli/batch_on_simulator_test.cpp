// The command line's batches on the virtual clock against simulated devices
// on one line: read and verify, a file written to several devices, a file
// that changes nothing, a silent address in the middle, refused files.

#include "cli/cli_options.h"
#include "cli/cli_run.h"
#include "core/config_core.h"
#include "files/parameter_file.h"
#include "link/frame_tap.h"
#include "link/virtual_scheduler.h"
#include "sim/simulated_bus.h"
#include "sim/simulated_serial_port.h"
#include "support/fake_serial_port.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <memory>

namespace rbx14 {
namespace {

using sim::SimulatedBus;

class VirtualWaiter final : public Waiter {
 public:
  explicit VirtualWaiter(VirtualScheduler& clock) : clock_(clock) {}
  bool waitUntil(const std::function<bool()>& done, int timeoutMs) override {
    return clock_.advanceUntil(
        [&] {
          if (onLook) onLook();
          return done();
        },
        timeoutMs);
  }
  // Runs each time the batch looks at its state, as the event loop would run
  // whatever else is due.
  std::function<void()> onLook;

 private:
  VirtualScheduler& clock_;
};

// Passes everything to the simulated port until it is pulled out: then it
// reports its failure, as a real port does, and takes no more frames.
class PullablePort final : public SerialPort {
 public:
  explicit PullablePort(SerialPort& inner) : inner_(inner) {
    inner_.setOnBytesArrived([this] { notifyBytesArrived(); });
  }
  void pull() {
    pulled_ = true;
    notifyFailure(port_error::kHardwareNotAvailable);
  }
  bool pulled() const { return pulled_; }

  int commPort() const override { return inner_.commPort(); }
  int setCommPort(int port) override { return inner_.setCommPort(port); }
  QString settings() const override { return inner_.settings(); }
  int setSettings(const QString& settings) override { return inner_.setSettings(settings); }
  bool portOpen() const override { return inner_.portOpen(); }
  int setPortOpen(bool open) override {
    if (open && pulled_) return port_error::kInvalidPortNumber;
    return inner_.setPortOpen(open);
  }
  void setInputMode(InputMode mode) override { inner_.setInputMode(mode); }
  int output(const QByteArray& frame) override {
    return pulled_ ? port_error::kHardwareNotAvailable : inner_.output(frame);
  }
  int inBufferCount() override { return pulled_ ? 0 : inner_.inBufferCount(); }
  QByteArray input() override { return pulled_ ? QByteArray() : inner_.input(); }

 private:
  SerialPort& inner_;
  bool pulled_ = false;
};

// The program's core on a line with simulated devices at some addresses,
// every frame counted by function.
class Line {
 public:
  explicit Line(const std::vector<int>& addresses, const sim::DeviceSettings& devices = {})
      : bus(devices, addresses) {
    core.Main();
    tap.addObserver([this](const TappedFrame& f) {
      if (f.direction == TappedFrame::Direction::Sent) sent.push_back(f.bytes);
    });
  }

  int run(QStringList args) {
    args.prepend(QStringLiteral("rbx14-cli"));
    const ParsedCliOptions parsed = ParseCliOptions(args);
    if (!parsed.options) {
      errors << parsed.message;
      return parsed.exitCode;
    }
    BatchSink sink{[this](const QString& t) { progress << t; },
                   [this](const QString& t) { results << t; },
                   [this](const QString& t) { errors << t; }};
    return RunCli(*parsed.options, 1, core, waiter, clock, sink);
  }

  // Write requests (functions 15 and 16) sent, in either mode.
  int writesSent() const {
    int n = 0;
    for (const QByteArray& f : sent) {
      const int function =
          f.startsWith(':') ? f.mid(3, 2).toInt(nullptr, 16) : static_cast<unsigned char>(f[1]);
      if (function == 0x0F || function == 0x10) ++n;
    }
    return n;
  }

  sim::DeviceImage& image(int address) { return bus.device(address)->image(); }

  VirtualScheduler clock;
  SimulatedBus bus;
  sim::SimulatedSerialPort simulated{clock, bus};
  PullablePort pullable{simulated};
  FrameTap tap{pullable, clock};
  test::RecordingMessageBoxes messages;
  ConfigCore core{clock, tap, messages};
  VirtualWaiter waiter{clock};
  QStringList progress, results, errors;
  std::vector<QByteArray> sent;
};

QStringList Lines(const QString& path) { return ReadParameterFile(path).value_or(QStringList()); }

void SetValue(QStringList& lines, int line, const QString& value) {
  lines[line - 1] = lines[line - 1].section(u';', 0, 1) + u';' + value;
}

bool Save(const QString& path, const QStringList& lines) { return WriteParameterFile(path, lines); }

struct ModeRow {
  const char* name;
};
std::ostream& operator<<(std::ostream& os, const ModeRow& row) { return os << row.name; }

class BatchOnSimulator : public ::testing::TestWithParam<ModeRow> {
 protected:
  QStringList link() const {
    return {QStringLiteral("--port"), QStringLiteral("sim"), QStringLiteral("--mode"),
            QString::fromLatin1(GetParam().name)};
  }
  QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
  QTemporaryDir dir;
};

TEST_P(BatchOnSimulator, AFileReadFromADeviceVerifiesWithoutDifference) {
  Line line({1});
  ASSERT_EQ(line.run(QStringList{QStringLiteral("read"), QStringLiteral("--address"),
                                 QStringLiteral("1"), QStringLiteral("-o"), path("a.txt")} +
                     link()),
            0)
      << line.errors.join(u'\n').toStdString();
  const QStringList saved = Lines(path("a.txt"));
  ASSERT_EQ(saved.size(), kParameterFileLines);
  EXPECT_EQ(ValueField(saved[kFirstDataLine + 42 - 1]),
            QStringLiteral("%1").arg(line.image(1).reg(42)));

  EXPECT_EQ(line.run(QStringList{QStringLiteral("verify"), QStringLiteral("--address"),
                                 QStringLiteral("1"), path("a.txt")} +
                     link()),
            0);
  EXPECT_TRUE(line.results.isEmpty()) << line.results.join(u'\n').toStdString();
  EXPECT_EQ(line.writesSent(), 0);
}

TEST_P(BatchOnSimulator, AChangedFileGoesToTheGivenAddressesOnly) {
  Line line({1, 2, 3, 4});
  ASSERT_EQ(line.run(QStringList{QStringLiteral("read"), QStringLiteral("--address"),
                                 QStringLiteral("1"), QStringLiteral("-o"), path("a.txt")} +
                     link()),
            0);
  QStringList lines = Lines(path("a.txt"));
  const bool bit4 = line.image(1).coil(4);
  SetValue(lines, kFirstDataLine + 17, QStringLiteral("27,5"));  // tenths
  SetValue(lines, kFirstDataLine + 18, QStringLiteral("-4,5"));  // signed tenths
  SetValue(lines, kFirstDataLine + 42, QStringLiteral("45"));    // whole number
  SetValue(lines, kFirstTextLine + 2, QStringLiteral("Hallo Welt"));
  SetValue(lines, kFirstUnitLine + 2, QStringLiteral("kW"));
  SetValue(lines, kFirstBitLine + 4, bit4 ? QStringLiteral(" 0 ") : QStringLiteral(" 1 "));
  ASSERT_TRUE(Save(path("b.txt"), lines));
  const QByteArray untouchedText = line.image(4).textBytes(0x314);

  EXPECT_EQ(line.run(QStringList{QStringLiteral("write"), QStringLiteral("--address"),
                                 QStringLiteral("1-3"), path("b.txt")} +
                     link()),
            0)
      << line.progress.join(u'\n').toStdString() << line.results.join(u'\n').toStdString();
  for (int a : {1, 2, 3}) {
    sim::DeviceImage& image = line.image(a);
    EXPECT_EQ(image.reg(17), 275) << a;
    EXPECT_EQ(image.reg(18), static_cast<std::uint16_t>(-45)) << a;
    EXPECT_EQ(image.reg(42), 45) << a;
    EXPECT_EQ(image.textBytes(0x314).left(11), QByteArray("Hallo Welt\0", 11)) << a;
    EXPECT_EQ(image.textBytes(0x400).mid(8, 4), QByteArray("kW\0\0", 4)) << a;
    EXPECT_EQ(image.coil(4), !bit4) << a;
  }
  sim::DeviceImage& other = line.image(4);
  EXPECT_NE(other.reg(42), 45);
  EXPECT_NE(other.reg(17), 275);
  EXPECT_EQ(other.textBytes(0x314), untouchedText);
  EXPECT_EQ(other.coil(4), bit4);

  line.results.clear();
  EXPECT_EQ(line.run(QStringList{QStringLiteral("verify"), QStringLiteral("--address"),
                                 QStringLiteral("1,2,3"), path("b.txt")} +
                     link()),
            0);
  EXPECT_TRUE(line.results.isEmpty());
  // The fourth device differs in exactly the six fields.
  EXPECT_EQ(line.run(QStringList{QStringLiteral("verify"), QStringLiteral("--address"),
                                 QStringLiteral("4"), path("b.txt")} +
                     link()),
            1);
  EXPECT_EQ(line.results.size(), 6) << line.results.join(u'\n').toStdString();
}

TEST_P(BatchOnSimulator, AFileTheDeviceAlreadyHoldsWritesNothing) {
  Line line({1});
  ASSERT_EQ(line.run(QStringList{QStringLiteral("read"), QStringLiteral("--address"),
                                 QStringLiteral("1"), QStringLiteral("-o"), path("a.txt")} +
                     link()),
            0);
  EXPECT_EQ(line.run(QStringList{QStringLiteral("write"), QStringLiteral("--address"),
                                 QStringLiteral("1"), path("a.txt")} +
                     link()),
            0);
  EXPECT_EQ(line.writesSent(), 0);
}

TEST_P(BatchOnSimulator, ABitAloneIsWritten) {
  Line line({1});
  ASSERT_EQ(line.run(QStringList{QStringLiteral("read"), QStringLiteral("--address"),
                                 QStringLiteral("1"), QStringLiteral("-o"), path("a.txt")} +
                     link()),
            0);
  QStringList lines = Lines(path("a.txt"));
  const bool bit9 = line.image(1).coil(9);
  SetValue(lines, kFirstBitLine + 9, bit9 ? QStringLiteral(" 0 ") : QStringLiteral(" 1 "));
  ASSERT_TRUE(Save(path("b.txt"), lines));
  EXPECT_EQ(line.run(QStringList{QStringLiteral("write"), QStringLiteral("--address"),
                                 QStringLiteral("1"), path("b.txt")} +
                     link()),
            0);
  EXPECT_EQ(line.image(1).coil(9), !bit9);
  EXPECT_GT(line.writesSent(), 0);
}

TEST_P(BatchOnSimulator, ADryRunListsTheChangesAndWritesNothing) {
  Line line({1});
  ASSERT_EQ(line.run(QStringList{QStringLiteral("read"), QStringLiteral("--address"),
                                 QStringLiteral("1"), QStringLiteral("-o"), path("a.txt")} +
                     link()),
            0);
  QStringList lines = Lines(path("a.txt"));
  SetValue(lines, kFirstDataLine + 42, QStringLiteral("45"));
  SetValue(lines, kFirstUnitLine + 2, QStringLiteral("kW"));
  ASSERT_TRUE(Save(path("b.txt"), lines));
  const std::uint16_t before = line.image(1).reg(42);
  EXPECT_EQ(line.run(QStringList{QStringLiteral("write"), QStringLiteral("--dry-run"),
                                 QStringLiteral("--address"), QStringLiteral("1"), path("b.txt")} +
                     link()),
            0);
  EXPECT_EQ(line.writesSent(), 0);
  EXPECT_EQ(line.image(1).reg(42), before);
  ASSERT_EQ(line.results.size(), 2) << line.results.join(u'\n').toStdString();
  EXPECT_TRUE(line.results[0].contains(QStringLiteral("%1 -> ").arg(before)) &&
              line.results[0].endsWith(u"45"))
      << line.results[0].toStdString();
  EXPECT_TRUE(line.results[1].contains(QStringLiteral(" %1 ").arg(kFirstUnitLine + 2)));
}

TEST_P(BatchOnSimulator, ASilentAddressIsReportedAndTheBatchGoesOn) {
  Line line({1, 3});
  ASSERT_EQ(line.run(QStringList{QStringLiteral("read"), QStringLiteral("--address"),
                                 QStringLiteral("1"), QStringLiteral("-o"), path("a.txt")} +
                     link()),
            0);
  EXPECT_EQ(line.run(QStringList{QStringLiteral("verify"), QStringLiteral("--address"),
                                 QStringLiteral("1-3"), QStringLiteral("--report"), path("r.csv"),
                                 path("a.txt")} +
                     link()),
            1);
  QFile report(path("r.csv"));
  ASSERT_TRUE(report.open(QIODevice::ReadOnly));
  const QList<QByteArray> rows = report.readAll().split('\n');
  ASSERT_GE(rows.size(), 4);
  EXPECT_TRUE(rows[1].startsWith("1,1409,")) << rows[1].toStdString();
  EXPECT_TRUE(rows[1].contains(",ok,0,"));
  EXPECT_TRUE(rows[2].startsWith("2,,,no answer,0,")) << rows[2].toStdString();
  EXPECT_TRUE(rows[3].startsWith("3,1409,")) << rows[3].toStdString();
  EXPECT_TRUE(rows[3].contains(",ok,0,"));
  EXPECT_TRUE(line.messages.shown.isEmpty()) << line.messages.shown.join(u'\n').toStdString();
}

// A device whose answers are all spoilt is a silent one: reported after the
// repeats and the time-out (about six seconds), nothing saved. One whose
// answers now and then come after the repeat (and again for the repeat) is
// read whole: the file saved holds what the device holds.
TEST_P(BatchOnSimulator, SpoiltAnswersAreMissingOnesAndNoneIsTakenForAnother) {
  const auto faulty = [this](double sim::FaultSettings::*rate, double chance) {
    sim::DeviceSettings settings;
    settings.mode = QByteArray(GetParam().name) == "ascii" ? sim::LineMode::Ascii : sim::LineMode::Rtu;
    settings.faults.seed = 5;
    settings.faults.lateMs = 1500;
    settings.faults.*rate = chance;
    return settings;
  };
  for (auto rate : {&sim::FaultSettings::corruptRate, &sim::FaultSettings::wrongAddressRate}) {
    Line line({1}, faulty(rate, 1.0));
    const std::int64_t start = line.clock.nowMs();
    EXPECT_EQ(line.run(QStringList{QStringLiteral("read"), QStringLiteral("--address"), QStringLiteral("1"),
                                   QStringLiteral("-o"), path("spoilt.txt")} +
                       link()),
              1);
    EXPECT_LE(line.clock.nowMs() - start, 6500);
    EXPECT_FALSE(QFile::exists(path("spoilt.txt")));
  }
  Line line({1}, faulty(&sim::FaultSettings::lateRate, 0.15));
  ASSERT_EQ(line.run(QStringList{QStringLiteral("read"), QStringLiteral("--address"), QStringLiteral("1"),
                                 QStringLiteral("-o"), path("late.txt")} +
                     link()),
            0);
  Line clean({1});
  EXPECT_EQ(clean.run(QStringList{QStringLiteral("verify"), QStringLiteral("--address"), QStringLiteral("1"),
                                  path("late.txt")} +
                      link()),
            0)
      << clean.results.join(u'\n').toStdString();
}

// ---- the scan ------------------------------------------------------------------

TEST(ScanOnSimulator, ListsTheDevicesAndEndsWithThePortErrorWhenTheAdapterGoes) {
  Line line({2, 5, 9});
  const QStringList args{QStringLiteral("scan"),      QStringLiteral("--port"),
                         QStringLiteral("sim"),       QStringLiteral("--address"),
                         QStringLiteral("1-12"),      QStringLiteral("--language"),
                         QStringLiteral("en")};
  EXPECT_EQ(line.run(args), 0) << line.errors.join(u'\n').toStdString();
  ASSERT_EQ(line.results.size(), 3) << line.results.join(u'\n').toStdString();
  EXPECT_TRUE(line.results[0].startsWith(u"2 ")) << line.results[0].toStdString();
  EXPECT_TRUE(line.results[2].startsWith(u"9 ")) << line.results[2].toStdString();
  EXPECT_TRUE(line.errors.isEmpty());

  // Pulled after the device at 5 was found: it stays listed, the error
  // names the port's failure, the status is 1.
  Line pulled({2, 5, 9});
  pulled.waiter.onLook = [&] {
    if (!pulled.pullable.pulled() && pulled.results.size() == 2) pulled.pullable.pull();
  };
  EXPECT_EQ(pulled.run(args), 1);
  EXPECT_EQ(pulled.results.size(), 2);
  ASSERT_EQ(pulled.errors.size(), 1) << pulled.errors.join(u'\n').toStdString();
  EXPECT_EQ(pulled.errors[0], QStringLiteral("port error %1: ").arg(port_error::kHardwareNotAvailable) +
                                  texts::kPortLost.in(true));
  EXPECT_FALSE(pulled.core.globals.bPortOpen);
  EXPECT_FALSE(pulled.core.scan.running());
}

// ---- the port fails underneath ---------------------------------------------------

struct PulledRow {
  const char* name;
  const char* command;       // read or write
  int address;               // the device in hand when the port goes
  std::function<bool(Line&)> when;
};
std::ostream& operator<<(std::ostream& os, const PulledRow& row) { return os << row.name; }

class PortPulledDuringBatch : public ::testing::TestWithParam<PulledRow> {};

TEST_P(PortPulledDuringBatch, TheDeviceInHandFailsWithThePortErrorAndTheBatchEndsAtOnce) {
  const PulledRow& row = GetParam();
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("one.txt"));
  {
    Line reader({1});
    ASSERT_EQ(reader.run({QStringLiteral("read"), QStringLiteral("--port"), QStringLiteral("sim"),
                          QStringLiteral("--address"), QStringLiteral("1"), QStringLiteral("-o"),
                          file}),
              0);
    QStringList lines = Lines(file);
    const int line42 = kFirstDataLine + 42;
    SetValue(lines, line42, ValueField(lines[line42 - 1])->toInt() == 45 ? QStringLiteral("46")
                                                                          : QStringLiteral("45"));
    ASSERT_TRUE(Save(file, lines));
  }

  Line line({1, 2, 3});
  std::int64_t pulledAtMs = -1;
  std::size_t sentAtPull = 0;
  line.waiter.onLook = [&] {
    if (!line.pullable.pulled() && row.when(line)) {
      pulledAtMs = line.clock.nowMs();
      sentAtPull = line.sent.size();
      line.pullable.pull();
    }
  };
  const QString report = dir.filePath(QStringLiteral("r.csv"));
  QStringList args{QString::fromLatin1(row.command), QStringLiteral("--port"),
                   QStringLiteral("sim"),           QStringLiteral("--address"),
                   QStringLiteral("1-3"),           QStringLiteral("--language"),
                   QStringLiteral("en"),            QStringLiteral("--report"),
                   report};
  args << (QByteArray(row.command) == "read" ? QStringList{QStringLiteral("-o"),
                                                           dir.filePath(QStringLiteral("{address}.out"))}
                                             : QStringList{file});
  EXPECT_EQ(line.run(args), 1);
  ASSERT_GE(pulledAtMs, 0) << "the port was never pulled";

  // One error, naming the device, the port's error number and the lost line.
  ASSERT_EQ(line.errors.size(), 1) << line.errors.join(u'\n').toStdString();
  EXPECT_TRUE(line.errors[0].startsWith(QStringLiteral("address %1: port error %2: ")
                                            .arg(row.address)
                                            .arg(port_error::kHardwareNotAvailable)))
      << line.errors[0].toStdString();
  EXPECT_TRUE(line.errors[0].endsWith(texts::kPortLost.in(true))) << line.errors[0].toStdString();
  // Nothing more was sent, and no answer time-out was waited for.
  EXPECT_EQ(line.sent.size(), sentAtPull);
  EXPECT_LT(line.clock.nowMs() - pulledAtMs, line.core.form.Timer5->interval());
  EXPECT_FALSE(line.core.globals.bPortOpen);

  // The report: the devices before it ok, the one in hand failed, no others.
  QFile csv(report);
  ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
  QList<QByteArray> rows = csv.readAll().split('\n');
  while (!rows.isEmpty() && rows.last().isEmpty()) rows.removeLast();
  ASSERT_EQ(rows.size(), 1 + row.address);
  for (int address = 1; address < row.address; ++address) {
    EXPECT_TRUE(rows[address].contains(",ok,")) << rows[address].toStdString();
  }
  EXPECT_TRUE(rows[row.address].startsWith(QByteArray::number(row.address) + ","));
  EXPECT_TRUE(rows[row.address].contains(",error,")) << rows[row.address].toStdString();
  if (QByteArray(row.command) == "read") {
    EXPECT_EQ(QFile::exists(dir.filePath(QStringLiteral("1.out"))), row.address > 1);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("%1.out").arg(row.address))));
  }
}

INSTANTIATE_TEST_SUITE_P(
    When, PortPulledDuringBatch,
    ::testing::Values(
        // The probe is out, its answer not yet in: no state window runs.
        PulledRow{"probe", "read", 1, [](Line& l) { return l.sent.size() == 1; }},
        PulledRow{"read_out_of_the_second", "read", 2,
                  [](Line& l) {
                    return l.core.form.txt_Modbus_adress.text() == u"2" &&
                           l.core.frmState.loaded() && l.core.frmState.ProgressFile.value() >= 3;
                  }},
        PulledRow{"write_back", "write", 1, [](Line& l) { return l.writesSent() > 0; }}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(Modes, BatchOnSimulator,
                         ::testing::Values(ModeRow{"rtu"}, ModeRow{"ascii"}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- refused files --------------------------------------------------------------

struct RefusedRow {
  const char* name;
  std::function<void(QStringList&)> spoil;
  const char* mentions;  // in the message
};
std::ostream& operator<<(std::ostream& os, const RefusedRow& row) { return os << row.name; }

class RefusedFile : public ::testing::TestWithParam<RefusedRow> {};

TEST_P(RefusedFile, ExitsWithTwoBeforeAnyFrameIsSent) {
  QTemporaryDir dir;
  const QString good = dir.filePath(QStringLiteral("good.txt"));
  QStringList lines;
  {
    Line reader({1});
    ASSERT_EQ(
        reader.run({QStringLiteral("read"), QStringLiteral("--port"), QStringLiteral("sim"),
                    QStringLiteral("--address"), QStringLiteral("1"), QStringLiteral("-o"), good}),
        0);
    lines = Lines(good);
  }
  GetParam().spoil(lines);
  const QString bad = dir.filePath(QStringLiteral("bad.txt"));
  if (!lines.isEmpty()) {
    ASSERT_TRUE(Save(bad, lines));
  }
  for (const char* command : {"write", "verify"}) {
    Line line({1});
    EXPECT_EQ(line.run({QString::fromLatin1(command), QStringLiteral("--port"),
                        QStringLiteral("sim"), QStringLiteral("--address"), QStringLiteral("1"),
                        QStringLiteral("--language"), QStringLiteral("en"), bad}),
              2)
        << command;
    EXPECT_TRUE(line.sent.empty()) << command;
    ASSERT_EQ(line.errors.size(), 1) << command;
    EXPECT_TRUE(line.errors[0].contains(QString::fromLatin1(GetParam().mentions)))
        << line.errors[0].toStdString();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Files, RefusedFile,
    ::testing::Values(
        RefusedRow{"short", [](QStringList& l) { l = l.mid(0, 146); }, "line 147"},
        RefusedRow{"no_separators",
                   [](QStringList& l) { l[19] = QStringLiteral("Register 6 fifty"); }, "line 20"},
        RefusedRow{"one_separator",
                   [](QStringList& l) { l[129] = QStringLiteral("Register 1024 ;kW"); },
                   "line 130"},
        RefusedRow{"bit_two", [](QStringList& l) { SetValue(l, 80, QStringLiteral(" 2 ")); },
                   "line 80"},
        RefusedRow{"bit_word", [](QStringList& l) { SetValue(l, 107, QStringLiteral("ja")); },
                   "line 107"},
        RefusedRow{"missing", [](QStringList& l) { l.clear(); }, "cannot be read"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace rbx14
