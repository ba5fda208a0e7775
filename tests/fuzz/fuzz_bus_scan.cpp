// The bus scan on a line that answers with arbitrary bytes, in arbitrary
// chunks and at arbitrary times, in RTU and in ASCII. Checked:
// - the scan always ends, within its answer windows (it never waits for a
//   line that keeps talking);
// - a device is listed only at an address that was asked, each address at
//   most once, and only after a read answer of that address with a good CRC
//   (RTU) or LRC (ASCII) came in while it was being asked;
// - afterwards the link has its line back and every timer and transaction
//   global is as it was before the scan.
//
// Input: flags (bit 0 ASCII, bit 1 cancel halfway), address count (1..8),
// then chunks of [milliseconds to wait][length][bytes] delivered to the
// program as if they came from the line.

#include "session/config_core.h"
#include "fuzz_input.h"
#include "link/codec.h"
#include "link/virtual_scheduler.h"
#include "support/core_state.h"
#include "support/fake_serial_port.h"

#include <map>
#include <set>
#include <vector>

namespace rbx14::fuzz {
namespace {

// Function 03 answers with a good check, found independently of the scan's
// own parsing: RTU by CRC over every prefix length, ASCII by LRC per line.
std::set<int> GoodAnswerAddresses(const QByteArray& bytes, bool ascii) {
  std::set<int> out;
  if (ascii) {
    QList<QByteArray> lines = bytes.split('\n');
    lines.removeLast();  // not ended by a line feed (or empty)
    for (const QByteArray& line : lines) {
      const qsizetype colon = line.lastIndexOf(':');
      if (colon < 0) continue;
      QByteArray text = line.mid(colon + 1);
      while (text.endsWith('\r')) text.chop(1);
      if (text.size() < 6 || text.size() % 2 != 0) continue;
      const QByteArray body = text.left(text.size() - 2);
      const std::string lrc = CalculateLRC(std::string_view(body.constData(), static_cast<std::size_t>(body.size())));
      if (QByteArray::fromStdString(lrc) == text.right(2) && body.mid(2, 2) == "03") {
        out.insert(body.left(2).toInt(nullptr, 16));
      }
    }
    return out;
  }
  for (qsizetype start = 0; start + 4 < bytes.size(); ++start) {
    for (qsizetype end = start + 5; end <= bytes.size(); ++end) {
      const QByteArray frame = bytes.mid(start, end - start);
      const std::uint16_t crc =
          Crc16(std::string_view(frame.constData(), static_cast<std::size_t>(frame.size() - 2)));
      if (static_cast<std::uint8_t>(frame[frame.size() - 2]) == (crc & 0xFF) &&
          static_cast<std::uint8_t>(frame[frame.size() - 1]) == (crc >> 8) && frame[1] == 0x03) {
        out.insert(static_cast<std::uint8_t>(frame[0]));
      }
    }
  }
  return out;
}

using test::Timers;

void Run(FuzzInput& in) {
  VirtualScheduler clock;
  test::FakeSerialPort port;
  test::RecordingMessageBoxes messages;
  ConfigCore core(clock, port, messages);
  core.Main();

  const std::uint8_t flags = in.byte();
  const bool ascii = (flags & 0x01) != 0;
  const bool cancelHalfway = (flags & 0x02) != 0;
  const int count = 1 + in.byte() % 8;
  core.form.txt_Modbus_adress.setText(QString());
  if (ascii) core.form.Combo_Port[port_list::kMode].setListIndex(0);
  core.form.Combo_Port[port_list::kOpenClose].setListIndex(1);
  RBX14_FUZZ_CHECK(core.scan.canStart(), "the scan cannot start on an open, idle port");

  const std::string timersBefore = Timers(core.form);
  const Globals before = core.globals;
  std::vector<int> addresses;
  for (int a = 1; a <= count; ++a) addresses.push_back(a);

  // Whatever the line brought while each address was asked.
  std::map<int, QByteArray> heard;
  int asked = 0;
  port.onOutput = [&](const QByteArray& frame) {
    asked = ascii ? frame.mid(1, 2).toInt(nullptr, 16) : static_cast<std::uint8_t>(frame[0]);
  };
  bool ended = false;
  RBX14_FUZZ_CHECK(core.scan.start(addresses, {.progress = {}, .found = {},
                                               .finished = [&](ScanEnd) { ended = true; }}),
                   "the scan did not start");

  int chunks = 0;
  while (!in.empty() && !ended) {
    clock.advance(in.byte());
    const QByteArray chunk = in.bytes(in.byte());
    if (ended) break;
    heard[asked] += chunk;
    port.receive(chunk);
    if (cancelHalfway && ++chunks == 4) core.scan.cancel();
  }
  // Every address has at most two windows of its own (probe and identity
  // twice); none is longer than a second at these settings.
  clock.advanceUntil([&] { return ended; }, 3 * 1000 * count + 1000);
  RBX14_FUZZ_CHECK(ended, "the scan did not end");

  std::set<int> listed;
  for (const FoundDevice& device : core.scan.devices()) {
    RBX14_FUZZ_CHECK(device.address >= 1 && device.address <= count, "a device at an address not asked");
    RBX14_FUZZ_CHECK(listed.insert(device.address).second, "an address listed twice");
    RBX14_FUZZ_CHECK(GoodAnswerAddresses(heard[device.address], ascii).count(device.address) == 1,
                     "a device listed without a good answer");
  }
  RBX14_FUZZ_CHECK(!core.link.lineLent(), "the line was not handed back");
  RBX14_FUZZ_CHECK(Timers(core.form) == timersBefore, "the timers are not as before");
  RBX14_FUZZ_CHECK(core.globals.lJobState == before.lJobState &&
                       core.globals.iRegPointer == before.iRegPointer &&
                       core.globals.bSendFree == before.bSendFree &&
                       core.globals.sModbusFrame == before.sModbusFrame,
                   "the transaction globals are not as before");
}

}  // namespace
}  // namespace rbx14::fuzz

RBX14_FUZZ_TARGET(rbx14::fuzz::Run)
