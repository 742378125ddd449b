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
      : throttle_([this](Box box) { log_.push_back("hold " + Name(box)); },
                  [this](Box box) { log_.push_back("draw " + Name(box)); },
                  [this] { return now_; }) {}

  static std::string Name(Box box) { return box == Box::Text4 ? "Text4" : "Text5"; }
  void Advance(milliseconds by) { now_ += by; }

  Clock::time_point now_ = Clock::time_point() + std::chrono::hours(1);
  std::vector<std::string> log_;
  RepaintThrottle throttle_;
};

TEST_F(RepaintThrottleTest, DrawsAtOnceOncePerFrameAndHoldsTheRest) {
  throttle_.Request(Box::Text5);
  throttle_.Request(Box::Text5);
  throttle_.Request(Box::Text5);
  Advance(milliseconds(15));
  throttle_.Request(Box::Text5);
  Advance(milliseconds(1));
  throttle_.Request(Box::Text5);
  EXPECT_EQ(log_, (std::vector<std::string>{"draw Text5", "hold Text5", "draw Text5"}));
}

TEST_F(RepaintThrottleTest, EachBoxHasItsOwnFrame) {
  throttle_.Request(Box::Text5);
  throttle_.Request(Box::Text4);
  throttle_.Request(Box::Text4);
  EXPECT_EQ(log_, (std::vector<std::string>{"draw Text5", "draw Text4", "hold Text4"}));
}

TEST_F(RepaintThrottleTest, AHeldBoxIsDrawnByTheNextRequestThatFindsItDue) {
  throttle_.Request(Box::Text4);
  throttle_.Request(Box::Text4);
  throttle_.Request(Box::Text5);
  Advance(milliseconds(16));
  throttle_.Request(Box::Text5);
  EXPECT_EQ(log_, (std::vector<std::string>{"draw Text4", "hold Text4", "draw Text5", "draw Text5",
                                            "draw Text4"}));
}

TEST_F(RepaintThrottleTest, AHeldBoxIsDrawnDuringAYieldOnceDue) {
  throttle_.Request(Box::Text5);
  throttle_.Request(Box::Text5);
  Advance(milliseconds(16));
  // No more requests come; the window's event handling draws it.
  QTRY_COMPARE_WITH_TIMEOUT(log_.size(), 3U, 5000);
  EXPECT_EQ(log_.back(), "draw Text5");
}

TEST_F(RepaintThrottleTest, DrawAllLeavesNothingHeld) {
  throttle_.Request(Box::Text4);
  throttle_.Request(Box::Text4);
  throttle_.Request(Box::Text5);
  throttle_.Request(Box::Text5);
  throttle_.DrawAll();
  EXPECT_EQ(log_, (std::vector<std::string>{"draw Text4", "hold Text4", "draw Text5", "hold Text5",
                                            "draw Text4", "draw Text5"}));
  throttle_.DrawAll();
  EXPECT_EQ(log_.size(), 6U);
}

}  // namespace
}  // namespace quorel
