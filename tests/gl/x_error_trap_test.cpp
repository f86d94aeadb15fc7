// X errors stay with the thread whose connection caused them: the window thread and the
// render thread each talk over their own connection at the same time.
#include <gtest/gtest.h>
// clang-format off
#include "linux/x11_display.h"
// clang-format on

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

  // An error on the render thread's connection while the window thread's trap is open is
  // not the window thread's; its own errors it does see.
  XErrorTrap trap(windowConnection);
  std::thread([&] {
    XMapWindow(renderConnection, kNoSuchWindow);
    XSync(renderConnection, False);
  }).join();
  XMapWindow(windowConnection, DefaultRootWindow(windowConnection));
  EXPECT_EQ(trap.Finish(), 0);
  EXPECT_TRUE(ReadWindowAttributes(windowConnection, DefaultRootWindow(windowConnection)));
  EXPECT_FALSE(ReadWindowAttributes(windowConnection, kNoSuchWindow));
  driftglass::CloseDisplay(windowConnection);
  driftglass::CloseDisplay(renderConnection);
}

}  // namespace
}  // namespace driftglass
