// The request builders' encodings, and what the jobs send or hold back.
// The frames of every block of a read-out and a write-back, byte for byte,
// are in the frame traces (sim/frame_trace_test).

#include "session/config_core.h"
#include "link/codec.h"
#include "link/virtual_scheduler.h"
#include "support/config_fixture.h"
#include "transactions/request_builders.h"

#include <gtest/gtest.h>

#include <optional>

namespace rbx14 {
namespace {

// What each builder makes of its input: the encoding, or nothing. (Read
// requests, signed tenths, texts and units as a device holds them are in the
// frame traces.)
TEST(RequestBuilders, EncodingsOfAddressesNumbersTextsAndUnits) {
  const auto q = [](const char* text) { return QString::fromUtf8(text); };
  using Encoding = std::optional<std::string>;
  for (const auto& [got, want] : std::initializer_list<std::pair<Encoding, Encoding>>{
           {AddressPrefix(q("5")), "05"}, {AddressPrefix(q("17")), "11"}, {AddressPrefix(q("247")), "F7"},
           {EncodeTenths(q("21,5"), u','), "00D7"}, {EncodeTenths(q("0,25"), u','), "0002"} /* to even */,
           {EncodeTenths(q("21.5"), u'.'), "00D7"}, {EncodeTenths(QString(), u','), std::nullopt},
           {EncodeRaw(q("-1"), u','), "FFFF"}, {EncodeRaw(q("150"), u','), "0096"}, {EncodeRaw(q("2,5"), u','), "0002"},
           {EncodeRaw(q("abc"), u','), std::nullopt}, {EncodeTextBlock(QString()), std::string(40, '0')},
           {EncodeUnit(q("kWh/m")), "6B57682F"} /* cut to the registers' 4 */}) {
    EXPECT_EQ(got, want) << want.value_or("nothing");
  }
}

TEST(RequestBuilders, BitsPackLowestBoxIntoTheLowestBit) {
  int values[32] = {};
  values[0] = values[9] = values[31] = 1;
  values[5] = 2;  // a greyed box counts as not ticked
  EXPECT_EQ(EncodeBits(values, 32), "01020080");
  EXPECT_EQ(EncodeBits(values, 16), "0102");
}

// The jobs on a core whose port is open, with the guard open.
class JobFrames : public test::ConfigFixture, public ::testing::Test {
 protected:
  JobFrames() {
    core.form.txt_Modbus_adress.setText(QString());  // open without a probe
    core.form.Combo_Port[port_list::kOpenClose].setListIndex(1);
    core.form.txt_Modbus_adress.setText(QStringLiteral("1"));
    core.globals.bSendFree = true;
  }
};

TEST_F(JobFrames, AFieldThatIsNoNumberStopsTheBlockInsteadOfWritingGarbage) {
  for (int i = 0; i < 10; ++i) core.form.txt_data_cfg[i].setText(QStringLiteral("1"));
  core.form.txt_data_cfg[4].setText(QStringLiteral("x"));
  core.globals.iRegPointer = 0;
  core.form.Timer1->setEnabled(true);
  clock.advance(1000);
  EXPECT_TRUE(port.written.empty());
}

TEST_F(JobFrames, ClosedGuardOrEmptyAddressSendsNothingButPreparesTheJob) {
  core.globals.bSendFree = false;
  core.jobs.ReadExternalValues();
  EXPECT_EQ(core.globals.lJobState, 7);
  core.form.txt_Modbus_adress.setText(QString());
  core.jobs.ReadConfigBits();  // opens the guard, but there is no address
  EXPECT_EQ(core.globals.lJobState, 3);
  EXPECT_TRUE(core.globals.bSendFree);
  core.jobs.Timer7_Timer();
  EXPECT_TRUE(port.written.empty());
}

TEST_F(JobFrames, PollingSendsOnEveryTickAnsweredOrNot) {
  core.form.chk_read_out.setValue(1);
  core.globals.iBusDelay = 0;
  core.form.Timer7->setInterval(150);
  clock.advance(450);
  ASSERT_EQ(port.written.size(), 3u);
  EXPECT_EQ(core.globals.sModbusFrame, "010301000011");
  EXPECT_FALSE(core.form.read_out_parameter.enabled());
  core.form.chk_read_out.setValue(0);
  clock.advance(900);  // (the link repeats the last poll once a second)
  EXPECT_EQ(port.written.size(), 3u);
  EXPECT_TRUE(core.form.read_out_parameter.enabled());
}

TEST_F(JobFrames, InputRegisterWriteWithNothingMarkedEndsAfterTwentyFiveShortTicks) {
  core.globals.lJobState = job_state::kWriteInputRegisters;
  core.globals.iRegPointer = 0;
  core.form.Timer2->setInterval(10);
  core.form.Timer2->setEnabled(true);
  clock.advance(249);
  EXPECT_TRUE(core.form.Timer2->enabled());
  clock.advance(1);
  EXPECT_FALSE(core.form.Timer2->enabled());
  // Nothing was written; the state window closed and started the read-out.
  ASSERT_EQ(port.written.size(), 0u);
  EXPECT_EQ(core.globals.lJobState, 1);
  EXPECT_TRUE(core.form.Timer6->enabled());
}

// The device acknowledges each write at once; the job moves on to the next
// marked field and, at its end, every field written is unmarked.
TEST_F(JobFrames, InputRegisterWriteSendsOnlyMarkedFieldsInTheirEncoding) {
  for (const auto& [k, text] : {std::pair{7, "21,5"}, {16, "-3"}, {24, "20"}}) {
    core.form.txt_data_in[k].setText(QString::fromLatin1(text));
    core.form.txt_data_in[k].setForeColor(colors::kRed);
  }
  core.globals.lJobState = job_state::kWriteInputRegisters;
  core.globals.iRegPointer = 0x0200;
  core.form.Timer2->setInterval(10);
  core.form.Timer2->setEnabled(true);
  clock.advance(70);  // seven unmarked fields skipped, 10 ms each
  EXPECT_TRUE(port.written.empty());
  std::vector<std::string> writes;
  port.onOutput = [&](const QByteArray& frame) {
    if (frame[1] != 0x10) return;
    writes.push_back(frame.left(frame.size() - 2).toHex().toUpper().toStdString());
    port.receive(QByteArray::fromStdString(BuildRtuFrame(frame.left(6).toHex().toUpper().toStdString())));
  };
  clock.advance(3000);
  EXPECT_EQ(writes, (std::vector<std::string>{"0110020700010200D7", "01100210000102FFFD", "0110021800010200C8"}));
  for (int k : {7, 16, 24}) EXPECT_NE(core.form.txt_data_in[k].foreColor(), colors::kRed) << k;
  // What was written is the device's value now.
  EXPECT_EQ(core.form.dInputRegValue[24], 20);
}

}  // namespace
}  // namespace rbx14
