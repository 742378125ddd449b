// SPDX-License-Identifier: GPL-3.0-or-later
// The Escape key as the X server reports it, driven by real X key events from xdotool, with no
// window of this program at all: the state counts whatever window has the focus.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "ui/x11_escape_key.h"

namespace quorel {
namespace {

void Xdotool(const std::string& arguments) {
  ASSERT_EQ(std::system(("xdotool " + arguments).c_str()), 0) << arguments;
}

// Polls until the key reads `down`, for at most five seconds: the server's events reach the
// socket a moment after xdotool has returned.
bool BecomesDown(EscapeKey& escape, bool down) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (std::chrono::steady_clock::now() < deadline) {
    if (escape.IsDown() == down) {
      return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return false;
}

class X11EscapeKeyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::getenv("DISPLAY") == nullptr) {
      GTEST_SKIP() << "no X display; tests/ui/with-xvfb provides one";
    }
    escape_ = ConnectX11EscapeKey();
    ASSERT_NE(escape_, nullptr);
  }
  void TearDown() override {
    // Best effort: keys left held would disturb the next test, whatever xdotool answers.
    const int released = std::system("xdotool keyup Escape keyup a >/dev/null 2>&1");
    static_cast<void>(released);
  }

  std::unique_ptr<EscapeKey> escape_;
};

TEST_F(X11EscapeKeyTest, HeldEscapeIsDownUntilReleased) {
  EXPECT_FALSE(escape_->IsDown());
  Xdotool("keydown Escape");
  EXPECT_TRUE(BecomesDown(*escape_, true));
  // It stays down for as long as it is held, poll after poll.
  for (int poll = 0; poll < 100; ++poll) {
    ASSERT_TRUE(escape_->IsDown());
  }
  Xdotool("keyup Escape");
  EXPECT_TRUE(BecomesDown(*escape_, false));
}

TEST_F(X11EscapeKeyTest, OtherKeysAndAPressReleasedBeforeThePollAreNotEscape) {
  Xdotool("keydown a");
  Xdotool("key Escape");  // pressed and released between two polls
  // Let both events arrive, then ask.
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_FALSE(escape_->IsDown());
  Xdotool("keyup a");
}

TEST_F(X11EscapeKeyTest, AnIgnoredHeldPressCountsAgainOnlyAfterARelease) {
  Xdotool("keydown Escape");
  ASSERT_TRUE(BecomesDown(*escape_, true));
  escape_->IgnoreHeldPress();
  EXPECT_FALSE(escape_->IsDown());
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_FALSE(escape_->IsDown());
  // Released and pressed again between two polls: the new press counts.
  Xdotool("keyup Escape");
  Xdotool("keydown Escape");
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_TRUE(escape_->IsDown());
  Xdotool("keyup Escape");
  EXPECT_TRUE(BecomesDown(*escape_, false));
  // Ignoring while nothing is held leaves the next press alone.
  escape_->IgnoreHeldPress();
  Xdotool("keydown Escape");
  EXPECT_TRUE(BecomesDown(*escape_, true));
  Xdotool("keyup Escape");
}

TEST_F(X11EscapeKeyTest, EscapeHeldBeforeTheConnectionIsSeenAtTheFirstPoll) {
  Xdotool("keydown Escape");
  // A fresh connection reads the server's key state when it opens.
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  const std::unique_ptr<EscapeKey> late = ConnectX11EscapeKey();
  ASSERT_NE(late, nullptr);
  EXPECT_TRUE(late->IsDown());
  Xdotool("keyup Escape");
  EXPECT_TRUE(BecomesDown(*late, false));
}

}  // namespace
}  // namespace quorel
