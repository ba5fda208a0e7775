#include "soak/fault_soak.h"

#include "base/codepage.h"
#include "session/config_core.h"
#include "base/numbers.h"
#include "base/trap.h"
#include "link/virtual_scheduler.h"
#include "model/change_tracking.h"
#include "sim/simulated_serial_port.h"
#include "support/fake_serial_port.h"
#include "support/forwarding_port.h"
#include "support/window_shows.h"
#include "transactions/jobs.h"

#include <QStringList>

#include <cstdio>
#include <random>
#include <sstream>

namespace rbx14::soak {
namespace {

// The simulated port as the program sees it, plus what a soak needs: a
// device that hears nothing for a while, and a count of repeated requests.
class SoakPort final : public test::ForwardingPort {
 public:
  using ForwardingPort::ForwardingPort;
  int output(const QByteArray& frame) override {
    // The link repeats an unanswered request unchanged.
    if (frame == last_) ++retransmissions;
    last_ = frame;
    return deaf ? port_error::kNone : inner_.output(frame);
  }
  void newCycle() { last_.clear(); }

  bool deaf = false;
  int retransmissions = 0;

 private:
  QByteArray last_;
};

// What a write-back cycle changed, as the device must hold it afterwards.
struct Written {
  std::vector<std::pair<std::uint16_t, std::uint16_t>> registers;
  std::vector<std::pair<std::uint16_t, QByteArray>> textBlocks;  // 20 bytes
  std::vector<std::pair<int, QByteArray>> units;                 // 4 bytes
  std::vector<std::pair<std::uint16_t, bool>> coils;
};

class Soak {
 public:
  explicit Soak(const SoakSettings& s)
      : settings_(s),
        device_(sim::DeviceSettings{s.mode, 1, std::nullopt, s.faults}),
        simulated_(clock_, device_),
        port_(simulated_),
        core_(clock_, port_, messages_),
        random_(s.seed) {
    core_.Main();
    // The state window's time budget ends a stalled chain; note when it does.
    core_.frmState.Timer1SW->setOnTick([this] {
      budgetRanOut_ = true;
      Trap("Timer1SW", [this] { core_.frmState.Timer1SW_Timer(); });
    });
    device_.setOnLineEvent([this](const sim::LineEvent& e) {
      noteFault(e);
      if (traceCycle_ == counts_.cycles - 1) {
        std::fprintf(stderr, "%8lld ms job %d ptr %#x %s %s\n", static_cast<long long>(clock_.nowMs()),
                     core_.globals.lJobState, core_.globals.iRegPointer,
                     qPrintable(sim::FrameText(e.frame, settings_.mode)), qPrintable(e.note));
      }
    });
    // RBX14_SOAK_TRACE=n prints what the device saw and said in cycle n.
    traceCycle_ = qEnvironmentVariableIntValue("RBX14_SOAK_TRACE", &traceOn_);
    if (!traceOn_) traceCycle_ = -1;
    core_.form.Combo_Port[port_list::kMode].setListIndex(s.mode == sim::LineMode::Ascii ? 0 : 1);
  }

  SoakCounts run() {
    for (int cycle = 0; cycle < settings_.cycles; ++cycle) runCycle(cycle);
    counts_.retransmissions = port_.retransmissions;
    counts_.virtualMs = clock_.nowMs();
    return counts_;
  }

 private:
  bool idle() const { return core_.globals.lJobState == 0 && !core_.frmState.loaded(); }

  void noteFault(const sim::LineEvent& e) {
    QStringList kinds;
    if (e.kind == sim::LineEvent::Kind::Dropped) {
      kinds << QStringLiteral("dropped");
    } else if (e.kind == sim::LineEvent::Kind::Answer && e.note.startsWith(u"fault: ")) {
      kinds = e.note.mid(7).split(QStringLiteral(", "));
    }
    for (const QString& kind : kinds) {
      ++counts_.faultsByKind[kind.toStdString()];
      ++counts_.faultsInjected;
      ++cycleFaults_;
    }
  }

  void fail(int cycle, const std::string& what) {
    std::ostringstream out;
    out << "cycle " << cycle << ": " << what;
    counts_.failures.push_back(out.str());
  }

