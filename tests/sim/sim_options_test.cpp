// The command line of rbx14-sim: good options become settings, bad ones a
// message and exit code 2.

#include "sim/sim_options.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace rbx14::sim {
namespace {

ParsedSimOptions Parse(QStringList args) {
  args.prepend(QStringLiteral("rbx14-sim"));
  return ParseSimOptions(args);
}

TEST(SimOptions, DefaultsAreRtuAddressOneAt9600Even) {
  const auto parsed = Parse({});
  ASSERT_TRUE(parsed.options);
  EXPECT_EQ(parsed.options->device.mode, LineMode::Rtu);
  EXPECT_EQ(parsed.options->device.address, 1);
  EXPECT_EQ(parsed.options->line, (PortSettings{9600, 'E', 8, 1}));
  EXPECT_FALSE(parsed.options->device.responseDelayMs);
  EXPECT_FALSE(parsed.options->device.faults.any());
  EXPECT_FALSE(parsed.options->log);
}

TEST(SimOptions, EveryOptionLandsInItsSetting) {
  const auto parsed = Parse({"--mode", "ascii", "-a", "17", "-b", "19200", "-p", "odd", "--stop-bits",
                             "2", "-d", "25", "--seed", "99", "--drop", "0.1", "--corrupt", "0.2",
                             "--late", "0.3", "--late-ms", "700", "--wrong-address", "0.4", "--split",
                             "0.5", "--split-gap-ms", "80", "--silent-after", "12", "--link", "/tmp/x",
                             "--log"});
  ASSERT_TRUE(parsed.options) << parsed.message.toStdString();
  const SimOptions& o = *parsed.options;
  EXPECT_EQ(o.device.mode, LineMode::Ascii);
  EXPECT_EQ(o.device.address, 17);
  EXPECT_EQ(o.line, (PortSettings{19200, 'O', 7, 2}));
  EXPECT_EQ(o.device.responseDelayMs, 25);
  EXPECT_EQ(o.device.faults.seed, 99u);
  EXPECT_DOUBLE_EQ(o.device.faults.dropRate, 0.1);
  EXPECT_DOUBLE_EQ(o.device.faults.corruptRate, 0.2);
  EXPECT_DOUBLE_EQ(o.device.faults.lateRate, 0.3);
  EXPECT_EQ(o.device.faults.lateMs, 700);
  EXPECT_DOUBLE_EQ(o.device.faults.wrongAddressRate, 0.4);
  EXPECT_DOUBLE_EQ(o.device.faults.splitRate, 0.5);
  EXPECT_EQ(o.device.faults.splitGapMs, 80);
  EXPECT_EQ(o.device.faults.silentAfter, 12);
  EXPECT_EQ(o.linkPath, u"/tmp/x");
  EXPECT_TRUE(o.log);
}

TEST(SimOptions, SeveralAddressesMakeOneDeviceEach) {
  const auto parsed = Parse({"--address", "4,1-2"});
  ASSERT_TRUE(parsed.options) << parsed.message.toStdString();
  EXPECT_EQ(parsed.options->addresses, (std::vector<int>{4, 1, 2}));
  EXPECT_EQ(parsed.options->device.address, 4);
  EXPECT_FALSE(Parse({"--address", "1,1"}).options);
  EXPECT_FALSE(Parse({"--address", "0-3"}).options);
}

class BadSimOptions : public ::testing::TestWithParam<std::vector<const char*>> {};

TEST_P(BadSimOptions, GiveAMessageAndExitCode2) {
  QStringList args;
  for (const char* a : GetParam()) args << QString::fromLatin1(a);
  const auto parsed = Parse(args);
  EXPECT_FALSE(parsed.options);
  EXPECT_EQ(parsed.exitCode, 2);
  EXPECT_FALSE(parsed.message.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, BadSimOptions,
    ::testing::Values(std::vector<const char*>{"--mode", "tcp"}, std::vector<const char*>{"-a", "0"},
                      std::vector<const char*>{"-a", "248"}, std::vector<const char*>{"-a", "x"},
                      std::vector<const char*>{"-b", "-9600"}, std::vector<const char*>{"-p", "mark"},
                      std::vector<const char*>{"--stop-bits", "3"}, std::vector<const char*>{"--data-bits", "5"},
                      std::vector<const char*>{"-d", "3001"}, std::vector<const char*>{"--drop", "1.5"},
                      std::vector<const char*>{"--split", "nan"}, std::vector<const char*>{"--seed", "-1"},
                      std::vector<const char*>{"--silent-after", "-2"}, std::vector<const char*>{"--bogus"},
                      std::vector<const char*>{"--mode"}, std::vector<const char*>{"extra"}));

TEST(SimOptions, HelpIsNotAnError) {
  const auto parsed = Parse({"--help"});
  EXPECT_FALSE(parsed.options);
  EXPECT_EQ(parsed.exitCode, 0);
  EXPECT_TRUE(parsed.message.contains(u"--silent-after"));
  EXPECT_TRUE(parsed.message.contains(u"--version"));
}

TEST(SimOptions, VersionPrintsNameAndVersionAndExits) {
  QCoreApplication::setApplicationName(QStringLiteral("rbx14-sim"));
  QCoreApplication::setApplicationVersion(QStringLiteral("7.8.9"));
  const auto parsed = Parse({"--version", "--mode", "rtu"});
  EXPECT_FALSE(parsed.options);
  EXPECT_EQ(parsed.exitCode, 0);
  EXPECT_EQ(parsed.message, QStringLiteral("rbx14-sim 7.8.9"));
}

}  // namespace
}  // namespace rbx14::sim
