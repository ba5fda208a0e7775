#include "link/qt_scheduler.h"

#include <QTimer>

namespace rbx14 {
namespace {

class QtTickTimer final : public TickTimer {
 public:
  QtTickTimer(std::string name, int intervalMs) : TickTimer(std::move(name)), interval_(intervalMs) {
    // Millisecond intervals of 10 ms matter on the link: no coarse slack.
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      // The early tick is followed by the ordinary countdown.
      if (soon_) restart();
      fire();
    });
  }

  void setInterval(int ms) override {
    interval_ = ms;
    if (enabled_) restart();
  }
  int interval() const override { return interval_; }

  void setEnabled(bool enabled) override {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    if (enabled_) {
      restart();
    } else {
      timer_.stop();
    }
  }
  bool enabled() const override { return enabled_; }

  void tickSoon() override {
    if (!enabled_ || interval_ <= 0) return;
    timer_.stop();
    soon_ = true;
    timer_.start(0);
  }

 private:
  void restart() {
    soon_ = false;
    timer_.stop();
    // An interval of 0 stops the timer; QTimer would otherwise fire at every
    // pass of the event loop.
    if (interval_ > 0) timer_.start(interval_);
  }

  QTimer timer_;
  int interval_;
  bool enabled_ = false;
  bool soon_ = false;  // the next timeout is the early tick
};

}  // namespace

QtScheduler::QtScheduler() { clock_.start(); }

std::unique_ptr<TickTimer> QtScheduler::createTimer(std::string name, int intervalMs) {
  return std::make_unique<QtTickTimer>(std::move(name), intervalMs);
}

}  // namespace rbx14
