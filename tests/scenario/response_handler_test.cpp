// The receive path fed byte by byte and chunk by chunk: assembly in both
// modes, what a damaged or foreign answer does, and how values are decoded.
// The requests each answer leads to, and when, are in the frame traces.

#include "session/config_core.h"
#include "link/codec.h"
#include "link/virtual_scheduler.h"
#include "transactions/request_builders.h"
#include "support/fake_serial_port.h"

#include <gtest/gtest.h>

namespace rbx14 {
namespace {

QByteArray Rtu(const std::string& hex) { return QByteArray::fromStdString(BuildRtuFrame(hex)); }

QByteArray Ascii(const std::string& hex) { return QByteArray::fromStdString(BuildAsciiFrame(hex)); }

class ReceivePath : public ::testing::Test {
 protected:
  explicit ReceivePath(bool ascii = false) : core(clock, port, messages) {
    core.Main();
    if (ascii) core.form.Combo_Port[port_list::kMode].setListIndex(0);
    core.form.Combo_Port[port_list::kOpenClose].setListIndex(1);  // probe goes out
    poll = ascii ? 100 : 50;
  }

  // Bytes arrive and the receive poll picks them up.
  void arrive(const QByteArray& bytes) {
    port.receive(bytes);
    clock.advance(poll);
  }

  // Puts the core into the read-out at a given block, guard closed as after
  // the block request.
  void expectBlock(int pointer) {
    core.globals.lJobState = job_state::kReadOut;
    core.globals.iRegPointer = pointer;
    core.globals.bSendFree = false;
    core.globals.sModbusFrame = ReadRequest("1", 0x03, pointer, pointer == 0x0100 ? 17 : 10);
  }

