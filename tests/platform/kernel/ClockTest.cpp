#include <gtest/gtest.h>

#include "platform/clock.h"
#include "platform/kernel.h"

namespace {

TEST(Clock, VirtualTimeMovesOnlyWhenTold) {
  platform::ScopedVirtualClock clock(1000);
  EXPECT_EQ(GetTickCount(), 1000u);
  EXPECT_EQ(GetTickCount(), 1000u);
  clock.advance(250);
  EXPECT_EQ(GetTickCount(), 1250u);
  Sleep(10);  // a sleep moves virtual time instead of blocking
  EXPECT_EQ(GetTickCount64(), 1260u);
}

TEST(Clock, TickCountWrapsAt32Bits) {
  platform::ScopedVirtualClock clock(0xFFFFFFFFull);
  clock.advance(2);
  EXPECT_EQ(GetTickCount(), 1u);
  EXPECT_EQ(GetTickCount64(), 0x100000001ull);
}

TEST(Clock, ListenersHearTimeMove) {
  platform::ScopedVirtualClock clock;
  int heard = 0;
  int id = platform::AddClockListener([&] { ++heard; });
  clock.advance(5);
  Sleep(1);
  platform::RemoveClockListener(id);
  clock.advance(5);
  EXPECT_EQ(heard, 2);
}

}  // namespace
