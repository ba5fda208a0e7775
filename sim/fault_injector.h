#pragma once
// Line faults for reliability tests, decided per answer by a generator
// seeded once: the same seed and the same requests give the same faults on
// every run and every machine.

#include <cstdint>
#include <vector>

namespace rbx14::sim {

struct FaultSettings {
  std::uint64_t seed = 1;
  // Chance per answer, 0..1.
  double dropRate = 0.0;
  double corruptRate = 0.0;
  double lateRate = 0.0;
  double wrongAddressRate = 0.0;
  double splitRate = 0.0;
  double collisionRate = 0.0;  // a second device answers at the same time
  double strayRate = 0.0;      // a stray byte goes ahead of the answer (the line turning round)
  int lateMs = 1500;     // added to the response delay of a late answer
  int silentAfter = -1;  // answers given before the device falls silent; -1 never
  int splitGapMs = 60;   // pause between the chunks of a split answer

  bool any() const {
    return dropRate > 0 || corruptRate > 0 || lateRate > 0 || wrongAddressRate > 0 ||
           splitRate > 0 || collisionRate > 0 || strayRate > 0 || silentAfter >= 0;
  }
};

// What happens to one answer.
struct FaultPlan {
  bool drop = false;
  int corruptIndex = -1;          // byte of the frame to damage, -1 none
  std::uint8_t corruptMask = 0;   // bits flipped there (never 0)
  int extraDelayMs = 0;
  bool wrongAddress = false;      // answer as another slave
  bool collision = false;         // another slave answers over this one
  bool stray = false;             // a stray byte before the answer
  std::vector<int> chunkEnds;     // split after these byte counts, ascending

  bool operator==(const FaultPlan&) const = default;
};

class FaultInjector {
 public:
  explicit FaultInjector(FaultSettings settings);

  // The plan for the next answer, a frame of `frameLength` bytes.
  FaultPlan next(int frameLength);

  const FaultSettings& settings() const { return settings_; }

 private:
  std::uint64_t draw();
  bool chance(double rate);
  int below(int bound);

  FaultSettings settings_;
  std::uint64_t state_;
  int answered_ = 0;
};

}  // namespace rbx14::sim