  void runCycle(int cycle) {
    ++counts_.cycles;
    budgetRanOut_ = false;
    cycleFaults_ = 0;
    port_.newCycle();
    const bool silent = settings_.silentEvery > 0 && cycle > 0 && cycle % settings_.silentEvery == 0;
    const bool write = !silent && cycle % 2 == 1;
    Written written;
    port_.deaf = silent;
    const int readOutsBefore = core_.responses.completedReadOuts();
    if (cycle == 0) {
      ++counts_.readOuts;
      core_.form.Combo_Port[port_list::kOpenClose].setListIndex(1);  // the probe starts it
    } else if (write) {
      ++counts_.writeBacks;
      written = makeChanges();
      core_.form.set_parameter.click();
    } else {
      ++counts_.readOuts;
      core_.form.read_out_parameter.click();
    }
    if (idle()) return fail(cycle, "the cycle did not start");
    if (!clock_.advanceUntil([this] { return idle(); }, 600000)) return fail(cycle, "the cycle never ended");

    if (silent) {
      ++counts_.silentCycles;
      port_.deaf = false;
      if (!core_.form.lbl_desc[desc::kCommWarning].visible()) fail(cycle, "silent device: no warning");
      if (!core_.form.window.enabled()) fail(cycle, "silent device: the window takes no input");
      if (!core_.form.read_out_parameter.enabled()) fail(cycle, "silent device: no read-out button");
      // The warning's timer must not fall into the next cycle.
      return;
    }
    if (cycleFaults_ > 0) ++counts_.faulted;
    const bool success = core_.responses.completedReadOuts() > readOutsBefore && !budgetRanOut_ &&
                         !core_.form.lbl_desc[desc::kCommWarning].visible() && core_.form.window.enabled();
    if (!success) {
      ++counts_.failed;
      return fail(cycle, "did not end with success (" + std::to_string(cycleFaults_) + " faults)");
    }
    ++counts_.succeeded;
    if (cycleFaults_ > 0) ++counts_.faultedSucceeded;
    expectWindowShowsTheDevice(cycle);
    if (write) expectDeviceHolds(cycle, written);
    if (!messages_.shown.isEmpty()) fail(cycle, "a message box: " + messages_.shown.join(u'|').toStdString());
  }

  int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

  QString randomText(int length, bool blanks) {
    static const char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 ";
    QString out;
    for (int i = 0; i < length; ++i) out += QChar(kChars[pick(0, blanks ? 62 : 61)]);
    return out;
  }

  Written makeChanges() {
    FrmConfig& form = core_.form;
    const QChar sep = core_.globals.decimalSep();
    Written w;
    // A configuration bit, marked the way its editor marks it.
    const int bit = pick(0, 30);
    form.chk_cfg[bit].setValue(form.chk_cfg[bit].value() == 1 ? 0 : 1);
    form.chk_cfg[bit].setForeColor(colors::kRed);
    w.coils.emplace_back(static_cast<std::uint16_t>(bit), form.chk_cfg[bit].value() == 1);

    // Two fields with arrows, within their range. The response time and the
    // bus delay register stay: they change the line's timing, not the data.
    std::vector<int> candidates;
    for (int i : form.UpD_txt_cfg.indices()) {
      if (i != 15 && i != 33) candidates.push_back(i);
    }
    for (int n = 0; n < 2; ++n) {
      const auto at = static_cast<std::size_t>(pick(0, static_cast<int>(candidates.size()) - 1));
      const int i = candidates[at];
      candidates.erase(candidates.begin() + static_cast<long>(at));  // two different fields
      const UpDown& arrows = form.UpD_txt_cfg[i];
      const bool tenths = IsTenthsConfigRegister(i);
      const double value = tenths ? pick(arrows.min() * 10, arrows.max() * 10) / 10.0
                                  : pick(arrows.min(), arrows.max());
      TextBox& field = form.txt_data_cfg[i];
      field.setText(FormatDecimal(value, sep));
      const double shown = ParseDecimal(field.text(), sep).value_or(0);
      w.registers.emplace_back(static_cast<std::uint16_t>(i),
                               ToWord(RoundHalfEven(tenths ? shown * 10 : shown)));
    }

    const int k = pick(0, 21);
    TextBox& text = form.txt_data_cfg_txt[k];
    text.setText(randomText(pick(1, 14), true));
    QByteArray block = ToCodePage(text.text());
    block.append(QByteArray(20 - block.size(), '\0'));
    w.textBlocks.emplace_back(static_cast<std::uint16_t>(0x300 + 10 * k), block);

    const int u = pick(0, 17);
    TextBox& unit = form.txt_data_cfg_unit[u];
    unit.setText(randomText(pick(1, 3), false));
    QByteArray unitBytes = ToCodePage(unit.text());
    unitBytes.append(QByteArray(4 - unitBytes.size(), '\0'));
    w.units.emplace_back(u, unitBytes);
    return w;
  }

