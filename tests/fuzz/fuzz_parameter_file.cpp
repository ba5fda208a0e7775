// Parameter files: arbitrary bytes as a file, through both loaders. First
// the command line's strict check, as `rbx14-cli write` runs it before a
// batch (on a port that cannot open, so an accepted file ends there), then
// the window's File menu load, twice. Checked:
// - the reader gives at most one entry per line of the file, each the
//   line's own bytes (cut at its limit, CR LF gone), never a byte of the
//   next line;
// - a file the strict check refuses changes nothing: exit status 2, one
//   message naming the file and a line within the file's length (or the
//   line after it), no frame, no message box, every field, bit and list as
//   before;
// - a file it accepts gets no further than the port;
// - a file the window's load refuses changes nothing and says so in one
//   message; a file it takes gets every one of its values, numbers outside
//   their field limited as leaving the field limits them;
// - after a load no field holds more than its maximum, registers 0 and 1
//   are the device's, every list index lies within its list, every check
//   box holds 0, 1 or 2, a field without a usable line keeps its text, a
//   changed field is red exactly when it differs from the device, and the
//   write button follows the marks;
// - loading the same file again changes nothing; nothing throws.
//
// Input: one byte of choices (bit 0: "." as decimal separator, bit 1:
// English), then the file's bytes.

#include "cli/cli_run.h"
#include "base/codepage.h"
#include "session/config_core.h"
#include "base/numbers.h"
#include "files/file_menu.h"
#include "files/parameter_check.h"
#include "files/parameter_file.h"
#include "fuzz_input.h"
#include "link/virtual_scheduler.h"
#include "model/change_tracking.h"
#include "model/field_entry.h"
#include "model/register_fields.h"
#include "support/fake_serial_port.h"

#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <exception>
#include <memory>
#include <optional>
#include <vector>

namespace rbx14::fuzz {
namespace {

using file_layout::Block;
// QIODevice::readLine(4096) takes at most 4095 bytes of a line.
constexpr qsizetype kLineLimit = 4095;

QTemporaryDir* folder = nullptr;

// The lines as the reader must give them, split here independently: at LF,
// the part after the last LF only when it is not empty, each cut to the
// limit and stripped of trailing CR.
// A file whose high bytes (in the lines read) all form UTF-8 is UTF-8.
QStringList ExpectedLines(const QByteArray& bytes) {
  QList<QByteArray> raw = bytes.split('\n');
  if (!raw.isEmpty() && raw.last().isEmpty()) raw.removeLast();
  QList<QByteArray> cut;
  for (const QByteArray& whole : raw) {
    if (cut.size() == kParameterFileLines + 1) break;
    QByteArray line = whole.left(kLineLimit);
    while (line.endsWith('\r')) line.chop(1);
    cut << line;
  }
  const QByteArray all = cut.join('\n');
  bool high = false;
  for (char c : all) high = high || static_cast<unsigned char>(c) >= 0x80;
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  const QString decoded = utf8(all);
  const bool isUtf8 = high && !utf8.hasError();
  QStringList lines;
  for (qsizetype n = 0; n < cut.size() && n < kParameterFileLines; ++n) {
    lines << (isUtf8 ? QString::fromUtf8(cut[n]) : FromCodePage(cut[n]));
  }
  return lines;
}

class VirtualWaiter final : public Waiter {
 public:
  explicit VirtualWaiter(VirtualScheduler& clock) : clock_(clock) {}
  bool waitUntil(const std::function<bool()>& done, int timeoutMs) override {
    return clock_.advanceUntil(done, timeoutMs);
  }

 private:
  VirtualScheduler& clock_;
};

// Everything a load may touch.
struct Snapshot {
  std::vector<QString> texts;
  std::vector<int> numbers;  // check box values, list indices, colours, states

  bool operator==(const Snapshot&) const = default;
};

template <class T, class F>
void Each(const ControlArray<T>& controls, F&& f) {
  for (int i : controls.indices()) f(controls[i]);
}

Snapshot Take(const FrmConfig& form) {
  Snapshot s;
  for (const auto* fields : {&form.txt_data_cfg, &form.txt_data_cfg_txt, &form.txt_data_cfg_unit,
                             &form.txt_data_in}) {
    Each(*fields, [&](const TextBox& box) {
      s.texts.push_back(box.text());
      s.numbers.push_back(static_cast<int>(box.foreColor()));
    });
  }
  for (const auto* boxes : {&form.chk_cfg, &form.chk_input}) {
    Each(*boxes, [&](const CheckBox& box) {
      s.numbers.push_back(box.value());
      s.numbers.push_back(static_cast<int>(box.foreColor()));
    });
  }
  for (const auto* lists : {&form.cmb_cfg, &form.cmb_bit_cfg, &form.cmb_in, &form.Combo_Port}) {
    Each(*lists, [&](const ComboBox& list) {
      s.numbers.push_back(list.listIndex());
      s.numbers.push_back(static_cast<int>(list.foreColor()));
    });
  }
  s.numbers.push_back(form.set_parameter.enabled() ? 1 : 0);
  s.texts.push_back(form.txt_Modbus_adress.text());
  return s;
}

class Session {
 public:
  Session(bool pointSeparator, bool english) : core_(clock_, port_, messages_), english_(english) {
    core_.Main();
    if (pointSeparator) core_.globals.sDecimalSep = QStringLiteral(".");
  }

