// SPDX-License-Identifier: GPL-3.0-or-later
// The redraw throttle, on a clock the test moves by hand.
#include "ui/repaint_throttle.h"

#include <gtest/gtest.h>

#include <QTest>
#include <vector>

namespace quorel {
namespace {

using Clock = RepaintThrottle::Clock;
using std::chrono::milliseconds;

class RepaintThrottleTest : public ::testing::Test {
 protected:
  RepaintThrottleTest()
      : throttle_([this](Box box) { drawn_.push_back(box); }, [this] { return now_; }) {}

  void Advance(milliseconds by) { now_ += by; }

  Clock::time_point now_ = Clock::time_point() + std::chrono::hours(1);
  std::vector<Box> drawn_;
  RepaintThrottle throttle_;
};

TEST_F(RepaintThrottleTest, DrawsAtOnceOncePerFrameAndHoldsTheRest) {
  throttle_.Request(Box::Text5);
  throttle_.Request(Box::Text5);
  throttle_.Request(Box::Text5);
  Advance(milliseconds(15));
  throttle_.Request(Box::Text5);
  EXPECT_EQ(drawn_, (std::vector<Box>{Box::Text5}));
  EXPECT_TRUE(throttle_.IsHeld(Box::Text5));
  Advance(milliseconds(1));
  throttle_.Request(Box::Text5);
  EXPECT_EQ(drawn_, (std::vector<Box>{Box::Text5, Box::Text5}));
  EXPECT_FALSE(throttle_.IsHeld(Box::Text5));
}

TEST_F(RepaintThrottleTest, EachBoxHasItsOwnFrame) {
  throttle_.Request(Box::Text5);
  throttle_.Request(Box::Text4);
  throttle_.Request(Box::Text4);
  EXPECT_EQ(drawn_, (std::vector<Box>{Box::Text5, Box::Text4}));
  EXPECT_TRUE(throttle_.IsHeld(Box::Text4));
  EXPECT_FALSE(throttle_.IsHeld(Box::Text5));
}

TEST_F(RepaintThrottleTest, AHeldBoxIsDrawnByTheNextRequestThatFindsItDue) {
  throttle_.Request(Box::Text4);
  throttle_.Request(Box::Text4);
  throttle_.Request(Box::Text5);
  Advance(milliseconds(16));
  throttle_.Request(Box::Text5);
  EXPECT_EQ(drawn_, (std::vector<Box>{Box::Text4, Box::Text5, Box::Text5, Box::Text4}));
  EXPECT_FALSE(throttle_.IsHeld(Box::Text4));
}

TEST_F(RepaintThrottleTest, DeferHoldsAWriteWithinAFrameOnly) {
  EXPECT_FALSE(throttle_.Defer(Box::Text5));  // never drawn: write and draw at once
  throttle_.Request(Box::Text5);
  EXPECT_TRUE(throttle_.Defer(Box::Text5));
  EXPECT_TRUE(throttle_.IsHeld(Box::Text5));
  Advance(milliseconds(16));
  // Still held until drawn, so the write waits with the others.
  EXPECT_TRUE(throttle_.Defer(Box::Text5));
  throttle_.Request(Box::Text5);
  EXPECT_EQ(drawn_.size(), 2U);
  Advance(milliseconds(16));
  EXPECT_FALSE(throttle_.Defer(Box::Text5));
}

TEST_F(RepaintThrottleTest, AHeldBoxIsDrawnDuringAYieldOnceDue) {
  throttle_.Request(Box::Text5);
  throttle_.Request(Box::Text5);
  Advance(milliseconds(16));
  // No more requests come; the window's event handling draws it.
  QTRY_COMPARE_WITH_TIMEOUT(drawn_.size(), 2U, 5000);
  EXPECT_FALSE(throttle_.IsHeld(Box::Text5));
}

TEST_F(RepaintThrottleTest, DrawAllLeavesNothingHeld) {
  throttle_.Request(Box::Text4);
  throttle_.Request(Box::Text4);
  throttle_.Request(Box::Text5);
  EXPECT_TRUE(throttle_.Defer(Box::Text5));
  throttle_.DrawAll();
  EXPECT_EQ(drawn_, (std::vector<Box>{Box::Text4, Box::Text5, Box::Text4, Box::Text5}));
  throttle_.DrawAll();
  EXPECT_EQ(drawn_.size(), 4U);
}

}  // namespace
}  // namespace quorel
