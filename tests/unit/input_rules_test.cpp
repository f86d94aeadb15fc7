// Which input ends the saver.
#include <gtest/gtest.h>

#include "host/saver_input.h"

namespace driftglass {
namespace {

TEST(SaverInputRules, PointerMustTravelMoreThanFourPixels) {
  SaverInputRules rules(false, {100, 100}, 255);
  EXPECT_FALSE(rules.OnPointerMoved({102, 102}));  // 4 pixels: keeps running
  EXPECT_FALSE(rules.OnPointerMoved({98, 98}));
  EXPECT_TRUE(rules.OnPointerMoved({103, 102}));  // 5 pixels
  EXPECT_EQ(rules.MouseReference().x, 103);
  EXPECT_EQ(rules.MouseReference().y, 102);

  // Small moves add up because the reference stays where it was.
  SaverInputRules drifting(false, {0, 0}, 255);
  EXPECT_FALSE(drifting.OnPointerMoved({1, 0}));
  EXPECT_FALSE(drifting.OnPointerMoved({2, 1}));
  EXPECT_FALSE(drifting.OnPointerMoved({3, 1}));
  EXPECT_TRUE(drifting.OnPointerMoved({3, 2}));
}

TEST(SaverInputRules, PressesLostActivationAndTheMonitorGoingDownClose) {
  SaverInputRules rules(false, {0, 0}, 255);
  EXPECT_TRUE(rules.OnPress());
  EXPECT_TRUE(rules.OnActivation(false));
  EXPECT_FALSE(rules.OnActivation(true));
  EXPECT_TRUE(rules.OnPower(3));
  EXPECT_FALSE(rules.OnPower(1));
  using Action = SystemCommandAction;
  // Another saver may not start over this one, nor the window switch; the monitor powering
  // down closes it. The low four bits are the system's own.
  EXPECT_EQ(rules.OnSystemCommand(0xF140), Action::Swallow);  // SC_SCREENSAVE
  EXPECT_EQ(rules.OnSystemCommand(0xF143), Action::Swallow);
  EXPECT_EQ(rules.OnSystemCommand(0xF040), Action::Swallow);         // SC_NEXTWINDOW
  EXPECT_EQ(rules.OnSystemCommand(0xF050), Action::Swallow);         // SC_PREVWINDOW
  EXPECT_EQ(rules.OnSystemCommand(0xF170), Action::CloseAndPassOn);  // SC_MONITORPOWER
  EXPECT_EQ(rules.OnSystemCommand(0xF060), Action::PassOn);          // SC_CLOSE
  EXPECT_EQ(SaverInputRules(true, {0, 0}, 255).OnSystemCommand(0xF140), Action::PassOn);
}

TEST(SaverInputRules, PreviewAndClosingIgnoreEverything) {
  SaverInputRules preview(true, {0, 0}, 255);
  EXPECT_FALSE(preview.OnPress());
  EXPECT_FALSE(preview.OnPointerMoved({500, 500}));
  EXPECT_FALSE(preview.OnActivation(false));
  EXPECT_FALSE(preview.OnPowerBroadcast(4, 0, 1));

  SaverInputRules closing(false, {0, 0}, 255);
  closing.SetClosing();
  EXPECT_FALSE(closing.OnPress());
  EXPECT_FALSE(closing.OnPointerMoved({500, 500}));
}

TEST(SaverInputRules, PowerBroadcasts) {
  SaverInputRules rules(false, {0, 0}, 1);
  for (uint32_t event : {0u, 1u, 2u, 3u, 4u, 5u, 11u, 99u})
    EXPECT_TRUE(rules.OnPowerBroadcast(event, 0, 1));
  for (uint32_t event : {6u, 7u, 8u, 18u}) {
    EXPECT_TRUE(rules.OnPowerBroadcast(event, 0, 1));
    EXPECT_FALSE(rules.OnPowerBroadcast(event, 1, 1));  // resume after a failure
  }
  EXPECT_FALSE(rules.OnPowerBroadcast(10, 0, 1));  // AC status unchanged
  EXPECT_TRUE(rules.OnPowerBroadcast(10, 0, 0));   // unplugged
  EXPECT_FALSE(rules.OnPowerBroadcast(10, 0, 0));
}

}  // namespace
}  // namespace driftglass

namespace driftglass {
namespace {

using Decision = PasswordCloseGate::Decision;

TEST(PasswordCloseGate, AsksOnceAndDropsRequestsRightAfterARejection) {
  PasswordCloseGate gate;
  // No password set up: the saver may close at once.
  EXPECT_EQ(gate.Request(false, false, false, 1000), Decision::Allow);
  // With one, the first request asks.
  EXPECT_EQ(gate.Request(false, false, true, 1000), Decision::Verify);
  // A request while the dialog is up, or once closing was granted, is refused.
  EXPECT_EQ(gate.Request(true, false, true, 1000), Decision::Refuse);
  EXPECT_EQ(gate.Request(false, true, true, 1000), Decision::Refuse);
  // A wrong password at 5000: requests within 200 ms are dropped, later ones ask again.
  gate.Checked(5000);
  EXPECT_EQ(gate.Request(false, false, true, 5100), Decision::Refuse);
  EXPECT_EQ(gate.Request(false, false, true, 5199), Decision::Refuse);
  EXPECT_EQ(gate.Request(false, false, true, 5200), Decision::Verify);
  // Across the tick counter's wrap the interval is still measured correctly.
  gate.Checked(0xFFFFFFF0u);
  EXPECT_EQ(gate.Request(false, false, true, 0x00000010u), Decision::Refuse);
  EXPECT_EQ(gate.Request(false, false, true, 0x000000C8u), Decision::Verify);
}

}  // namespace
}  // namespace driftglass