  void run(const QString& path, const QByteArray& bytes) {
    const std::optional<ParameterFileText> text = ReadParameterFileText(path);
    RBX14_FUZZ_CHECK(text.has_value(), "a written file could not be read");
    const QStringList read = text->lines.mid(0, kParameterFileLines);
    RBX14_FUZZ_CHECK(read == ExpectedLines(bytes), "the reader's lines are not the file's lines");
    const bool accepted = strictCheck(path, *text);
    const FrmConfig& form = core_.form;
    const bool windowTakes = !CheckParameterFile(*text, form, core_.globals.decimalSep(),
                                                 OutsideRange::kCorrected);
    RBX14_FUZZ_CHECK(windowTakes || !accepted, "the window refused a file the batch accepts");
    const Snapshot start = Take(form);
    load(path);
    if (windowTakes) {
      checkLoaded(read, start, true);
    } else {
      RBX14_FUZZ_CHECK(Take(form) == start, "a file the window refused changed it");
      RBX14_FUZZ_CHECK(messages_.shown.size() == 1, "a refused load did not say so once");
    }
    messages_.shown.clear();
    const Snapshot once = Take(form);
    load(path);
    RBX14_FUZZ_CHECK(Take(form) == once, "loading the same file again changed the window");
  }

 private:
  bool strictCheck(const QString& path, const ParameterFileText& file) {
    const QStringList& lines = file.lines;
    const std::optional<FileProblem> problem =
        CheckParameterFile(file, core_.form, core_.globals.decimalSep());
    if (problem) {
      RBX14_FUZZ_CHECK(problem->line >= kFirstDataLine || problem->kind == FileProblem::Kind::TooShort,
                       "a header line refused");
      RBX14_FUZZ_CHECK(problem->line >= 1 && problem->line <= kParameterFileLines + 1,
                       "a refused line beyond a parameter file");
      RBX14_FUZZ_CHECK(problem->kind == FileProblem::Kind::TooShort
                           ? problem->line == lines.size() + 1
                           : problem->line <= lines.size(),
                       "the refused line is not where the file is wrong");
    }

    CliOptions options;
    options.command = CliCommand::Write;
    options.port = QStringLiteral("/dev/null");
    options.english = english_;
    options.addresses = {1, 2};
    options.file = path;
    options.quiet = true;
    QStringList errors;
    BatchSink sink{{}, {}, [&errors](const QString& t) { errors << t; }, {}};
    port_.openError = port_error::kHardwareNotAvailable;
    const Snapshot before = Take(core_.form);
    const int status = RunCli(options, 1, core_, waiter_, clock_, sink);
    port_.openError = 0;
    RBX14_FUZZ_CHECK(port_.written.empty(), "a frame went out while checking a file");
    RBX14_FUZZ_CHECK(!core_.globals.bPortOpen, "the port stayed open");
    if (problem) {
      RBX14_FUZZ_CHECK(status == kExitUsage, "a refused file did not end with the usage status");
      RBX14_FUZZ_CHECK(errors.size() == 1 && errors[0].contains(path) &&
                           errors[0].contains(QString::number(problem->line)),
                       "a refused file's message does not name the file and the line");
      RBX14_FUZZ_CHECK(messages_.shown.isEmpty(), "a refused file showed a message box");
      RBX14_FUZZ_CHECK(Take(core_.form) == before, "a refused file changed the window");
    } else {
      RBX14_FUZZ_CHECK(lines.size() == kParameterFileLines, "a file of the wrong length accepted");
      RBX14_FUZZ_CHECK(status == 1, "an accepted file on a dead port did not fail the batch");
    }
    // What follows is the window's own load; the batch's attempt is over.
    messages_.shown.clear();
    return !problem;
  }

  void load(const QString& path) {
    dialogs_.openAnswers = {path};
    try {
      menu_.LoadParameterFile();
    } catch (const std::exception& e) {
      Violated("an exception left the load", e.what());
    } catch (...) {
      Violated("an exception left the load");
    }
  }

  std::optional<double> number(const QString& text) const {
    return ParseDecimal(text, core_.globals.decimalSep());
  }

  // A configuration field took the file's value as leaving the field
  // keeps it: limited to its range and resolution. Register 60 is never
  // loaded.
  bool took(int index, const QString& value, const QString& before) const {
    const TextBox& box = core_.form.txt_data_cfg[index];
    if (!LimitsOfField(index)) return box.text() == before;
    return box.text() == CheckFieldValue(index, value, core_.globals.decimalSep()).corrected;
  }

