// The command line of rbx14-sim: good options become settings, bad ones a
// message and exit code 2.

#include "sim/sim_options.h"

#include <gtest/gtest.h>

namespace rbx14::sim {
namespace {

ParsedSimOptions Parse(QStringList args) {
  args.prepend(QStringLiteral("rbx14-sim"));
  return ParseSimOptions(args);
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

}  // namespace
}  // namespace rbx14::sim
