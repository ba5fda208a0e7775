// The command line's parts on their own: address lists, options, the frame
// tap's framing and checks, the trace line, the report.

#include "cli/batch_report.h"
#include "cli/cli_options.h"
#include "cli/trace_line.h"
#include "base/address_list.h"
#include "link/codec.h"
#include "link/frame_tap.h"
#include "link/virtual_scheduler.h"
#include "support/fake_serial_port.h"

#include <gtest/gtest.h>

namespace rbx14 {
namespace {

QByteArray Rtu(const char* hex) { return QByteArray::fromStdString(BuildRtuFrame(hex)); }
QByteArray Ascii(const char* hex) { return QByteArray::fromStdString(BuildAsciiFrame(hex)); }

TEST(AddressList, AcceptsSinglesListsAndRangesAndRefusesTheRest) {
  const std::pair<const char*, std::vector<int>> accepted[] = {
      {"1", {1}}, {"1,4,7", {1, 4, 7}}, {"3-6", {3, 4, 5, 6}},
      {"1,3-4", {1, 3, 4}}, {" 2 , 5 ", {2, 5}}, {"247", {247}}};
  for (const auto& [text, expected] : accepted) {
    EXPECT_EQ(ParseAddressList(QString::fromLatin1(text)).value_or(std::vector<int>{}), expected) << text;
  }
  for (const char* refused : {"0", "248", "5-3", "1,1", "1-2-3", "", "a", "1,"}) {
    EXPECT_FALSE(ParseAddressList(QString::fromLatin1(refused))) << refused;
  }
}

struct OptionRow {
  const char* name;
  const char* args;  // blank-separated
  int exitCode;      // -1: accepted
  const char* mentions;
};

QStringList A(const char* text) { return QString::fromUtf8(text).split(u' ', Qt::SkipEmptyParts); }

TEST(CliOptions, EachBadOptionIsAUsageErrorNamingIt) {
  const OptionRow rows[] = {
      {"no command", "", 2, "Usage"},
      {"help", "--help", 0, "Usage"},
      {"command help", "write --help", 0, "--dry-run"},
      {"unknown command", "erase", 2, "unknown command"},
      {"no port", "verify --address 1 f", 2, "--port"},
      {"bad com", "verify --port COM41 --address 1 f", 2, "COMn"},
      {"bad address", "verify --port sim --address 0 f", 2, "--address"},
      {"bad mode", "verify --port sim --address 1 --mode tcp f", 2, "--mode"},
      {"bad baud", "verify --port sim --address 1 --baud 4800 f", 2, "--baud"},
      {"bad language", "verify --port sim --address 1 --language fr f", 2, "--language"},
      {"no file", "verify --port sim --address 1", 2, "one parameter file"},
      {"dry run on verify", "verify --dry-run --port sim --address 1 f", 2, "dry-run"},
      {"read without -o", "read --port sim --address 1", 2, "-o"},
      {"pattern needed", "read --port sim --address 1,2 -o a.txt", 2, "{address}"},
      {"read ok", "read --port /dev/ttyUSB0 --address 1,2 -o d{address}.txt", -1, ""},
      {"scan with a file", "scan --port sim f", 2, "no file"},
      {"scan wait out of range", "scan --port sim --wait 0", 2, "--wait"},
      {"all settings outside a scan", "verify --all-settings --port sim --address 1 f", 2, "all-settings"},
      // The last of two would silently win.
      {"port twice", "verify --port sim --port COM2 --address 1 f", 2, "--port is given twice"},
      {"output twice", "read --port sim --address 1 -o a.txt --output b.txt", 2, "--output is given twice"},
      {"flag twice", "write --dry-run --port sim --address 1 --dry-run f", 2, "--dry-run is given twice"},
  };
  for (const OptionRow& row : rows) {
    const auto parsed = ParseCliOptions(QStringList{QStringLiteral("rbx14-cli")} + A(row.args));
    if (row.exitCode < 0) {
      ASSERT_TRUE(parsed.options) << row.name << ": " << parsed.message.toStdString();
      continue;
    }
    EXPECT_FALSE(parsed.options) << row.name;
    EXPECT_EQ(parsed.exitCode, row.exitCode) << row.name;
    EXPECT_TRUE(parsed.message.contains(QString::fromLatin1(row.mentions)))
        << row.name << ": " << parsed.message.toStdString();
  }
  const auto write = ParseCliOptions(
      A("rbx14-cli write --port COM3 --address 3-5 --mode ascii --parity odd --baud 57600 --dry-run f"));
  ASSERT_TRUE(write.options);
  EXPECT_EQ(write.options->comNumber(), 3);
  EXPECT_EQ(write.options->addresses, (std::vector<int>{3, 4, 5}));
  EXPECT_EQ(write.options->modeListPosition, 0);
  EXPECT_EQ(write.options->parityListPosition, 2);
  EXPECT_EQ(write.options->baudListPosition, 2);
  EXPECT_TRUE(write.options->dryRun);

  // A scan goes over every address unless told otherwise.
  const auto scan = ParseCliOptions(A("rbx14-cli scan --port /dev/ttyUSB0 --all-settings"));
  ASSERT_TRUE(scan.options) << scan.message.toStdString();
  EXPECT_EQ(scan.options->command, CliCommand::Scan);
  ASSERT_EQ(scan.options->addresses.size(), 247u);
  EXPECT_EQ(scan.options->addresses.front(), 1);
  EXPECT_EQ(scan.options->addresses.back(), 247);
  EXPECT_TRUE(scan.options->allSettings);
  EXPECT_EQ(scan.options->answerWaitMs, 50);
}

// ---- the frame tap --------------------------------------------------------------

struct CheckRow {
  const char* name;
  QByteArray frame;
  bool ascii;
  int asked;
  TappedFrame::Check expected;
};

TEST(FrameCheck, CrcLrcAndAddress) {
  const CheckRow rows[] = {
      {"rtu good", Rtu("010302002A"), false, 1, TappedFrame::Check::Good},
      {"rtu bad crc", Rtu("010302002A").replace(3, 1, "+"), false, 1, TappedFrame::Check::Bad},  // 0x00 -> 0x2B
      {"rtu other address", Rtu("020302002A"), false, 1, TappedFrame::Check::OtherAddress},
      {"rtu too short", QByteArray("\x01\x03", 2), false, 1, TappedFrame::Check::Bad},
      {"ascii good", Ascii("010302002A"), true, 1, TappedFrame::Check::Good},
      {"ascii bad lrc", Ascii("010302002A").replace(5, 1, "1"), true, 1, TappedFrame::Check::Bad},
      {"ascii other address", Ascii("070302002A"), true, 1, TappedFrame::Check::OtherAddress},
      {"ascii no hex", QByteArray(":01GG\r\n"), true, 1, TappedFrame::Check::Bad},
  };
  for (const CheckRow& row : rows) {
    EXPECT_EQ(CheckFrame(row.frame, row.ascii, row.asked), row.expected) << row.name;
  }
}

// Answers in pieces become whole frames with the time their last piece
// came, two in one chunk are two; a cut answer is shown as bad when the
// next request goes. The line passes through unchanged.
TEST(TapOnFakePort, AnswersInPiecesBecomeWholeFramesAndACutOneIsBad) {
  VirtualScheduler clock;
  test::FakeSerialPort port;
  FrameTap tap{port, clock};
  std::vector<TappedFrame> seen;
  tap.addObserver([&](const TappedFrame& f) { seen.push_back(f); });
  tap.setPortOpen(true);
  tap.output(Rtu("010300210001"));
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].direction, TappedFrame::Direction::Sent);
  const QByteArray answer = Rtu("010302002A") + Rtu("020302002A");
  clock.advance(7);
  port.receive(answer.left(3));
  tap.input();
  EXPECT_EQ(seen.size(), 1u);  // not complete yet
  clock.advance(5);
  port.receive(answer.mid(3));
  tap.input();
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[1].bytes, Rtu("010302002A"));
  EXPECT_EQ(seen[1].check, TappedFrame::Check::Good);
  EXPECT_EQ(seen[1].timeUs, 12000);
  EXPECT_EQ(seen[2].check, TappedFrame::Check::OtherAddress);
  EXPECT_EQ(port.written.back(), Rtu("010300210001"));

  tap.output(Ascii("010300210001"));
  port.receive(":0103");
  tap.input();
  tap.output(Ascii("010300210001"));
  ASSERT_EQ(seen.size(), 6u);
  EXPECT_EQ(seen[4].direction, TappedFrame::Direction::Received);
  EXPECT_EQ(seen[4].bytes, QByteArray(":0103"));
  EXPECT_EQ(seen[4].check, TappedFrame::Check::Bad);
}