  void expectWindowShowsTheDevice(int cycle) {
    for (const std::string& difference : test::WindowDifferences(core_, device_.image())) fail(cycle, difference);
  }

  void expectDeviceHolds(int cycle, const Written& w) {
    const sim::DeviceImage& image = device_.image();
    for (const auto& [address, value] : w.registers) {
      if (image.reg(address) != value) fail(cycle, "register " + std::to_string(address) + " not written");
    }
    for (const auto& [first, bytes] : w.textBlocks) {
      if (image.textBytes(first) != bytes) fail(cycle, "text block " + std::to_string(first) + " not written");
    }
    for (const auto& [u, bytes] : w.units) {
      const QByteArray block = image.textBytes(static_cast<std::uint16_t>(0x400 + 10 * (u / 3)));
      if (block.mid(4 * (u % 3), 4) != bytes) fail(cycle, "unit " + std::to_string(u) + " not written");
    }
    for (const auto& [coil, on] : w.coils) {
      if (image.coil(coil) != on) fail(cycle, "coil " + std::to_string(coil) + " not written");
    }
  }

  SoakSettings settings_;
  VirtualScheduler clock_;
  sim::SimulatedDevice device_;
  sim::SimulatedSerialPort simulated_;
  SoakPort port_;
  test::RecordingMessageBoxes messages_;
  ConfigCore core_;
  std::mt19937_64 random_;
  SoakCounts counts_;
  bool budgetRanOut_ = false;
  int cycleFaults_ = 0;
  int traceCycle_ = -1;
  bool traceOn_ = false;
};

}  // namespace

std::string SoakCounts::summary() const {
  std::ostringstream out;
  out << cycles << " cycles (" << readOuts << " read-outs, " << writeBacks << " write-backs, " << silentCycles
      << " silent): " << succeeded << " ended with success, " << failed << " did not; " << faulted
      << " hit by faults, " << faultedSucceeded << " of them ended with success; " << faultsInjected
      << " faults injected (";
  bool first = true;
  for (const auto& [kind, n] : faultsByKind) {
    out << (first ? "" : ", ") << kind << ' ' << n;
    first = false;
  }
  out << "), " << retransmissions << " retransmissions; " << virtualMs / 1000 << " s on the virtual clock; "
      << failures.size() << " failures";
  return out.str();
}

SoakSettings FaultyLine(sim::LineMode mode, int cycles, std::uint64_t seed, std::uint64_t faultSeed,
                        int silentEvery, int lateMs) {
  SoakSettings s;
  s.mode = mode;
  s.cycles = cycles;
  s.seed = seed;
  s.silentEvery = silentEvery;
  s.faults.seed = faultSeed;
  s.faults.dropRate = 0.02;
  s.faults.corruptRate = 0.02;
  s.faults.lateRate = 0.02;
  s.faults.lateMs = lateMs;
  s.faults.wrongAddressRate = 0.01;
  s.faults.strayRate = 0.01;
  s.faults.collisionRate = 0.01;
  s.faults.splitRate = 0.05;
  return s;
}

SoakCounts RunFaultSoak(const SoakSettings& settings) { return Soak(settings).run(); }

}  // namespace rbx14::soak
