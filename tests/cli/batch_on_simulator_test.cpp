// The command line's batches on the virtual clock against simulated devices
// on one line: read and verify, a file written to several devices, a file
// that changes nothing, a silent address in the middle, refused files.

#include "cli/cli_options.h"
#include "cli/cli_run.h"
#include "session/config_core.h"
#include "base/codepage.h"
#include "files/parameter_file.h"
#include "link/frame_tap.h"
#include "model/trend_record.h"
#include "record/record_texts.h"
#include "base/numbers.h"
#include "base/texts.h"
#include "link/virtual_scheduler.h"
#include "sim/simulated_bus.h"
#include "sim/sim_test_helpers.h"
#include "support/pdf_text.h"
#include "support/qt_test_main.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>

#include <csignal>

#include <sys/resource.h>
#include <sys/stat.h>

namespace rbx14 {
namespace {

// Waits on the virtual clock. onLook runs each time the batch looks at its
// state, as the event loop would run whatever else is due.
struct VirtualWaiter final : Waiter {
  explicit VirtualWaiter(VirtualScheduler& c) : clock(c) {}
  bool waitUntil(const std::function<bool()>& done, int timeoutMs) override {
    return clock.advanceUntil([&] { return (onLook ? onLook() : void()), done(); }, timeoutMs);
  }
  VirtualScheduler& clock;
  std::function<void()> onLook;
};

// Arguments written as one line: "read --address 1 -o".
QStringList A(const char* text) { return QString::fromUtf8(text).split(u' ', Qt::SkipEmptyParts); }

// The program's core on a line with simulated devices at some addresses,
// every request it sends kept, run as the command line runs it.
class Line : public sim::test::CoreOn<sim::SimulatedBus> {
 public:
  explicit Line(const std::vector<int>& addresses, const sim::DeviceSettings& devices = {})
      : CoreOn(devices, addresses) {}

  int run(QStringList args) {
    const ParsedCliOptions parsed = ParseCliOptions(QStringList{QStringLiteral("rbx14-cli")} + args);
    if (!parsed.options) {
      errors << parsed.message;
      return parsed.exitCode;
    }
    BatchSink sink{[this](const QString& t) { progress << t; },
                   [this](const QString& t) { results << t; },
                   [this](const QString& t) { errors << t; }, [this] { return stop && stop(); }};
    return RunCli(*parsed.options, 1, core, waiter, clock, sink);
  }
  int run(const char* args, const QStringList& more) { return run(A(args) + more); }

  // Write requests (functions 15 and 16) sent, in either mode.
  int writesSent() const {
    int n = 0;
    for (const QByteArray& f : sent) {
      const int function =
          f.startsWith(':') ? f.mid(3, 2).toInt(nullptr, 16) : static_cast<unsigned char>(f[1]);
      n += function == 0x0F || function == 0x10;
    }
    return n;
  }
  std::string said() const { return (errors + results + progress).join(u'\n').toStdString(); }

  sim::DeviceImage& image(int address) { return device.device(address)->image(); }