TEST(TraceLine, TimeDirectionBytesAndCheck) {
  const TappedFrame rtu{TappedFrame::Direction::Sent, 1234567, QByteArray("\x01\x03\xAB", 3), false,
                        TappedFrame::Check::Bad};
  EXPECT_EQ(TraceLine(rtu, 1000), QStringLiteral("  1233.567 -> 01 03 AB  [CRC bad]"));
  const TappedFrame ascii{TappedFrame::Direction::Received, 2500, QByteArray(":0103\r\n"), true,
                          TappedFrame::Check::OtherAddress};
  EXPECT_EQ(TraceLine(ascii, 0), QStringLiteral("     2.500 <- :0103\\r\\n  [other address]"));
}

TEST(BatchReport, OneRowPerDeviceWithQuotesWhereNeeded) {
  std::vector<DeviceReport> reports(2);
  reports[0] = {1, QStringLiteral("1409"), QStringLiteral("1,12"), DeviceResult::Ok, 0, 2500, 4000};
  reports[1] = {2, {}, {}, DeviceResult::NoAnswer, 0, 6000, 0};
  EXPECT_EQ(
      ReportCsv(reports),
      QByteArray("address,device type,firmware version,result,differences,read-out ms,write ms\r\n"
                 "1,1409,\"1,12\",ok,0,2500,4000\r\n"
                 "2,,,no answer,0,6000,0\r\n"));
}

}  // namespace
}  // namespace rbx14
