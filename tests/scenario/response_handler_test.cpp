// The receive path fed byte by byte and chunk by chunk: assembly in both
// modes, what a damaged or foreign answer does, and how values are decoded.
// The requests each answer leads to, and when, are in the frame traces.

#include "link/codec.h"
#include "transactions/request_builders.h"
#include "support/config_fixture.h"

#include <gtest/gtest.h>

namespace rbx14 {
namespace {

QByteArray Rtu(const std::string& hex) { return QByteArray::fromStdString(BuildRtuFrame(hex)); }

QByteArray Ascii(const std::string& hex) { return QByteArray::fromStdString(BuildAsciiFrame(hex)); }

// `count` copies of a register's hex.
std::string Words(const char* word, int count) {
  std::string out;
  for (int k = 0; k < count; ++k) out += word;
  return out;
}

class ReceivePath : public test::ConfigFixture, public ::testing::Test {
 protected:
  explicit ReceivePath(bool ascii = false) {
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

  int poll = 50;
};

TEST_F(ReceivePath, TwoAnswersInOnePollAreBothAssembledAndTheLastIsHandled) {
  expectBlock(0x0100);
  arrive(Rtu("010322" + Words("0001", 17)) + Rtu("010322" "0005" + Words("0002", 16)));
  EXPECT_EQ(core.form.txt_data_out[0].text(), u"5");
  EXPECT_EQ(core.form.txt_data_out[1].text(), u"2");
}

// Byte patterns on the receive path: whatever comes before, the good probe
// answer in the last chunk is taken, and nothing before it is (a damaged
// answer is a missing one: the request goes again a second later).
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
    EXPECT_TRUE(core.globals.lJobState == 6 && core.globals.iBusDelay == 0 && !core.globals.bSendFree) << "chunk " << k;
  }
  arrive(row.chunks.back());
  EXPECT_EQ(core.globals.iBusDelay, row.delay);
  EXPECT_EQ(core.globals.lJobState, 1);
  // ASCII keeps the answer from after its ":" up to its CR LF.
  const std::string frame = BuildAsciiFrame("010302000" + std::to_string(row.delay));
  EXPECT_TRUE(!row.ascii || core.responses.sAnswerFrame() == frame.substr(1, frame.size() - 3));
}

const QByteArray kRtu3 = Rtu("0103020003");
const QByteArray kRtu5 = Rtu("0103020005");
const QByteArray kAscii5 = Ascii("0103020005");

INSTANTIATE_TEST_SUITE_P(
    Rows, ReceiveChunks,
    ::testing::Values(
        ChunkRow{"rtu_three_chunks", false, {kRtu5.left(2), kRtu5.mid(2, 2), kRtu5.mid(4)}, 5},
        ChunkRow{"wrong_crc", false, {QByteArray(kRtu5).replace(4, 1, "\x06"), kRtu5}, 5},
        // A byte count of zero is taken again from the next byte: the next
        // answer's address becomes the count and that answer is lost.
        ChunkRow{"count_of_zero", false, {QByteArray("\x01\x03\x00", 3), kRtu5, kRtu5}, 5},
        ChunkRow{"another_slave_first", false, {Rtu("0203020063") + Rtu("0103020007")}, 7},
        ChunkRow{"exception_answer", false, {Rtu("018302"), Rtu("0103020009")}, 9},
        ChunkRow{"longer_than_the_buffer", false, {Rtu("01033C" + std::string(120, '1')), Rtu("0103020004")}, 4},
        // A short answer mixes with the next and both are lost.
        ChunkRow{"short_answer", false, {kRtu3.left(5), kRtu3, kRtu3}, 3},
        ChunkRow{"ascii_three_chunks", true, {kAscii5.left(5), kAscii5.mid(5, 6), kAscii5.mid(11)}, 5},
        ChunkRow{"ascii_no_start_while_idle", true, {QByteArray("0103020005F5\r\n"), Ascii("0103020008")}, 8},
        ChunkRow{"ascii_colon_then_line_feed", true, {QByteArray(":\n"), Ascii("0103020002")}, 2},
        ChunkRow{"ascii_new_start_replaces", true, {QByteArray(":01030200"), Ascii("0103020006")}, 6},
        // An ASCII answer counts from its ":" to its CR LF, with a good LRC
        // and from our own address; a stray byte before the ":" (the line
        // turning round) is dropped.
        ChunkRow{"ascii_bad_lrc", true, {QByteArray(kAscii5).replace(12, 1, "0"), kAscii5}, 5},
        ChunkRow{"ascii_no_cr", true, {kAscii5.left(13) + "\n", kAscii5}, 5},
        ChunkRow{"ascii_not_hex", true, {QByteArray(":01030200X5F5\r\n"), kAscii5}, 5},
        ChunkRow{"ascii_another_slave", true, {Ascii("0203020007"), kAscii5}, 5},
        ChunkRow{"ascii_stray_byte_first", true, {QByteArray("\x80") + kAscii5}, 5}),
    [](const auto& info) { return std::string(info.param.name); });

// An answer is taken for the request on the line only: the same function,
// the byte count of its read, the echo of its write.
TEST_F(ReceivePath, AGoodFrameThatAnswersAnotherRequestIsNoAnswerAndThePointerStaysInRange) {
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
  // Found by fuzzing: the block pointer is a 16-bit count, and an
  // acknowledge that would step it past 32767 ends at the trap instead of
  // wrapping or growing; the guard is free again all the same.
  for (const auto& [job, answer] : {std::pair{job_state::kConfigWrite, "01107FFF000A"},
                                    std::pair{job_state::kWriteInputRegisters, "01107FFF0001"}}) {
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

// Registers 16 = 0xFF38 (tenths, -20), 17 = 0x00D7 (21.5), 25 = 0xFFFF;
// found by the fault soak: the location identifier (register 3, 0..65535)
// reads unsigned, so 46777 keeps its five characters and writes back unchanged.
TEST_F(ReceivePath, ConfigurationBlocksDecodeSignedUnsignedAndTenths) {
  // The block, a register in it and its word, its text and value, the next block.
  for (const auto& [block, index, word, text, value, next] :
       std::initializer_list<std::tuple<int, int, const char*, const char16_t*, double, int>>{
           {0x10, 16, "FF38", u"-20", -20, 0x1A}, {0x10, 17, "00D7", u"21,5", 21.5, 0x1A},
           {0x10, 25, "FFFF", u"-1", -1, 0x1A}, {0x0A, 15, "0096", u"150", 150, 0x14},
           {0x00, 3, "B6B9", u"46777", 46777, 0x0A}, {0x32, 59, "0000", u"0", 0, 0x300} /* on to the texts */}) {
    expectBlock(block);
    std::string regs = std::string(4 * static_cast<std::size_t>(index - block), '0') + word;
    arrive(Rtu("010314" + regs + std::string(40 - regs.size(), '0')));
    EXPECT_EQ(core.form.txt_data_cfg[index].text(), QString::fromUtf16(text)) << index;
    EXPECT_EQ(core.form.dCfgRegValue[index], value) << index;
    EXPECT_EQ(core.form.txt_data_cfg[index].foreColor(), colors::kButtonText);
    EXPECT_EQ(core.globals.iRegPointer, next) << index;
  }
}

TEST_F(ReceivePath, MonitorDecodesUnsignedTenthsAndKeys) {
  expectBlock(0x0100);
  for (int key = 0; key < 4; ++key) core.form.Lbl_button[key].setForeColor(colors::kRed);  // the last poll's
  arrive(Rtu("010322" "0005" "8000" "00D7" "00D7" "FFF6" "0000" "0000" + Words("0001", 7) + Words("0000", 3)));
  for (const auto& [k, text] : {std::pair{1, u"32768"}, {3, u"21,5"}, {4, u"-1"}}) {
    EXPECT_EQ(core.form.txt_data_out[k].text(), QString::fromUtf16(text)) << k;
  }
  EXPECT_EQ(core.form.lbl_temp[0].caption(), u"21,5");
  // Keys 5 = 0101: indicators 1 and 3 red, 0 and 2 in the button face colour.
  for (int key = 0; key < 4; ++key) {
    EXPECT_EQ(core.form.Lbl_button[key].foreColor(), key % 2 == 1 ? colors::kRed : colors::kButtonFace) << key;
  }
  EXPECT_EQ(core.globals.iRegPointer, 0x0100);  // the monitor repeats its block
}

// Texts keep every character (NUL included) up to the field's length; units
// take three characters each, and the last unit block hands over to the bits.
TEST_F(ReceivePath, TextAndUnitAnswersKeepTheirCharacters) {
  core.form.txt_data_cfg_txt[2].setMaxLength(14);
  expectBlock(0x0314);
  arrive(Rtu("010314" "4BFC" "6368" "6500" + std::string(28, '0')));
  const QString text = core.form.txt_data_cfg_txt[2].text();
  EXPECT_EQ(text, QStringLiteral("Küche") + QString(9, QChar(0)));
  EXPECT_EQ(core.form.sCfgTextValue[2], text);
  EXPECT_EQ(core.globals.iRegPointer, 0x031E);

  expectBlock(0x0432);
  arrive(Rtu("010314" "4B000000" "25000000" "B0434400" + std::string(16, '0')));
  EXPECT_EQ(core.form.txt_data_cfg_unit[15].text(), QString::fromUtf16(u"K\0\0", 3));
  EXPECT_EQ(core.form.txt_data_cfg_unit[17].text(), QStringLiteral("°CD"));
  EXPECT_EQ(core.form.sCfgUnitValue[17], QStringLiteral("°CD"));
  EXPECT_EQ(core.globals.lJobState, 3);
}

TEST_F(ReceivePath, BitAnswersFillTheBoxesLowestCoilFirst) {
  for (int i = 16; i <= 26; ++i) core.form.cmb_bit_cfg[i].setItems({QStringLiteral("0"), QStringLiteral("1")});
  core.globals.lJobState = job_state::kReadConfigBits;
  core.globals.sModbusFrame = ReadRequest("1", 0x01, 0x0000, 32);
  arrive(Rtu("010104" "81" "00" "01" "80"));
  for (const auto& [bit, value] : {std::pair{0, 1}, {1, 0}, {7, 1}, {16, 1}, {17, 0}, {30, 0}, {31, 1}}) {
    EXPECT_EQ(core.form.chk_cfg[bit].value(), value) << bit;
    EXPECT_EQ(core.form.iCfgBitValue[bit], value) << bit;
  }
  EXPECT_EQ(core.form.cmb_bit_cfg[16].listIndex(), 1);
  EXPECT_EQ(core.form.cmb_bit_cfg[17].listIndex(), 0);
  EXPECT_EQ(core.globals.lJobState, 7);  // next: the external values
}

TEST_F(ReceivePath, ExternalValuesAreDecodedPerField) {
  core.globals.lJobState = job_state::kReadExternalValues;
  core.globals.sModbusFrame = ReadRequest("1", 0x03, 0x0207, 22) + "2C";
  // Fields 7..28: 7 tenths, 15 an automatic fan stage (unsigned), 16 signed, 24 tenths.
  const std::tuple<int, const char*, const char16_t*> fields[] = {
      {7, "00D7", u"21,5"}, {15, "FF02", u"65282"}, {16, "FFFE", u"-2"}, {24, "FFF6", u"-1"}};
  std::string regs(88, '0');
  for (const auto& [field, word, text] : fields) regs.replace(4 * static_cast<std::size_t>(field - 7), 4, word);
  arrive(Rtu("01032C" + regs));
  for (const auto& [field, word, text] : fields) EXPECT_EQ(core.form.txt_data_in[field].text(), text) << field;
  EXPECT_EQ(core.form.dInputRegValue[15], 65282.0);
  EXPECT_EQ(core.globals.lJobState, 9);
  EXPECT_TRUE(core.responses.sAnswerFrame().empty());
}

}  // namespace
}  // namespace rbx14
