#include "internal/PendingPlacements.h"

#include <gtest/gtest.h>

namespace {

using platform::internal::PendingPlacements;

constexpr RECT kA{0, 0, 100, 100};
constexpr RECT kB{0, 0, 120, 110};
constexpr RECT kC{0, 0, 140, 120};
constexpr RECT kMine{50, 50, 90, 90};

TEST(PendingPlacements, AnInteractiveResizeIsNotSentBack) {
  PendingPlacements pending;
  pending.reported(kA);
  pending.reported(kB);
  pending.reported(kC);
  // The platform applies them in turn: each was the desktop's.
  EXPECT_TRUE(pending.consume(kA));
  EXPECT_TRUE(pending.consume(kB));
  EXPECT_TRUE(pending.consume(kC));
  EXPECT_TRUE(pending.empty());
}

TEST(PendingPlacements, OvertakenReportsAreDropped) {
  PendingPlacements pending;
  pending.reported(kA);
  pending.reported(kB);
  pending.reported(kC);
  EXPECT_TRUE(pending.consume(kB));
  EXPECT_FALSE(pending.empty());  // kC is still to come
  EXPECT_FALSE(pending.consume(kA));
}

TEST(PendingPlacements, ThePlatformsOwnPlacementOverridesThePending) {
  PendingPlacements pending;
  pending.reported(kA);
  pending.reported(kB);
  EXPECT_FALSE(pending.consume(kMine));
  EXPECT_TRUE(pending.empty());
  // The desktop's later application of kB is sent to the desktop again.
  EXPECT_FALSE(pending.consume(kB));
}

TEST(PendingPlacements, RepeatsAreKeptOnceAndTheListIsBounded) {
  PendingPlacements pending;
  pending.reported(kA);
  pending.reported(kA);
  EXPECT_TRUE(pending.consume(kA));
  EXPECT_TRUE(pending.empty());
  for (LONG i = 0; i < static_cast<LONG>(PendingPlacements::kLimit) + 4; ++i)
    pending.reported(RECT{0, 0, 10 + i, 10});
  EXPECT_FALSE(pending.consume(RECT{0, 0, 10, 10}));  // the oldest fell out
}

}  // namespace