  VirtualScheduler clock;
  test::FakeSerialPort port;
  test::RecordingMessageBoxes messages;
  ConfigCore core;
  int poll = 50;
};

TEST_F(ReceivePath, ProbeAnswerSplitOverSeveralPollsStartsTheReadOut) {
  const QByteArray answer = Rtu("0103020005");
  arrive(answer.left(2));
  EXPECT_EQ(core.globals.lJobState, 6);
  arrive(answer.mid(2, 2));
  EXPECT_EQ(core.globals.lJobState, 6);
  arrive(answer.mid(4));
  EXPECT_EQ(core.globals.iBusDelay, 5);
  EXPECT_EQ(core.globals.lJobState, 1);
  // The job timers follow the delay (the frame traces hold the intervals).
  EXPECT_EQ(core.form.Timer1->interval(), 210);
  EXPECT_EQ(core.form.Timer2->interval(), 210);
  EXPECT_EQ(core.form.Timer7->interval(), 155);
  EXPECT_TRUE(core.frmState.loaded());
  EXPECT_FALSE(core.form.window.enabled());
}

TEST_F(ReceivePath, TwoAnswersInOnePollAreBothAssembledAndTheLastIsHandled) {
  expectBlock(0x0100);
  std::string first = "010322";
  std::string second = "010322";
  for (int k = 0; k < 17; ++k) {
    first += "0001";
    second += k == 0 ? "0005" : "0002";
  }
  arrive(Rtu(first) + Rtu(second));
  EXPECT_EQ(core.form.txt_data_out[0].text(), u"5");
  EXPECT_EQ(core.form.txt_data_out[1].text(), u"2");
}

TEST_F(ReceivePath, AWrongCrcIsAMissingAnswer) {
  QByteArray answer = Rtu("0103020005");
  answer[4] = 0x06;
  arrive(answer);
  EXPECT_EQ(core.globals.lJobState, 6);
  EXPECT_FALSE(core.globals.bSendFree);
  EXPECT_EQ(core.globals.iBusDelay, 0);
  EXPECT_TRUE(core.responses.rtu().idle());
  // The request goes again and its good answer goes on with the read-out.
  clock.advance(1000);
  ASSERT_EQ(port.written.size(), 2u);
  EXPECT_EQ(port.written[1], port.written[0]);
  arrive(Rtu("0103020005"));
  EXPECT_EQ(core.globals.iBusDelay, 5);
  EXPECT_EQ(core.globals.lJobState, 1);
}

// Byte patterns on the receive path: whatever comes before, the good probe
// answer in the last chunk is taken, and nothing before it is.
struct ChunkRow {
  const char* name;
  bool ascii;
  std::vector<QByteArray> chunks;
  int delay;  // the bus delay the last chunk's answer carries
};
std::ostream& operator<<(std::ostream& os, const ChunkRow& row) { return os << row.name; }

class ReceiveChunks : public ReceivePath, public ::testing::WithParamInterface<ChunkRow> {
 protected:
  ReceiveChunks() : ReceivePath(GetParam().ascii) {}
};

TEST_P(ReceiveChunks, OnlyTheGoodAnswerIsTaken) {
  const ChunkRow& row = GetParam();
  for (std::size_t k = 0; k + 1 < row.chunks.size(); ++k) {
    arrive(row.chunks[k]);
    EXPECT_EQ(core.globals.lJobState, 6) << "chunk " << k;
  }
  arrive(row.chunks.back());
  EXPECT_EQ(core.globals.iBusDelay, row.delay);
  EXPECT_EQ(core.globals.lJobState, 1);
  // ASCII keeps the answer from after its ":" up to its CR LF.
  const std::string frame = BuildAsciiFrame("010302000" + std::to_string(row.delay));
  if (row.ascii) {
    EXPECT_EQ(core.responses.sAnswerFrame(), frame.substr(1, frame.size() - 3));
  }
}

const QByteArray kRtu3 = Rtu("0103020003");
const QByteArray kAscii5 = Ascii("0103020005");

INSTANTIATE_TEST_SUITE_P(
    Rows, ReceiveChunks,
    ::testing::Values(
        // A byte count of zero is taken again from the next byte: the next
        // answer's address becomes the count and that answer is lost.
        ChunkRow{"count_of_zero", false, {QByteArray("\x01\x03\x00", 3), Rtu("0103020005"), Rtu("0103020005")}, 5},
        ChunkRow{"another_slave_first", false, {Rtu("0203020063") + Rtu("0103020007")}, 7},
        ChunkRow{"exception_answer", false, {Rtu("018302"), Rtu("0103020009")}, 9},
        ChunkRow{"longer_than_the_buffer", false, {Rtu("01033C" + std::string(120, '1')), Rtu("0103020004")}, 4},
        // A short answer mixes with the next and both are lost.
        ChunkRow{"short_answer", false, {kRtu3.left(5), kRtu3, kRtu3}, 3},
        ChunkRow{"ascii_three_chunks", true, {kAscii5.left(5), kAscii5.mid(5, 6), kAscii5.mid(11)}, 5},
        ChunkRow{"ascii_no_start_while_idle", true, {QByteArray("0103020005F5\r\n"), Ascii("0103020008")}, 8},
        ChunkRow{"ascii_colon_then_line_feed", true, {QByteArray(":\n"), Ascii("0103020002")}, 2},
        ChunkRow{"ascii_new_start_replaces", true, {QByteArray(":01030200"), Ascii("0103020006")}, 6}),
    [](const auto& info) { return std::string(info.param.name); });

// An answer is taken for the request on the line only: the same function,
// the byte count of its read, the echo of its write.
TEST_F(ReceivePath, AGoodFrameThatAnswersAnotherRequestIsNoAnswer) {
  for (const char* other : {"01030400050006", "0101020005", "011000210001", "018302"}) {
    arrive(Rtu(other));
    EXPECT_EQ(core.globals.lJobState, 6) << other;
  }
  core.globals.lJobState = job_state::kConfigWrite;
  core.globals.iRegPointer = 0x000A;
  core.globals.sModbusFrame = "0110000A000A14" + std::string(40, '0');
  arrive(Rtu("01100000000A"));  // the acknowledge of the block before
  EXPECT_EQ(core.globals.iRegPointer, 0x000A);
  arrive(Rtu("0110000A000A"));
  EXPECT_EQ(core.globals.iRegPointer, 0x0014);
}

// Found by fuzzing: the block pointer is a 16-bit count, and an acknowledge
// that would step it past 32767 ends at the trap instead of wrapping or
// growing; the guard is free again all the same.
TEST_F(ReceivePath, AnAcknowledgeAtTheTopOfThePointersRangeEndsAtTheTrap) {
  for (const auto& [job, answer] : {std::pair{job_state::kConfigWrite, "01107FFF000A"}, std::pair{job_state::kWriteInputRegisters, "01107FFF0001"}}) {
    core.globals.lJobState = job;
    core.globals.iRegPointer = 0x7FFF;
    core.globals.bSendFree = false;
    core.globals.sModbusFrame = answer;  // the echo is the request's head
    arrive(Rtu(answer));
    EXPECT_EQ(core.globals.iRegPointer, 0x7FFF) << "job " << job;
    EXPECT_EQ(core.globals.lJobState, job);
    EXPECT_TRUE(core.globals.bSendFree) << "job " << job;
  }
}

TEST_F(ReceivePath, ConfigurationBlockDecodesSignedAndTenths) {
  expectBlock(0x0010);
  // Registers 16..25: 16 = 0xFF38 (tenths, -20), 17 = 0x00D7 (21.5).
  arrive(Rtu("010314" "FF38" "00D7" "0000" "0000" "0000" "0000" "0000" "0000" "0000" "FFFF"));
  EXPECT_EQ(core.form.txt_data_cfg[16].text(), u"-20");
  EXPECT_EQ(core.form.txt_data_cfg[17].text(), u"21,5");
  EXPECT_EQ(core.form.txt_data_cfg[25].text(), u"-1");
  EXPECT_EQ(core.form.dCfgRegValue[17], 21.5);
  EXPECT_EQ(core.form.txt_data_cfg[17].foreColor(), colors::kButtonText);
  EXPECT_EQ(core.globals.iRegPointer, 0x001A);

  expectBlock(0x000A);
  arrive(Rtu("010314" "0000" "0000" "0000" "0000" "0000" "0096" "0000" "0000" "0000" "0000"));
  EXPECT_EQ(core.form.txt_data_cfg[15].text(), u"150");

  // Found by the fault soak: the location identifier (0..65535) reads
  // unsigned, so 46777 keeps its five characters and writes back unchanged.
  expectBlock(0x0000);
  arrive(Rtu("010314" "0000" "0000" "0000" "B6B9" "0000" "0000" "0000" "0000" "0000" "0000"));
  EXPECT_EQ(core.form.txt_data_cfg[3].text(), u"46777");
  EXPECT_EQ(core.form.dCfgRegValue[3], 46777);

  expectBlock(0x0032);  // the last configuration block leads to the texts
  arrive(Rtu("010314" + std::string(40, '0')));
  EXPECT_EQ(core.globals.iRegPointer, 0x0300);
}

TEST_F(ReceivePath, MonitorDecodesUnsignedTenthsAndKeys) {
  expectBlock(0x0100);
  std::string regs = "0005" "8000" "00D7" "00D7" "FFF6" "0000" "0000";
  for (int k = 7; k < 14; ++k) regs += "0001";
  arrive(Rtu("010322" + regs + "0000" "0000" "0000"));  // 17 registers
  EXPECT_EQ(core.form.txt_data_out[1].text(), u"32768");
  EXPECT_EQ(core.form.txt_data_out[3].text(), u"21,5");
  EXPECT_EQ(core.form.txt_data_out[4].text(), u"-1");
  EXPECT_EQ(core.form.lbl_temp[0].caption(), u"21,5");
  // Keys 5 = 0101: indicators 1 and 3 red, 0 and 2 in the button face colour.
  EXPECT_EQ(core.form.Lbl_button[0].foreColor(), colors::kButtonFace);
  EXPECT_EQ(core.form.Lbl_button[1].foreColor(), colors::kRed);
  EXPECT_EQ(core.form.Lbl_button[2].foreColor(), colors::kButtonFace);
  EXPECT_EQ(core.form.Lbl_button[3].foreColor(), colors::kRed);
  EXPECT_EQ(core.globals.iRegPointer, 0x0100);  // the monitor repeats its block
}

TEST_F(ReceivePath, TextAnswersKeepEveryCharacterUpToTheFieldLength) {
  core.form.txt_data_cfg_txt[2].setMaxLength(14);
  expectBlock(0x0314);
  arrive(Rtu("010314" "4BFC" "6368" "6500" + std::string(28, '0')));
  const QString text = core.form.txt_data_cfg_txt[2].text();
  EXPECT_EQ(text.size(), 14);
  EXPECT_EQ(text.left(5), u"Küche");
  EXPECT_EQ(text[5], QChar(0));  // NUL characters stay
  EXPECT_EQ(core.form.sCfgTextValue[2], text);
  EXPECT_EQ(core.globals.iRegPointer, 0x031E);
}

TEST_F(ReceivePath, UnitAnswersTakeThreeCharactersPerUnitAndEndTheRegisterPart) {
  expectBlock(0x0432);
  arrive(Rtu("010314" "4B000000" "25000000" "B0434400" + std::string(16, '0')));
  EXPECT_EQ(core.form.txt_data_cfg_unit[15].text(), QString::fromUtf16(u"K\0\0", 3));
  EXPECT_EQ(core.form.txt_data_cfg_unit[17].text(), QStringLiteral("°CD"));
  EXPECT_EQ(core.form.sCfgUnitValue[17], QStringLiteral("°CD"));
  // The last unit block hands over to the configuration bits.
  EXPECT_EQ(core.globals.lJobState, 3);
}

TEST_F(ReceivePath, BitAnswersFillTheBoxesLowestCoilFirst) {
  for (int i = 16; i <= 26; ++i) core.form.cmb_bit_cfg[i].setItems({QStringLiteral("0"), QStringLiteral("1")});
  core.globals.lJobState = job_state::kReadConfigBits;
  core.globals.sModbusFrame = ReadRequest("1", 0x01, 0x0000, 32);
  arrive(Rtu("010104" "81" "00" "01" "80"));
  EXPECT_EQ(core.form.chk_cfg[0].value(), 1);
  EXPECT_EQ(core.form.chk_cfg[7].value(), 1);
  EXPECT_EQ(core.form.chk_cfg[1].value(), 0);
  EXPECT_EQ(core.form.chk_cfg[16].value(), 1);
  EXPECT_EQ(core.form.cmb_bit_cfg[16].listIndex(), 1);
  EXPECT_EQ(core.form.cmb_bit_cfg[17].listIndex(), 0);
  EXPECT_EQ(core.form.chk_cfg[31].value(), 1);
  EXPECT_EQ(core.form.iCfgBitValue[31], 1);
  EXPECT_EQ(core.form.iCfgBitValue[30], 0);
  EXPECT_EQ(core.globals.lJobState, 7);  // next: the external values
}

TEST_F(ReceivePath, ExternalValuesAreDecodedPerField) {
  core.globals.lJobState = job_state::kReadExternalValues;
  core.globals.sModbusFrame = ReadRequest("1", 0x03, 0x0207, 22) + "2C";
  std::string regs;
  for (int i = 0; i < 22; ++i) {
    const int field = i + 7;
    if (field == 7) regs += "00D7";        // tenths: 21.5
    else if (field == 15) regs += "FF02";  // automatic fan stage 2
    else if (field == 16) regs += "FFFE";  // signed: -2
    else if (field == 24) regs += "FFF6";  // tenths: -1
    else regs += "0000";
  }
  arrive(Rtu("01032C" + regs));
  EXPECT_EQ(core.form.txt_data_in[7].text(), u"21,5");
  EXPECT_EQ(core.form.txt_data_in[15].text(), u"65282");
  EXPECT_EQ(core.form.dInputRegValue[15], 65282.0);
  EXPECT_EQ(core.form.txt_data_in[16].text(), u"-2");
  EXPECT_EQ(core.form.txt_data_in[24].text(), u"-1");
  EXPECT_EQ(core.globals.lJobState, 9);
  EXPECT_TRUE(core.responses.sAnswerFrame().empty());
}

class AsciiReceivePath : public ReceivePath {
 protected:
  AsciiReceivePath() : ReceivePath(true) {}
};

// An ASCII answer counts from its ":" to its CR LF, with a good LRC and from
// our own address; anything else changes no field and the next good answer
// is still taken.
TEST_F(AsciiReceivePath, OnlyAWholeCheckedLineIsAnAnswer) {
  const std::string block = "010314" + std::string(36, '0') + "0007";
  QByteArray badLrc = Ascii(block);
  badLrc[badLrc.size() - 3] = badLrc[badLrc.size() - 3] == '0' ? '1' : '0';
  QByteArray noCr = Ascii(block);
  noCr.remove(noCr.size() - 2, 1);
  for (const QByteArray& bad :
       {QByteArray(":010314000100020XYZ") + QByteArray(28, '0') + QByteArray("00\r\n"), badLrc, noCr,
        Ascii("020314" + std::string(36, '0') + "0007")}) {
    expectBlock(0x0000);
    arrive(bad);
    EXPECT_TRUE(core.form.txt_data_cfg[9].text().isEmpty()) << bad.constData();
    EXPECT_EQ(core.globals.iRegPointer, 0) << bad.constData();
  }
  // A stray byte before the ":" (the line turning round) is dropped.
  arrive(QByteArray("\x80") + Ascii(block));
  EXPECT_EQ(core.form.txt_data_cfg[9].text(), u"7");
  EXPECT_EQ(core.globals.iRegPointer, 10);
}

}  // namespace
}  // namespace rbx14
