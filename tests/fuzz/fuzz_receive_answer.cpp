// The receive path fed arbitrary bytes in arbitrary chunks, in RTU and in
// ASCII, for every job and block pointers in and around every range, with
// the whole window behind it. Checked after every call and every stretch of
// time in between:
// - the job number stays 0..9 and the block pointer within 16 bits; a job
//   that starts at a pointer its chain can hold keeps to such pointers;
// - in RTU no field, bit or reference value changes unless a frame with a
//   good CRC (checked here, independently) was completed in that call; in
//   ASCII unless a line with a good LRC (checked by the frame tap's own
//   check) came; and never while time merely passes;
// - after a good answer to the request on the line is taken the send guard
//   is free again, unless taking it already sent the next request;
// - no text field holds more characters than its maximum.
//
// Input: flags, job, pointer choice (3 bytes), address, then chunks of
// [length][milliseconds to wait afterwards][bytes].

#include "session/config_core.h"
#include "base/trap.h"
#include "fuzz_input.h"
#include "link/frame_tap.h"
#include "transactions/answer_decoding.h"
#include "link/virtual_scheduler.h"
#include "support/fake_serial_port.h"

#include <QStringList>

#include <array>
#include <cstdint>
#include <vector>

namespace rbx14::fuzz {
namespace {

// Pointers on and around the edges of every range the jobs walk.
constexpr std::array<int, 46> kPointers{
    0,     1,     5,     9,     10,    20,    30,    40,    49,    50,    51,    55,
    59,    60,    61,    0x21,  0xFF,  0x100, 0x101, 0x1FF, 0x200, 0x201, 0x20F, 0x218,
    0x219, 0x21A, 0x2FF, 0x300, 0x301, 0x30A, 0x3D2, 0x3D3, 0x3DC, 0x3DD, 0x3FF, 0x400,
    0x401, 0x432, 0x433, 0x43C, 0x43D, 0x4FF, 0x500, 0x7FF6, 0x7FFF, 0x7FFE};

bool InBlocks(int p) {
  return (p >= 0 && p <= 50 && p % 10 == 0) || (p >= 0x300 && p <= 0x3D2 && (p - 0x300) % 10 == 0) ||
         (p >= 0x400 && p <= 0x432 && (p - 0x400) % 10 == 0);
}

// A pointer the chains of the program can hold for a job.
bool Consistent(int job, int p) {
  switch (job) {
    case 1: return InBlocks(p) || p == 0x100;
    case 2: return InBlocks(p);
    case 5: return p >= 0x200 && p <= 0x218;
    case 6: return p == 0x21;
    default: return InBlocks(p) || p == 0x21 || p == 0x100 || (p >= 0x200 && p <= 0x219) || p == 0x43C;
  }
}

// CRC-16 of Modbus RTU, written here again so that the check does not rest
// on the codec it checks.
std::uint16_t Crc16(const QByteArray& bytes, qsizetype count) {
  std::uint16_t crc = 0xFFFF;
  for (qsizetype i = 0; i < count; ++i) {
    crc ^= static_cast<std::uint8_t>(bytes[i]);
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001) : crc >> 1;
  }
  return crc;
}

bool CrcGood(const QByteArray& frame) {
  if (frame.size() < 3) return false;
  const std::uint16_t crc = Crc16(frame, frame.size() - 2);
  return static_cast<std::uint8_t>(frame[frame.size() - 2]) == (crc & 0xFF) &&
         static_cast<std::uint8_t>(frame[frame.size() - 1]) == (crc >> 8);
}

template <class T>
void AddTexts(QStringList& out, const ControlArray<T>& controls) {
  for (int i : controls.indices()) out << controls[i].text();
}
template <class T, std::size_t N>
void AddValues(QStringList& out, const ReferenceValues<T, N>& values) {
  for (int i = 0; i < values.size(); ++i) {
    if constexpr (std::is_same_v<T, QString>) {
      out << values[i];
    } else {
      out << QString::number(values[i], 'g', 17);
    }
  }
}

// Everything an answer may write: fields, bits, lists and (with references)
// the device's values. The end of an input-register write takes the fields'
// values as the device's on a timer tick, so time may move those.
QStringList WindowState(const FrmConfig& form, bool withReferences = true) {
  QStringList out;
  AddTexts(out, form.txt_data_cfg);
  AddTexts(out, form.txt_data_cfg_txt);
  AddTexts(out, form.txt_data_cfg_unit);
  AddTexts(out, form.txt_data_in);
  AddTexts(out, form.txt_data_out);
  for (int i : form.chk_cfg.indices()) out << QString::number(form.chk_cfg[i].value());
  for (int i : form.chk_input.indices()) out << QString::number(form.chk_input[i].value());
  for (int i : form.cmb_bit_cfg.indices()) out << QString::number(form.cmb_bit_cfg[i].listIndex());
  if (!withReferences) return out;
  AddValues(out, form.dCfgRegValue);
  AddValues(out, form.sCfgTextValue);
  AddValues(out, form.sCfgUnitValue);
  AddValues(out, form.iCfgBitValue);
  AddValues(out, form.iInputBitValue);
  AddValues(out, form.dInputRegValue);
  return out;
}

void CheckLengths(const ControlArray<TextBox>& fields) {
  for (int i : fields.indices()) {
    const TextBox& field = fields[i];
    RBX14_FUZZ_CHECK(field.maxLength() == 0 || field.text().size() <= field.maxLength(),
                     "a text field holds more than its maximum");
  }
}

void CheckAlways(const ConfigCore& core, bool startConsistent) {
  const Globals& g = core.globals;
  RBX14_FUZZ_CHECK(g.lJobState >= 0 && g.lJobState <= 9, "job number");
  RBX14_FUZZ_CHECK(g.iRegPointer >= 0 && g.iRegPointer <= 0x7FFF, "block pointer beyond 16 bits");
  if (startConsistent) {
    RBX14_FUZZ_CHECK(Consistent(g.lJobState, g.iRegPointer), "block pointer left the job's ranges");
  }
  const FrmConfig& form = core.form;
  for (const auto* fields : {&form.txt_data_cfg, &form.txt_data_cfg_txt, &form.txt_data_cfg_unit,
                             &form.txt_data_in, &form.txt_data_out}) {
    CheckLengths(*fields);
  }
}

struct Setup {
  bool ascii;
  int job;
  int pointer;
};

void Run(FuzzInput& in) {
  VirtualScheduler clock;
  test::FakeSerialPort port;
  test::RecordingMessageBoxes messages;
  ConfigCore core(clock, port, messages);
  core.Main();

  const std::uint8_t flags = in.byte();
  Setup s;
  s.ascii = (flags & 0x01) != 0;
  s.job = in.byte() % 10;
  const std::uint8_t choice = in.byte();
  const std::uint16_t raw = in.word();
  s.pointer = choice < kPointers.size() ? kPointers[choice] : (raw & 0x7FFF);
  const int address = in.byte();

  FrmConfig& form = core.form;
  Globals& g = core.globals;
  if (flags & 0x02) g.sDecimalSep = QStringLiteral(".");
  form.txt_Modbus_adress.setText(QString::number(address));
  if (s.ascii) form.Combo_Port[port_list::kMode].setListIndex(0);
  form.Combo_Port[port_list::kOpenClose].setListIndex(1);  // the probe goes out

  // The chosen moment of a transaction: its job, its pointer, its timer
  // running, a request outstanding.
  g.lJobState = s.job;
  g.iRegPointer = s.pointer;
  g.bSendFree = false;
  form.bDelayChanged = (flags & 0x04) != 0;
  form.bInputRegsChanged = (flags & 0x08) != 0;
  form.bInputBitsChanged = (flags & 0x10) != 0;
  if (s.job == 1) form.Timer6->setEnabled(true);
  if (s.job == 2) form.Timer1->setEnabled(true);
  if (s.job == 5) form.Timer2->setEnabled(true);
  if (flags & 0x20) core.sequences.ShowMsgWindow();
  if (flags & 0x40) form.chk_read_out.setValue(1);
  if (flags & 0x80) {
    // Something to write: a field, a text and an external value marked.
    form.txt_data_cfg[42].setText(QStringLiteral("31"));
    form.txt_data_cfg_txt[3].setText(QStringLiteral("Text"));
    form.txt_data_in[16].setForeColor(colors::kRed);
  }
  const bool startConsistent = Consistent(g.lJobState, g.iRegPointer);
  CheckAlways(core, startConsistent);

  // The same assembly, run beside the handler's to know when a frame ends.
  RtuAssembly mirror;
  while (!in.empty()) {
    const std::size_t length = in.byte();
    const int waitMs = in.byte();
    const QByteArray chunk = in.bytes(length);

    QStringList before = WindowState(form);
    const auto sentBefore = port.written.size();
    const std::string request = g.sModbusFrame;
    bool goodFrame = false;
    bool goodAnswer = false;  // a good frame that answers the request
    if (!chunk.isEmpty()) {
      port.receive(chunk);
      core.responses.ReceiveAnswer();  // what the receive poll does
      if (!s.ascii) {
        try {
          for (char c : chunk) {
            if (auto frame = mirror.push(static_cast<std::uint8_t>(c), address)) {
              const bool good = CrcGood(QByteArray::fromHex(QByteArray::fromStdString(frame->hex)));
              RBX14_FUZZ_CHECK(good == frame->crcGood, "the assembly misjudged a CRC");
              goodFrame = goodFrame || good;
              goodAnswer = goodAnswer || (good && AnswerFitsRequest(frame->hex, request, 4));
            }
          }
        } catch (const RuntimeError&) {
          mirror.reset();  // too long for the buffer: the handler starts over too
        }
        // The handler's trap resets a half-received answer when taking the
        // complete one failed; follow it.
        if (core.responses.rtu().idle() && core.responses.rtu().count() == 0) mirror.reset();
      }
    }
    const QStringList after = WindowState(form);
    const bool sentMeanwhile = port.written.size() > sentBefore;
    if (s.ascii) {
      // A whole line alone in its chunk, checked by the tap; anything else
      // in the chunk may have started a line of its own.
      const bool line = chunk.size() >= 9 && chunk.front() == ':' && chunk.endsWith("\r\n") &&
                        chunk.count(':') == 1 && chunk.count('\n') == 1;
      const bool good = line && CheckFrame(chunk, true, address) == TappedFrame::Check::Good;
      RBX14_FUZZ_CHECK(after == before || chunk.contains('\n'), "a field changed without an answer");
      const std::string hex = chunk.mid(1, chunk.size() - 3).toStdString();
      if (good && address > 0 && AnswerFitsRequest(hex, request, 2)) {
        RBX14_FUZZ_CHECK(g.bSendFree || sentMeanwhile, "send guard closed after an answer");
      }
    } else {
      RBX14_FUZZ_CHECK(after == before || goodFrame, "a field changed without a good CRC");
      if (goodAnswer) RBX14_FUZZ_CHECK(g.bSendFree || sentMeanwhile, "send guard closed after an answer");
    }
    CheckAlways(core, startConsistent);

    // Time passes: the jobs send, the state window runs down, and nothing of
    // what the window shows changes by itself.
    const QStringList shown = WindowState(form, false);
    clock.advance(waitMs);
    // A request that went out meanwhile dropped what was half received.
    if (core.responses.rtu().idle()) mirror.reset();
    RBX14_FUZZ_CHECK(WindowState(form, false) == shown, "a field changed while no answer came");
    CheckAlways(core, startConsistent);
  }
}

}  // namespace
}  // namespace rbx14::fuzz

RBX14_FUZZ_TARGET(rbx14::fuzz::Run)
