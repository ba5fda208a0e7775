#pragma once
// A port for scenario tests: records every frame written, lets the test put
// bytes into the receive buffer, and can be told to refuse opening.

#include "link/serial_port.h"
#include "files/file_dialogs.h"
#include "shell/document_opener.h"
#include "support/qt_printers.h"
#include "base/message_box.h"

#include <QStringList>

#include <functional>
#include <vector>

namespace rbx14::test {

class FakeSerialPort final : public SerialPort {
 public:
  int commPort() const override { return commPort_; }
  int setCommPort(int port) override;
  QString settings() const override { return settings_; }
  int setSettings(const QString& settings) override;
  bool portOpen() const override { return open_; }
  int setPortOpen(bool open) override;
  void setInputMode(InputMode mode) override { inputMode = mode; }
  int output(const QByteArray& frame) override;
  int inBufferCount() override { return static_cast<int>(rx_.size()); }
  QByteArray input() override;

  // Bytes as if they had arrived from the line.
  void receive(const QByteArray& bytes);
  // Bytes in the driver's buffer that the port has not told of yet.
  void receiveUntold(const QByteArray& bytes) { rx_ += bytes; }
  // The adapter is pulled out: the port reports its failure (it stays
  // "open" until the link closes it, as a real one does).
  void failUnderneath(int errorNumber = port_error::kHardwareNotAvailable) {
    notifyFailure(errorNumber);
  }

  std::vector<QByteArray> written;  // every frame, in order
  // Runs after each frame is written (a test's stand-in for a device).
  std::function<void(const QByteArray&)> onOutput;
  InputMode inputMode = InputMode::Text;
  // Error number that the next opens return (0: they succeed).
  int openError = 0;
  // Port numbers that exist; an open of any other fails with 8002.
  int highestPort = 40;

 private:
  int commPort_ = 1;
  QString settings_ = QStringLiteral("9600,N,8,1");
  bool open_ = false;
  QByteArray rx_;
};

class RecordingMessageBoxes final : public MessageBoxes {
 public:
  void information(const QString& text) override { shown << text; }
  QStringList shown;
};

class RecordingOpener final : public DocumentOpener {
 public:
  bool open(const QString& target) override {
    opened << target;
    return succeed;
  }
  QStringList opened;
  bool succeed = false;
};

// Answers the file dialogs with the names a test puts in; an empty name, or
// none left, is a cancel.
class ScriptedFileDialogs final : public FileDialogs {
 public:
  std::optional<QString> openFile(const QString& start, const QString&) override {
    starts << start;
    return next(openAnswers);
  }
  std::optional<QString> saveFile(const QString& start, const QString&) override {
    starts << start;
    return next(saveAnswers);
  }
  QStringList openAnswers;
  QStringList saveAnswers;
  QStringList starts;  // the file name each dialog started with

 private:
  static std::optional<QString> next(QStringList& answers) {
    if (answers.isEmpty()) return std::nullopt;
    const QString answer = answers.takeFirst();
    if (answer.isEmpty()) return std::nullopt;
    return answer;
  }
};

}  // namespace rbx14::test
