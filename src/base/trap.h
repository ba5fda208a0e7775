#pragma once
// The error trap of an event handler. Inside a handler a run-time error (a
// text that is no number, a malformed hex pair, an index that does not
// exist) is thrown as RuntimeError and ends the handler at its recovery
// step; Trap makes sure nothing ever leaves an event, so no bad byte, file
// or text can end the program.

#include <QLoggingCategory>

#include <exception>
#include <stdexcept>
#include <utility>

namespace rbx14 {

Q_DECLARE_LOGGING_CATEGORY(lcTrap)

class RuntimeError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Runs body; on any exception runs recover and returns false.
template <class Body, class Recover>
bool Trap(const char* where, Body&& body, Recover&& recover) {
  try {
    std::forward<Body>(body)();
    return true;
  } catch (const std::exception& e) {
    qCDebug(lcTrap) << where << "ended at its trap:" << e.what();
  } catch (...) {
    qCDebug(lcTrap) << where << "ended at its trap";
  }
  try {
    std::forward<Recover>(recover)();
  } catch (...) {
    // The recovery steps only reset plain values; nothing to do here.
  }
  return false;
}

template <class Body>
bool Trap(const char* where, Body&& body) {
  return Trap(where, std::forward<Body>(body), [] {});
}

}  // namespace rbx14
