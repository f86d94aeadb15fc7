// X errors stay with the thread whose connection caused them: the window thread and the
// render thread each talk over their own connection at the same time.
#include <gtest/gtest.h>
// clang-format off
#include "linux/x11_display.h"
// clang-format on

#include <future>
#include <thread>

namespace driftglass {
namespace {

// A window id that no client has made.
constexpr Window kNoSuchWindow = 0x3FFFFFFF;

TEST(XErrorTrap, AnErrorOnOneThreadsConnectionIsNotTakenByAnother) {
  Display* renderConnection = OpenDisplay();
  Display* windowConnection = OpenDisplay();
  ASSERT_NE(renderConnection, nullptr) << "the GL tests need an X display";
  ASSERT_NE(windowConnection, nullptr);

  std::promise<void> failed, checked;
  std::future<void> checkedSeen = checked.get_future();
  std::thread render([&] {
    XErrorTrap trap(renderConnection);
    XMapWindow(renderConnection, kNoSuchWindow);
    XSync(renderConnection, False);  // the error has arrived on this thread
    failed.set_value();
    checkedSeen.wait();
    EXPECT_EQ(trap.Finish(), BadWindow);
  });

  // Meanwhile the window thread traps its own, faultless requests.
  failed.get_future().wait();
  XErrorTrap trap(windowConnection);
  EXPECT_TRUE(ReadWindowAttributes(windowConnection, DefaultRootWindow(windowConnection)));
  XMapWindow(windowConnection, DefaultRootWindow(windowConnection));
  EXPECT_EQ(trap.Finish(), 0);
  EXPECT_FALSE(ReadWindowAttributes(windowConnection, kNoSuchWindow));
  checked.set_value();
  render.join();

  driftglass::CloseDisplay(windowConnection);
  driftglass::CloseDisplay(renderConnection);
}

}  // namespace
}  // namespace driftglass
