#include "link/virtual_scheduler.h"

#include <algorithm>

namespace rbx14 {

class VirtualTimer final : public TickTimer {
 public:
  VirtualTimer(VirtualScheduler& owner, std::string name, int intervalMs)
      : TickTimer(std::move(name)), owner_(&owner), interval_(intervalMs) {}
  ~VirtualTimer() override {
    if (owner_ != nullptr) owner_->forget(this);
  }

  void setInterval(int ms) override {
    interval_ = ms;
    if (enabled_) owner_->arm(*this);
  }
  int interval() const override { return interval_; }

  void setEnabled(bool enabled) override {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    if (enabled_) owner_->arm(*this);
  }
  bool enabled() const override { return enabled_; }

  void tickSoon() override {
    if (running()) owner_->armNow(*this);
  }

  bool running() const { return enabled_ && interval_ > 0; }

  void tick() { fire(); }

  VirtualScheduler* owner_;
  int interval_;
  bool enabled_ = false;
  std::int64_t due_ = 0;
  std::uint64_t armOrder_ = 0;
};

VirtualScheduler::~VirtualScheduler() {
  for (VirtualTimer* t : timers_) t->owner_ = nullptr;
}

std::unique_ptr<TickTimer> VirtualScheduler::createTimer(std::string name, int intervalMs) {
  auto t = std::make_unique<VirtualTimer>(*this, std::move(name), intervalMs);
  timers_.push_back(t.get());
  return t;
}

void VirtualScheduler::arm(VirtualTimer& t) {
  t.due_ = now_ + t.interval_;
  t.armOrder_ = ++armCounter_;
}

void VirtualScheduler::armNow(VirtualTimer& t) {
  t.due_ = now_;
  t.armOrder_ = ++armCounter_;
}

void VirtualScheduler::forget(VirtualTimer* t) {
  timers_.erase(std::remove(timers_.begin(), timers_.end(), t), timers_.end());
}

VirtualTimer* VirtualScheduler::earliestDue(std::int64_t limit) const {
  VirtualTimer* best = nullptr;
  for (VirtualTimer* t : timers_) {
    if (!t->running() || t->due_ > limit) continue;
    if (best == nullptr || t->due_ < best->due_ ||
        (t->due_ == best->due_ && t->armOrder_ < best->armOrder_)) {
      best = t;
    }
  }
  return best;
}

void VirtualScheduler::advance(std::int64_t ms) {
  const std::int64_t target = now_ + std::max<std::int64_t>(ms, 0);
  while (VirtualTimer* t = earliestDue(target)) {
    now_ = std::max(now_, t->due_);
    arm(*t);  // the next countdown starts with this tick
    ++ticksFired_;
    t->tick();
  }
  now_ = target;
}

bool VirtualScheduler::advanceUntil(const std::function<bool()>& done, std::int64_t maxMs,
                                    std::int64_t stepMs) {
  const std::int64_t end = now_ + maxMs;
  while (!done()) {
    if (now_ >= end) return false;
    advance(std::min(stepMs, end - now_));
  }
  return true;
}

std::int64_t VirtualScheduler::nextDue() const {
  std::int64_t best = -1;
  for (const VirtualTimer* t : timers_) {
    if (t->running() && (best < 0 || t->due_ < best)) best = t->due_;
  }
  return best;
}

}  // namespace rbx14