  VirtualWaiter waiter{clock};
  QStringList progress, results, errors;
  // The signal the program turns into a stop request.
  std::function<bool()> stop;
};

QStringList Lines(const QString& path) { return ReadParameterFile(path).value_or(QStringList()); }

void SetValue(QStringList& lines, int line, const QString& value) {
  lines[line - 1] = lines[line - 1].section(u';', 0, 1) + u';' + value;
}

QByteArray Content(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class BatchOnSimulator : public ::testing::TestWithParam<const char*> {
 protected:
  // The command word, the mode's link options, then the command's options
  // and the rest.
  QStringList args(const char* command, const QString& rest) const {
    return A(command).mid(0, 1) + A("--port sim --mode") + QStringList{QString::fromLatin1(GetParam())} +
           A(command).mid(1) + rest.split(u' ');
  }
  QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
  QTemporaryDir dir;
};

// Read to a file, verify against it, write it back: no difference, no write
// request. Then six fields changed: a dry run lists them and writes nothing;
// the write reaches the addresses given and no other.
TEST_P(BatchOnSimulator, ReadVerifyDryRunAndWriteToTheGivenAddressesOnly) {
  Line line({1, 2, 3, 4});
  const QString a = path("a.txt"), b = path("b.txt");
  ASSERT_EQ(line.run(args("read --address 1 -o", a)), 0) << line.said();
  QStringList lines = Lines(a);
  ASSERT_EQ(lines.size(), kParameterFileLines);
  EXPECT_EQ(ValueField(lines[kFirstDataLine + 42 - 1]), QString::number(line.image(1).reg(42)));
  EXPECT_EQ(line.run(args("verify --address 1", a)), 0);
  EXPECT_TRUE(line.results.isEmpty()) << line.said();
  EXPECT_EQ(line.run(args("write --address 1", a)), 0);
  EXPECT_EQ(line.writesSent(), 0);

  const bool bit4 = line.image(1).coil(4);
  const std::uint16_t before = line.image(1).reg(42);
  SetValue(lines, kFirstDataLine + 17, QStringLiteral("27,5"));  // tenths
  SetValue(lines, kFirstDataLine + 18, QStringLiteral("-4,5"));  // signed tenths
  SetValue(lines, kFirstDataLine + 42, QStringLiteral("45"));    // whole number
  SetValue(lines, kFirstTextLine + 2, QStringLiteral("Hallo Welt"));
  SetValue(lines, kFirstUnitLine + 2, QStringLiteral("kW"));
  SetValue(lines, kFirstBitLine + 4, bit4 ? QStringLiteral(" 0 ") : QStringLiteral(" 1 "));
  ASSERT_TRUE(WriteParameterFile(b, lines));

  line.results.clear();
  EXPECT_EQ(line.run(args("write --dry-run --address 1", b)), 0);
  EXPECT_EQ(line.writesSent(), 0);
  EXPECT_EQ(line.image(1).reg(42), before);
  ASSERT_EQ(line.results.size(), 6) << line.said();
  // In the order of the file's lines.
  EXPECT_TRUE(line.results[2].contains(QStringLiteral("%1 -> ").arg(before)) && line.results[2].endsWith(u"45"))
      << line.results[2].toStdString();
  EXPECT_TRUE(line.results[5].contains(QStringLiteral(" %1 ").arg(kFirstUnitLine + 2)));

  EXPECT_EQ(line.run(args("write --address 1-3", b)), 0) << line.said();
  for (int a : {1, 2, 3}) {
    sim::DeviceImage& image = line.image(a);
    EXPECT_EQ(image.reg(17), 275) << a;
    EXPECT_EQ(image.reg(18), static_cast<std::uint16_t>(-45)) << a;
    EXPECT_EQ(image.reg(42), 45) << a;
    EXPECT_EQ(image.textBytes(0x314).left(11), QByteArray("Hallo Welt\0", 11)) << a;
    EXPECT_EQ(image.textBytes(0x400).mid(8, 4), QByteArray("kW\0\0", 4)) << a;
    EXPECT_EQ(image.coil(4), !bit4) << a;
  }
  line.results.clear();
  EXPECT_EQ(line.run(args("verify --address 1,2,3", b)), 0);
  EXPECT_TRUE(line.results.isEmpty());
  // The fourth device was not written: it differs in exactly the six fields.
  EXPECT_EQ(line.run(args("verify --address 4", b)), 1);
  EXPECT_EQ(line.results.size(), 6) << line.said();
}

// (That a device whose answers are all spoilt is a silent one is fixed on
// the core.)
TEST_P(BatchOnSimulator, ASilentAddressIsReportedAndTheBatchGoesOn) {
  Line line({1, 3});
  EXPECT_EQ(line.run(args("read --address 1-3 -o", path("{address}.txt"))), 1);
  EXPECT_TRUE(QFile::exists(path("3.txt")));
  EXPECT_FALSE(QFile::exists(path("2.txt")));
  EXPECT_EQ(line.run(args("verify --address 1-3 --report", path("r.csv") + u' ' + path("1.txt"))), 1);
  const QList<QByteArray> rows = Content(path("r.csv")).split('\n');
  ASSERT_GE(rows.size(), 4);
  EXPECT_TRUE(rows[1].startsWith("1,1409,") && rows[1].contains(",ok,0,")) << rows[1].toStdString();
  EXPECT_TRUE(rows[2].startsWith("2,,,no answer,0,")) << rows[2].toStdString();
  EXPECT_TRUE(rows[3].startsWith("3,1409,") && rows[3].contains(",ok,0,")) << rows[3].toStdString();
  EXPECT_TRUE(line.messages.shown.isEmpty()) << line.messages.shown.join(u'\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Modes, BatchOnSimulator, ::testing::Values("rtu", "ascii"),
                         [](const auto& info) { return std::string(info.param); });

// ---- the scan ------------------------------------------------------------------

TEST(ScanOnSimulator, ListsTheDevicesAndEndsWithThePortErrorWhenTheAdapterGoes) {
  const QStringList scan = A("scan --port sim --address 1-12 --language en");
  Line line({2, 5, 9});
  EXPECT_EQ(line.run(scan), 0) << line.said();
  ASSERT_EQ(line.results.size(), 3) << line.said();
  EXPECT_TRUE(line.results[0].startsWith(u"2 ")) << line.results[0].toStdString();
  EXPECT_TRUE(line.results[2].startsWith(u"9 ")) << line.results[2].toStdString();
  EXPECT_TRUE(line.errors.isEmpty());

  // Pulled after the device at 5 was found: it stays listed, the error
  // names the port's failure, the status is 1.
  Line pulled({2, 5, 9});
  pulled.waiter.onLook = [&] {
    if (!pulled.pullable.pulled() && pulled.results.size() == 2) pulled.pullable.pull();
  };
  EXPECT_EQ(pulled.run(scan), 1);
  EXPECT_EQ(pulled.results.size(), 2);
  ASSERT_EQ(pulled.errors.size(), 1) << pulled.said();
  EXPECT_EQ(pulled.errors[0], QStringLiteral("port error %1: ").arg(port_error::kHardwareNotAvailable) +
                                  texts::kPortLost.in(true));
  EXPECT_FALSE(pulled.core.globals.bPortOpen);
  EXPECT_FALSE(pulled.core.scan.running());
}

// ---- the port fails underneath ---------------------------------------------------

// A folder holding the file the program read from the device at 1 on `line`.
struct DeviceFile {
  explicit DeviceFile(Line& line) {
    EXPECT_EQ(line.run("read --port sim --address 1 -o", {file}), 0) << line.said();
    lines = Lines(file);
  }
  // The file saved again, register `reg` no longer what the device holds.
  void change(Line& line, int reg) {
    SetValue(lines, kFirstDataLine + reg, QString::number(line.image(1).reg(reg) == 45 ? 46 : 45));
    ASSERT_TRUE(WriteParameterFile(file, lines));
  }
  QString in(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
  QTemporaryDir dir;
  QString file = dir.filePath(QStringLiteral("f.txt"));
  QStringList lines;
};

struct PulledRow {
  const char* name;
  const char* command;       // read or write
  int address;               // the device in hand when the port goes
  std::function<bool(Line&)> when;
};

class PortPulledDuringBatch : public ::testing::TestWithParam<PulledRow> {};

TEST_P(PortPulledDuringBatch, TheDeviceInHandFailsWithThePortErrorAndTheBatchEndsAtOnce) {
  const PulledRow& row = GetParam();
  Line line({1, 2, 3});
  DeviceFile one(line);
  one.change(line, 42);
  line.sent.clear();
  std::int64_t pulledAtMs = -1;
  std::size_t sentAtPull = 0;
  line.waiter.onLook = [&] {
    if (!line.pullable.pulled() && row.when(line)) {
      pulledAtMs = line.clock.nowMs();
      sentAtPull = line.sent.size();
      line.pullable.pull();
    }
  };
  const bool read = QByteArray(row.command) == "read";
  EXPECT_EQ(line.run(A(row.command) + A("--port sim --address 1-3 --language en --report")
                     << one.in("r.csv") << (read ? QStringList{QStringLiteral("-o"), one.in("{address}.out")}
                                                 : QStringList{one.file})),
            1);
  ASSERT_GE(pulledAtMs, 0) << "the port was never pulled";

  // One error, naming the device, the port's error number and the lost line.
  ASSERT_EQ(line.errors.size(), 1) << line.said();
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
  const QList<QByteArray> rows = Content(one.in("r.csv")).trimmed().split('\n');
  ASSERT_EQ(rows.size(), 1 + row.address);
  for (int address = 1; address < row.address; ++address) {
    EXPECT_TRUE(rows[address].contains(",ok,")) << rows[address].toStdString();
  }
  EXPECT_TRUE(rows[row.address].startsWith(QByteArray::number(row.address) + ","));
  EXPECT_TRUE(rows[row.address].contains(",error,")) << rows[row.address].toStdString();
  if (read) {
    EXPECT_EQ(QFile::exists(one.in("1.out")), row.address > 1);
    EXPECT_FALSE(QFile::exists(one.in(QByteArray::number(row.address) + ".out")));
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

// ---- a file against the device -------------------------------------------------

// A file the check refuses (exit 2) stops write, verify and a dry run alike
// before any frame goes out, with the check's message. One that passes:
// another device type is refused at that device (unless forced), the last
// bit alone is written, register 60 is named as never transferred, a UTF-8
// file is converted.
struct FileRow {
  const char* name;
  std::function<void(QStringList&, sim::DeviceImage&)> spoil;
  const char* extra;    // options of the write
  int exitCode;
  bool writes;          // write frames went out
  const char* mentions; // in errors, results or progress: the line, its caption, what is allowed
  std::function<bool(sim::DeviceImage&)> holds = {};  // the device afterwards
  bool utf8 = false;    // the file saved as UTF-8 by an editor
  QByteArray tail = {}; // bytes after the file
  bool refused = false; // by the file check, before the port is opened
};

class FileAgainstDevice : public ::testing::TestWithParam<FileRow> {};

TEST_P(FileAgainstDevice, IsRefusedBeforeAnyFrameOrWrittenExactlyAsItSays) {
  const FileRow& row = GetParam();
  Line line({1});
  DeviceFile f(line);
  row.spoil(f.lines, line.image(1));
  QFile out(f.file);
  if (f.lines.isEmpty()) {
    ASSERT_TRUE(out.remove());
  } else {
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    const QString text = f.lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    out.write((row.utf8 ? text.toUtf8() : ToCodePage(text)) + row.tail);
    out.close();
  }
  for (const char* command : {"write", "verify", "write --dry-run"}) {
    line.sent.clear();
    line.errors.clear();
    const int status = line.run(A(command) + A("--port sim --address 1 --language en") + A(row.extra) << f.file);
    const std::string said = line.said();
    EXPECT_EQ(status, row.exitCode) << command << said;
    EXPECT_NE(said.find(row.mentions), std::string::npos) << said;
    if (!row.refused) {
      EXPECT_EQ(line.writesSent() > 0, row.writes);
      if (row.holds) {
        EXPECT_TRUE(row.holds(line.image(1)));
      }
      return;
    }
    EXPECT_TRUE(line.sent.empty()) << command;
    EXPECT_EQ(line.errors.size(), 1) << command;
  }
}

void LastBitOnly(QStringList& l, sim::DeviceImage& d) {
  d.setCoil(31, false);
  SetValue(l, 107, QStringLiteral(" 1 "));
}
FileRow Refused(const char* name, std::function<void(QStringList&)> spoil, const char* mentions,
                QByteArray tail = {}, bool utf8 = false) {
  return {name, [spoil](QStringList& l, sim::DeviceImage&) { spoil(l); }, "", 2, false, mentions, {}, utf8,
          tail, true};
}
// Line `line` of the file holds `value`.
FileRow Bad(const char* name, int line, const char* value, const char* mentions, bool utf8 = false) {
  return Refused(name, [=](QStringList& l) { SetValue(l, line, QString::fromUtf8(value)); }, mentions, {}, utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FileAgainstDevice,
    ::testing::Values(
        FileRow{"another_device_type",
                [](QStringList& l, sim::DeviceImage& d) {
                  SetValue(l, 17, QString::number(d.reg(2) == 9 ? 3 : 9));
                },
                "", 2, false, "address 1: line 17 Device: file "},
        FileRow{"another_device_type_forced",
                [](QStringList& l, sim::DeviceImage&) { SetValue(l, 17, QStringLiteral("3")); },
                "--force-type", 0, true, "written and read back",
                [](sim::DeviceImage& d) { return d.reg(2) == 3; }},
        FileRow{"last_bit_alone", LastBitOnly, "", 0, true, "written and read back",
                [](sim::DeviceImage& d) { return d.coil(31); }},
        FileRow{"last_bit_alone_dry_run", LastBitOnly, "--dry-run", 0, false,
                "would change 1 fields; the write sends all of registers 0-59",
                [](sim::DeviceImage& d) { return !d.coil(31); }},
        FileRow{"register_60",
                [](QStringList& l, sim::DeviceImage&) { SetValue(l, 75, QStringLiteral("7")); },
                "", 0, false, "line 75 Reserviert: is neither written nor read back, not compared"},
        FileRow{"utf8_file",
                [](QStringList& l, sim::DeviceImage&) { SetValue(l, 110, QStringLiteral("Störung °C")); },
                "", 0, true, "written and read back",
                [](sim::DeviceImage& d) {
                  return d.textBytes(0x314).left(10) == QByteArray("St\xF6rung \xB0" "C");
                },
                true},
        Refused("short", [](QStringList& l) { l = l.mid(0, 146); }, "line 147"),
        Refused("junk_after_a_good_file", [](QStringList&) {},
                "line 148: a parameter file ends after 147 lines", QByteArray(4 * 1024 * 1024, 'j')),
        Refused("one_separator", [](QStringList& l) { l[129] = QStringLiteral("Register 1024 ;kW"); },
                "line 130"),
        Refused("nul", [](QStringList& l) { SetValue(l, 57, QStringLiteral("4") + QChar(0)); },
                "line 57 Night setback after [min]: \"4\\x00\" is no number"),
        Refused("missing", [](QStringList& l) { l.clear(); }, "cannot be read"),
        Bad("bit_two", 80, " 2 ", "line 80"),
        Bad("word", 57, "abc", "line 57 Night setback after [min]: \"abc\" is no number; allowed: 0..255"),
        Bad("point_where_the_separator_is_a_comma", 32, "4.5",
            "line 32 Upper adjustment range: \"4.5\" is no number; allowed: -99..99 in steps of 0,1"),
        Bad("above_a_byte", 19, "256",
            "line 19 Without button actuation: 256 does not fit the field; allowed: 0..255"),
        Bad("fraction_in_a_whole_field", 57, "45,5", "line 57 Night setback after [min]: 45,5 does not fit"),
        Bad("negative_location", 18, "-5", "line 18 Device location: -5 does not fit"),
        Bad("above_a_word", 18, "65536", "line 18 Device location: 65536 does not fit"),
        Bad("offset_of_9999", 31, "9999",
            "line 31 Temperature-Offset: 9999 does not fit the field; allowed: -10..10 in steps of 0,1"),
        Bad("hundredths", 32, "27,55", "line 32 Upper adjustment range: 27,55 does not fit"),
        Bad("device_type_13", 17, "13", "line 17 Device: 13 does not fit the field; allowed: 0..12"),
        Bad("utf8_in_a_windows_file", 110, "StÃ¶rung", "line 110 Text field 1: \"StÃ¶rung\" is UTF-8 text"),
        Bad("utf8_file_with_a_character_the_device_lacks", 110, "温度",
            "line 110 Text field 1: \"温度\" holds characters the device cannot show", true),
        Bad("utf8_from_e0_in_a_windows_file", 110, "à¤…", "line 110 Text field 1: \"à¤…\" is UTF-8 text"),
        Bad("four_utf8_bytes_in_a_windows_file", 110, "ðŸ˜€",
            "line 110 Text field 1: \"ðŸ˜€\" is UTF-8 text"),
        Bad("unit_of_four", 131, "mbar", "line 131 Unit row 2: \"mbar\" has more than 3 characters")),
    [](const auto& info) { return std::string(info.param.name); });

// A signal during a write: the block on the line is finished, no other
// goes out, the message says which registers the device holds now, the
// port is closed (its lock removed) and the status is 1.
TEST(StopDuringWrite, FinishesTheBlockOnTheLineAndSaysWhatIsWritten) {
  Line line({1});
  DeviceFile f(line);
  const std::uint16_t backlight = line.image(1).reg(4);
  const std::uint16_t night = line.image(1).reg(42);
  SetValue(f.lines, kFirstDataLine + 4, QString::number(backlight == 7 ? 8 : 7));
  f.change(line, 42);
  bool signalled = false;
  std::size_t writesAtSignal = 0;
  line.stop = [&] {
    if (!signalled && line.writesSent() == 2) {
      signalled = true;
      writesAtSignal = line.sent.size();
    }
    return signalled;
  };
  EXPECT_EQ(line.run("write --port sim --address 1 --language en", {f.file}), 1);
  ASSERT_TRUE(signalled);
  EXPECT_EQ(line.sent.size(), writesAtSignal);  // nothing after the frame on the line
  EXPECT_EQ(line.writesSent(), 2);
  ASSERT_EQ(line.errors.size(), 1) << line.said();
  EXPECT_EQ(line.errors[0],
            QStringLiteral("address 1: stopped by a signal; written: registers 0-19; not written: "
                           "registers 20-59, text registers 0x0300-0x03DB, unit registers "
                           "0x0400-0x043B, bits 0-31"));
  EXPECT_NE(line.image(1).reg(4), backlight);  // block 0-9 is the file's
  EXPECT_EQ(line.image(1).reg(42), night);     // block 40-49 the device's
  EXPECT_FALSE(line.core.globals.bPortOpen);
}

// ---- what a batch does to other files ---------------------------------------------

// Reports and saved files: a failed write keeps the old file and fails the
// run; an output that is the input, a device or a FIFO is refused before
// anything is sent; an input that is no regular file is refused too.
struct OutputRow {
  const char* name;
  const char* args;  // {d}: the folder, {f}: the parameter file
  int exitCode;
  const char* mentions;
  std::function<bool(const QString& dir, const QString& file)> after;
  rlim_t fileSizeLimit = RLIM_INFINITY;  // a disk that fills up
};

class OtherFiles : public ::testing::TestWithParam<OutputRow> {};

TEST_P(OtherFiles, AreNeverDestroyed) {
  const OutputRow& row = GetParam();
  Line line({1});
  DeviceFile f(line);
  {
    QFile old(f.in("r.csv"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old report\n");
  }
  ASSERT_EQ(::mkfifo(QFile::encodeName(f.in("fifo")).constData(), 0600), 0);
  line.sent.clear();
  line.errors.clear();
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  rlimit limited = old;
  limited.rlim_cur = row.fileSizeLimit;
  setrlimit(RLIMIT_FSIZE, &limited);
  QStringList args = A(row.args);
  args.replaceInStrings(QStringLiteral("{d}"), f.dir.path()).replaceInStrings(QStringLiteral("{f}"), f.file);
  const int status = line.run(args + A("--port sim --address 1 --language en"));
  setrlimit(RLIMIT_FSIZE, &old);
  EXPECT_EQ(status, row.exitCode);
  EXPECT_TRUE(line.errors.join(u'\n').contains(QString::fromUtf8(row.mentions))) << line.said();
  if (row.exitCode == 2) {
    EXPECT_TRUE(line.sent.empty());
  }
  EXPECT_TRUE(row.after(f.dir.path(), f.file));
}

bool FifoStays(const QString& d, const QString&) {
  struct stat st {};
  return ::stat(QFile::encodeName(d + QStringLiteral("/fifo")).constData(), &st) == 0 && S_ISFIFO(st.st_mode);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, OtherFiles,
    ::testing::Values(
        OutputRow{"report_on_a_full_disk", "verify --report {d}/r.csv {f}", 1, "report",
                  [](const QString& d, const QString&) {
                    return Content(d + QStringLiteral("/r.csv")) == "old report\n";
                  },
                  40},
        OutputRow{"report_is_the_input", "verify --report {f} {f}", 2,
                  "the output would overwrite the parameter file",
                  [](const QString&, const QString& f) { return Lines(f).size() == kParameterFileLines; }},
        OutputRow{"output_is_a_device", "read -o /dev/full", 2, "/dev/full: is no regular file",
                  [](const QString&, const QString&) { return !QFileInfo(QStringLiteral("/dev/full")).isFile(); }},
        OutputRow{"report_is_a_fifo", "verify --report {d}/fifo {f}", 2, "fifo: is no regular file", FifoStays},
        OutputRow{"input_is_a_fifo", "verify {d}/fifo", 2, "fifo: the file cannot be read", FifoStays}),
    [](const auto& info) { return std::string(info.param.name); });

// A unit, a text holding ";" and a text of the whole field go from one
// device to a file and from the file to the next device unchanged; a text
// with a line end is refused before anything is saved.
TEST(RoundTrip, TextsAndUnitsReachTheNextDeviceUnchangedOrAreNotSaved) {
  Line line({1, 2});
  line.image(1).setTextBytes(0x300, QByteArray("x;y;", 4) + QByteArray(16, '\0'));
  line.image(1).setTextBytes(0x30A, QByteArray("14 characters!") + QByteArray(6, '\0'));
  QByteArray units = line.image(1).textBytes(0x400);
  units.replace(0, 8, QByteArray("kWh\0m;s\0", 8));
  line.image(1).setTextBytes(0x400, units);
  DeviceFile f(line);
  ASSERT_EQ(line.run("write --port sim --address 2", {f.file}), 0) << line.said();
  EXPECT_EQ(line.image(2).textBytes(0x300).left(5), QByteArray("x;y;\0", 5));
  EXPECT_EQ(line.image(2).textBytes(0x30A).left(14), QByteArray("14 characters!"));
  EXPECT_EQ(line.image(2).textBytes(0x400).left(8), QByteArray("kWh\0m;s\0", 8));
  EXPECT_EQ(line.run("verify --port sim --address 1,2", {f.file}), 0);

  // A line end in a text: the file would not load back as read.
  line.image(1).setTextBytes(0x314, QByteArray("Zeile\neins", 10) + QByteArray(10, '\0'));
  line.errors.clear();
  EXPECT_EQ(line.run("read --port sim --address 1 --language en -o", {f.in("two.txt")}), 1);
  EXPECT_FALSE(QFile::exists(f.in("two.txt")));
  ASSERT_EQ(line.errors.size(), 1);
  EXPECT_TRUE(line.errors[0].startsWith(QStringLiteral("address 1: line %1 ").arg(kFirstTextLine + 2)))
      << line.errors[0].toStdString();
}

// ---- the monitor: the trend record and rbx14-cli monitor -------------------------

// The values of the poll answers as they went over the line: the answer to
// the request for 17 registers from 0x0100, each register scaled by the
// monitor's table (tenths signed, the rest unsigned).
struct PollAnswer {
  std::int64_t timeMs;
  std::array<double, kOutputFieldCount> values;
};
std::vector<PollAnswer> PollAnswersOnTheLine(const std::vector<TappedFrame>& frames) {
  std::vector<PollAnswer> out;
  bool polled = false;
  for (const TappedFrame& f : frames) {
    const QByteArray body = f.ascii ? QByteArray::fromHex(f.bytes.mid(1, f.bytes.size() - 5))
                                    : f.bytes.left(f.bytes.size() - 2);
    if (f.direction == TappedFrame::Direction::Sent) {
      polled = body.mid(1, 5) == QByteArray::fromHex("0301000011");
    } else if (polled && f.check == TappedFrame::Check::Good && body.size() == 3 + 34) {
      polled = false;
      PollAnswer& answer = out.emplace_back(PollAnswer{f.timeUs / 1000, {}});
      for (std::size_t k = 0; k < kOutputFields.size(); ++k) {
        const std::uint16_t word = qFromBigEndian<quint16>(body.constData() + 3 + 2 * k);
        answer.values[k] = kOutputFields[k].read == OutputRead::kSignedTenths ? static_cast<std::int16_t>(word) / 10.0
                                                                              : word;
      }
    }
  }
  return out;
}

struct MonitorRow {
  const char* name;
  const char* mode;
  int externalTemperature;  // tenths; 0x7FFF: the room's own
  int fanStage;             // input register 0x020F
  // How the monitor ends: after --count, on a signal, or with the port
  // pulled out, once four readings are in.
  enum class End { Count, Signal, PortPulled } end;
  int exitStatus;
};

class MonitorOnSimulator : public ::testing::TestWithParam<MonitorRow> {};

TEST_P(MonitorOnSimulator, RecordsWhatTheDeviceSentAndWritesItWholeAsTheWindowExportsIt) {
  const MonitorRow& row = GetParam();
  Line line({1});
  line.image(1).setReg(0x0218, ToWord(row.externalTemperature));
  line.image(1).setReg(0x020F, ToWord(row.fanStage));
  std::vector<TappedFrame> frames;
  line.tap.addObserver([&](const TappedFrame& f) { frames.push_back(f); });
  bool stop = false;
  line.stop = [&] { return stop; };
  line.waiter.onLook = [&] {
    if (line.core.trend.size() < 4) return;
    if (row.end == MonitorRow::End::Signal) stop = true;
    if (row.end == MonitorRow::End::PortPulled && !line.pullable.pulled()) line.pullable.pull();
  };
  QTemporaryDir dir;
  const QString csv = dir.filePath(QStringLiteral("trend.csv"));
  QStringList args = A("monitor --port sim --address 1 --language en --mode") << QString::fromLatin1(row.mode)
                                                                             << QStringLiteral("-o") << csv;
  if (row.end == MonitorRow::End::Count) args += A("--count 6");
  EXPECT_EQ(line.run(args), row.exitStatus) << line.said();
  EXPECT_FALSE(line.core.globals.bPortOpen);

  // The record holds exactly what the device sent, as the monitor shows it.
  const TrendRecord& record = line.core.trend;
  const auto sent = PollAnswersOnTheLine(frames);
  ASSERT_GE(record.size(), 4u);
  // Every poll answer on the line is a reading, in order, also in ASCII at
  // the device's interval, where the next poll would overtake an answer the
  // receive poll has not seen yet; only the last may still be on the line.
  ASSERT_GE(record.size() + 1, sent.size());
  for (std::size_t i = 0; i < record.size(); ++i) {
    ASSERT_LT(i, sent.size());
    EXPECT_LE(sent[i].timeMs, record.at(i).timeMs) << "reading " << i;
    EXPECT_EQ(record.at(i).values, sent[i].values) << "reading " << i;
  }
  if (row.externalTemperature != 0x7FFF) {
    EXPECT_EQ(record.at(0).values[2], row.externalTemperature / 10.0);
  }

  // The file is whole: every line the window's export has for these
  // readings, each ended, and nothing else.
  const QByteArray written = Content(csv);
  ASSERT_TRUE(written.endsWith("\r\n"));
  const qsizetype readings = written.count("\r\n") - 1;
  EXPECT_EQ(static_cast<std::size_t>(readings), row.end == MonitorRow::End::Count ? 6u : record.size());
  const QList<QByteArray> exported = TrendCsv(record, true, line.core.globals.decimalSep()).split('\n');
  EXPECT_EQ(written, exported.mid(0, readings + 1).join('\n') + '\n');
  if (row.end == MonitorRow::End::PortPulled) {
    EXPECT_TRUE(line.errors.join(u'\n').contains(texts::kPortLost.in(true))) << line.said();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Ends, MonitorOnSimulator,
    ::testing::Values(
        MonitorRow{"rtu_count", "rtu", 0x7FFF, 0, MonitorRow::End::Count, 0},
        // A frost alarm: the temperature below zero, the fan in automatic
        // stages (0xFF00 and above read unsigned).
        MonitorRow{"ascii_signal_negative_temperature_auto_fan", "ascii", -55, 0xFF00,
                   MonitorRow::End::Signal, 0},
        MonitorRow{"rtu_port_pulled", "rtu", 215, 0xFF00, MonitorRow::End::PortPulled, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TrendRecord, KeepsTheLastReadingsOnly) {
  TrendRecord record(5);
  for (int i = 0; i < 12; ++i) {
    TrendReading reading;
    reading.timeMs = 100 * i;
    record.append(reading);
  }
  ASSERT_EQ(record.size(), 5u);
  EXPECT_EQ(record.appended(), 12u);
  for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(record.at(i).timeMs, 100 * static_cast<int>(7 + i));
  EXPECT_GE(kTrendCapacity, 60u * 60u * 1000u / 100u);  // an hour at the shortest --interval
}

// The commissioning record of each unit, read back with pdftotext: a write
// that changed a number, a text, a bit and the location holds each caption
// with its new value and its value before, and the verdict, under the
// location the unit has now; a unit that differs from the file, or stays
// silent, gets a record that says so and no verdict of success. In both
// languages.
struct RecordRow {
  const char* name;
  bool english;
  const char* command;  // with --address
  int exitCode;
  const char* fileName;  // the record's, before the date
  const char* result;    // the verdict in the record
  bool changes;          // the record lists the write's changes
  const char* difference = "";  // a row of the differences: line, caption, file, unit
};
std::ostream& operator<<(std::ostream& os, const RecordRow& row) { return os << row.name; }

class RecordOfUnit : public ::testing::TestWithParam<RecordRow> {};

TEST_P(RecordOfUnit, SaysWhatTheUnitHoldsWhatChangedAndWhetherItIsVerified) {
  const RecordRow& row = GetParam();
  if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
    GTEST_SKIP() << "pdftotext (poppler-utils, scripts/setup) missing";
  }
  Line line({1});
  DeviceFile f(line);
  QStringList& lines = f.lines;
  ASSERT_EQ(lines.size(), kParameterFileLines);
  ASSERT_EQ(line.image(1).reg(3), 1);  // the unit's location until the file gives it 1203
  const QString text = ValueField(lines[kFirstTextLine + 2 - 1]).value_or(QString()).remove(QChar(0));
  const bool bit4 = line.image(1).coil(4);
  SetValue(lines, kFirstDataLine + 3, QStringLiteral("1203"));
  SetValue(lines, kFirstDataLine + 42, QStringLiteral("45"));
  SetValue(lines, kFirstTextLine + 2, QStringLiteral("Hallo Welt"));
  SetValue(lines, kFirstBitLine + 4, bit4 ? QStringLiteral(" 0 ") : QStringLiteral(" 1 "));
  ASSERT_TRUE(WriteParameterFile(f.file, lines));

  const QString records = f.in("records");
  EXPECT_EQ(line.run(A(row.command) + A(row.english ? "--port sim --language en" : "--port sim --language de")
                     << QStringLiteral("--record") << records << QStringLiteral("--technician")
                     << QStringLiteral("Erika Muster") << f.file),
            row.exitCode)
      << line.said();
  const QString name = QString::fromLatin1(row.fileName) + QDate::currentDate().toString(Qt::ISODate) +
                       QStringLiteral(".pdf");
  ASSERT_EQ(QDir(records).entryList(QDir::Files), QStringList{name});
  // The text in the order it was set, cell after cell, as one line.
  const QString pdf = test::PdfText(QDir(records).filePath(name), false).value_or(QString()).simplified();

  EXPECT_TRUE(pdf.contains(QString::fromUtf8(row.result))) << pdf.toStdString();
  EXPECT_TRUE(pdf.contains(QStringLiteral("Erika Muster")));
  const QString verified = row.english ? QStringLiteral("verified") : QStringLiteral("geprüft");
  EXPECT_EQ(pdf.contains(verified), row.changes) << pdf.toStdString();
  // The table of differences only when the unit differs, with the row.
  EXPECT_EQ(pdf.contains(record::words::kDifferences.in(row.english)), *row.difference != '\0') << pdf.toStdString();
  EXPECT_TRUE(pdf.contains(QString::fromUtf8(row.difference))) << row.difference;
  if (!row.changes) return;
  // Each change: its caption, the new value, the value before.
  const QString before = row.english ? QStringLiteral("before: ") : QStringLiteral("vorher: ");
  const QString on = row.english ? QStringLiteral("on") : QStringLiteral("ein");
  const QString off = row.english ? QStringLiteral("off") : QStringLiteral("aus");
  struct Change {
    const char* de;
    const char* en;
    QString now;
    QString was;
  };
  for (const Change& c : {Change{"Nachtabsenkung nach (min)", "Night setback after [min]", "45 min", "60 min"},
                          Change{"Textzeile 1 Sollwert 2", "Text field 1", "Hallo Welt", text},
                          Change{"Externer Messwert 4", "External value 4", bit4 ? off : on, bit4 ? on : off}}) {
    const QString entry = QString::fromUtf8(row.english ? c.en : c.de) + u' ' + c.now + u' ' + before + c.was;
    EXPECT_TRUE(pdf.contains(entry)) << entry.toStdString() << "\n" << pdf.toStdString();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RecordOfUnit,
    ::testing::Values(
        RecordRow{"written_de", false, "write --address 1", 0, "unit-001_loc-1203_",
                  "Ergebnis: geprüft – nach dem Schreiben zurückgelesen", true},
        RecordRow{"written_en", true, "write --address 1", 0, "unit-001_loc-1203_",
                  "Result: verified – read back after the write", true},
        RecordRow{"differs_de", false, "verify --address 1", 1, "unit-001_loc-1_",
                  "Ergebnis: NICHT BESTANDEN – 4 Werte des Geräts weichen", false,
                  "57 Nachtabsenkung nach (min) 45 60"},
        RecordRow{"differs_en", true, "verify --address 1", 1, "unit-001_loc-1_",
                  "Result: FAILED – 4 values of the unit differ", false,
                  "57 Night setback after [min] 45 60"},
        RecordRow{"silent_de", false, "write --address 2", 1, "unit-002_loc-unknown_",
                  "Ergebnis: NICHT BESTANDEN – Adresse 2: keine Antwort", false},
        RecordRow{"silent_en", true, "write --address 2", 1, "unit-002_loc-unknown_",
                  "Result: FAILED – address 2: no answer", false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace rbx14
