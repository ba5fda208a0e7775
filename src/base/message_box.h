#pragma once
// Message boxes with an OK button, behind an interface: the window shows a
// real box, tests and the command line answer it themselves.

#include <QString>

namespace rbx14 {

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // Shows text with an OK button and returns when the user has read it.
  virtual void information(const QString& text) = 0;
};

}  // namespace rbx14