  void checkTexts(const ControlArray<TextBox>& fields, const Block& block, const QStringList& lines,
                  const Snapshot& start, std::size_t& at, bool accepted) {
    for (int i : fields.indices()) {
      const TextBox& box = fields[i];
      const QString& before = start.texts[at++];
      RBX14_FUZZ_CHECK(box.maxLength() == 0 || box.text().size() <= box.maxLength(),
                       "a field holds more than its maximum");
      const bool config = &fields == &core_.form.txt_data_cfg;
      if (config && (i == cfg_field::kDeviceCoding || i == cfg_field::kFirmwareVersion)) {
        RBX14_FUZZ_CHECK(box.text() == before, "a file changed register 0 or 1");
        continue;
      }
      const int line = block.line(i);
      const std::optional<QString> value =
          i < block.count && line <= lines.size() ? ValueField(lines[line - 1]) : std::nullopt;
      if (!value) {
        RBX14_FUZZ_CHECK(box.text() == before, "a field without a usable line changed");
      } else if (accepted) {
        const bool same = config ? took(i, *value, before)
                              : box.text() == (box.maxLength() > 0 ? value->left(box.maxLength()) : *value);
        if (!same) {
          const QByteArray detail = "line " + QByteArray::number(line) + ": field holds \"" +
                                    box.text().toUtf8() + "\", the file \"" + value->toUtf8() + "\"";
          Violated("an accepted file's value was not taken", detail.constData());
        }
      }
    }
  }

  void checkLoaded(const QStringList& lines, const Snapshot& start, bool accepted) {
    const FrmConfig& form = core_.form;
    std::size_t at = 0;
    checkTexts(form.txt_data_cfg, file_layout::kRegisters, lines, start, at, accepted);
    checkTexts(form.txt_data_cfg_txt, file_layout::kTexts, lines, start, at, accepted);
    checkTexts(form.txt_data_cfg_unit, file_layout::kUnits, lines, start, at, accepted);

    for (int i : form.chk_cfg.indices()) {
      const int value = form.chk_cfg[i].value();
      RBX14_FUZZ_CHECK(value >= 0 && value <= 2, "a check box beyond 0..2");
      const int line = file_layout::kBits.line(i);
      if (accepted && i < file_layout::kBits.count) {
        const int bit = ValueField(lines[line - 1])->trimmed().toInt();
        RBX14_FUZZ_CHECK(value == bit, "an accepted file's bit was not taken");
      }
    }
    for (const auto* lists : {&form.cmb_cfg, &form.cmb_bit_cfg, &form.cmb_in, &form.Combo_Port}) {
      Each(*lists, [](const ComboBox& list) {
        RBX14_FUZZ_CHECK(list.listIndex() >= -1 && list.listIndex() < list.listCount(),
                         "a list index outside its list");
      });
    }

    // Changed marks of the fields whose text the load changed.
    at = 0;
    for (int i : form.txt_data_cfg.indices()) {
      const TextBox& box = form.txt_data_cfg[i];
      if (box.text() != start.texts[at++] && i < file_layout::kRegisters.count) {
        const auto value = number(box.text());
        const bool differs = !value || *value != form.dCfgRegValue[i];
        RBX14_FUZZ_CHECK((box.foreColor() == colors::kRed) == differs,
                         "a field's changed mark differs from its value");
      }
    }
    for (int i : form.txt_data_cfg_txt.indices()) {
      const TextBox& box = form.txt_data_cfg_txt[i];
      if (box.text() != start.texts[at++]) {
        RBX14_FUZZ_CHECK((box.foreColor() == colors::kRed) == (box.text() != form.sCfgTextValue[i]),
                         "a text's changed mark differs from its value");
      }
    }
    for (int i : form.txt_data_cfg_unit.indices()) {
      const TextBox& box = form.txt_data_cfg_unit[i];
      if (box.text() != start.texts[at++]) {
        RBX14_FUZZ_CHECK((box.foreColor() == colors::kRed) == (box.text() != form.sCfgUnitValue[i]),
                         "a unit's changed mark differs from its value");
      }
    }
    RBX14_FUZZ_CHECK(form.set_parameter.enabled() == AnyFieldMarked(form),
                     "write button does not follow the changed marks");
  }

  VirtualScheduler clock_;
  test::FakeSerialPort port_;
  test::RecordingMessageBoxes messages_;
  ConfigCore core_;
  VirtualWaiter waiter_{clock_};
  test::ScriptedFileDialogs dialogs_;
  FileMenu menu_{core_.globals, core_.form, dialogs_, messages_};
  bool english_;
};

}  // namespace
}  // namespace rbx14::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  rbx14::fuzz::IsolateSettings();
  rbx14::fuzz::folder = new QTemporaryDir();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  rbx14::fuzz::FuzzInput in(data, size);
  const std::uint8_t choices = in.byte();
  const QByteArray bytes = in.bytes(size);
  const QString path = rbx14::fuzz::folder->filePath(QStringLiteral("parameters.txt"));
  {
    QFile file(path);
    RBX14_FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "no temporary file");
    RBX14_FUZZ_CHECK(file.write(bytes) == bytes.size(), "temporary file not written");
  }
  rbx14::fuzz::Session session((choices & 1) != 0, (choices & 2) != 0);
  session.run(path, bytes);
  return 0;
}
