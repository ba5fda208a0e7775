// Field entry: arbitrary keys, pasted texts, cursor moves, arrows, held
// arrows and list choices into every txt_data_* field the window has, then
// leaving the field. Checked after every step:
// - nothing throws out of an event (an exception ends the run);
// - no field holds more characters than its maximum;
// - a configuration field left by the typist is not empty, and a number in
//   it lies within -255..255;
// - an arrow step up ends at or below the arrows' Max, a step down at or
//   above their Min;
// - a field the user changed is red exactly when it differs from the
//   device's value, and the write button is enabled exactly while
//   something is red.
//
// Input: separator choice, then steps of [field array][index][action][...].

#include "session/config_core.h"
#include "base/numbers.h"
#include "fuzz_input.h"
#include "link/virtual_scheduler.h"
#include "model/change_tracking.h"
#include "support/fake_serial_port.h"

#include <set>
#include <utility>

namespace rbx14::fuzz {
namespace {

constexpr int kBackspace = 8;
constexpr int kEnter = 13;
constexpr int kDelete = 127;

// A line edit as the view has it: a cursor, keys through the model's
// filter, the text handed to the model after each edit.
class LineEdit {
 public:
  explicit LineEdit(TextBox& box) : box_(box) {}

  void key(int code) {
    const int result = box_.filterKey(code);
    QString text = box_.text();
    cursor_ = std::min<qsizetype>(cursor_, text.size());
    if (result == 0 || result == kEnter) return;
    if (result == kBackspace) {
      if (cursor_ == 0) return;
      text.remove(--cursor_, 1);
    } else if (result == kDelete) {
      if (cursor_ >= text.size()) return;
      text.remove(cursor_, 1);
    } else {
      if (box_.maxLength() > 0 && text.size() >= box_.maxLength()) return;  // the edit refuses
      text.insert(cursor_++, QChar(static_cast<char16_t>(result)));
    }
    box_.setText(text);
  }
  void moveCursor(int to) { cursor_ = std::clamp<qsizetype>(to, 0, box_.text().size()); }
  void paste(const QString& text) {
    box_.setText(text);
    cursor_ = box_.text().size();
  }

 private:
  TextBox& box_;
  qsizetype cursor_ = 0;
};

struct Target {
  ControlArray<TextBox>* fields;
  bool config;  // txt_data_cfg: key classes, correction, arrows, lists
};

class Session {
 public:
  explicit Session(bool pointSeparator) : core_(clock_, port_, messages_) {
    core_.Main();
    if (pointSeparator) core_.globals.sDecimalSep = QStringLiteral(".");
    FrmConfig& f = core_.form;
    targets_ = {{&f.txt_data_cfg, true}, {&f.txt_data_cfg_txt, false}, {&f.txt_data_cfg_unit, false},
                {&f.txt_data_in, false}, {&f.txt_data_out, false}};
  }

  void step(FuzzInput& in) {
    Target& target = targets_[in.byte() % targets_.size()];
    const std::vector<int> indices = target.fields->indices();
    if (indices.empty()) return;
    const int index = indices[in.byte() % indices.size()];
    TextBox& box = (*target.fields)[index];
    LineEdit& edit = editFor(box);
    const QString before = box.text();
    // An exception leaving an event ends the run: libFuzzer keeps the input.
    act(in.byte() % 8, in, target, index, box, edit);
    if (box.text() != before) touched_.insert({target.fields, index});
    checkAll();
  }

 private:
  LineEdit& editFor(TextBox& box) {
    auto it = edits_.find(&box);
    if (it == edits_.end()) it = edits_.emplace(&box, LineEdit(box)).first;
    return it->second;
  }

  std::optional<double> number(const TextBox& box) const {
    return ParseDecimal(box.text(), core_.globals.decimalSep());
  }

  void act(int action, FuzzInput& in, Target& target, int index, TextBox& box, LineEdit& edit) {
    FrmConfig& form = core_.form;
    UpDown* arrows = target.config ? form.UpD_txt_cfg.find(index) : nullptr;
    switch (action) {
      case 0:
      case 1: {
        // A key: mostly the keyboard's characters, sometimes any code.
        const std::uint8_t code = in.byte();
        edit.key(code == 0xFF ? in.word() : code);
        break;
      }
      case 2:
        edit.paste(QString::fromLatin1(in.bytes(in.byte() % 24)));
        break;
      case 3:
        edit.moveCursor(in.byte());
        break;
      case 4:
        box.lostFocus();
        if (target.config) {
          RBX14_FUZZ_CHECK(!box.text().isEmpty(), "a field left empty");
          if (const auto value = number(box)) {
            RBX14_FUZZ_CHECK(*value >= -255 && *value <= 255, "a left field beyond -255..255");
          }
        }
        break;
      case 5:
        if (arrows == nullptr) break;
        if (in.byte() & 1) {
          arrows->upClick();
          if (const auto value = number(box)) RBX14_FUZZ_CHECK(*value <= arrows->max(), "a step beyond Max");
        } else {
          arrows->downClick();
          if (const auto value = number(box)) RBX14_FUZZ_CHECK(*value >= arrows->min(), "a step below Min");
        }
        break;
      case 6: {
        if (arrows == nullptr) break;
        // Held for a while on one arrow, then released.
        const double y = in.byte() / 255.0 * 20.0;
        const int heldMs = in.byte() * 8;
        arrows->mouseDown(PointerAt{5, y, 16, 20});
        const bool up = form.bRepeatUp;
        clock_.advance(heldMs);
        arrows->mouseUp(PointerAt{5, y, 16, 20});
        if (heldMs >= 200) {
          if (const auto value = number(box)) {
            RBX14_FUZZ_CHECK(up ? *value <= arrows->max() : *value >= arrows->min(),
                             "a held arrow beyond its limit");
          }
        }
        break;
      }
      case 7:
        if (ComboBox* list = target.config ? form.cmb_cfg.find(index) : nullptr) {
          list->setListIndex(static_cast<int>(in.byte() % (list->listCount() + 1)) - 1);
        }
        break;
    }
  }

  void checkAll() {
    const FrmConfig& form = core_.form;
    for (const Target& target : targets_) {
      for (int i : target.fields->indices()) {
        const TextBox& box = (*target.fields)[i];
        RBX14_FUZZ_CHECK(box.maxLength() == 0 || box.text().size() <= box.maxLength(),
                         "a field holds more than its maximum");
      }
    }
    for (const auto& [fields, index] : touched_) {
      const TextBox& box = (*fields)[index];
      bool differs = false;
      if (fields == &form.txt_data_cfg) {
        const auto value = number(box);
        differs = !value || *value != form.dCfgRegValue[index];
      } else if (fields == &form.txt_data_cfg_txt) {
        differs = box.text() != form.sCfgTextValue[index];
      } else if (fields == &form.txt_data_cfg_unit) {
        differs = box.text() != form.sCfgUnitValue[index];
      } else {
        continue;  // marked by their own editors
      }
      RBX14_FUZZ_CHECK((box.foreColor() == colors::kRed) == differs, "changed mark differs from the value");
    }
    RBX14_FUZZ_CHECK(form.set_parameter.enabled() == AnyFieldMarked(form),
                     "write button does not follow the changed marks");
  }

  VirtualScheduler clock_;
  test::FakeSerialPort port_;
  test::RecordingMessageBoxes messages_;
  ConfigCore core_;
  std::vector<Target> targets_;
  std::map<TextBox*, LineEdit> edits_;
  std::set<std::pair<ControlArray<TextBox>*, int>> touched_;
};

void Run(FuzzInput& in) {
  Session session((in.byte() & 1) != 0);
  while (!in.empty()) session.step(in);
}

}  // namespace
}  // namespace rbx14::fuzz

RBX14_FUZZ_TARGET(rbx14::fuzz::Run)
