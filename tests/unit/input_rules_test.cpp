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

// Whether each input closes a running saver, a preview, and a saver already closing.
TEST(SaverInputRules, WhatClosesASaverAndNeverAPreviewOrOneAlreadyClosing) {
  using Rules = SaverInputRules;
  const struct {
    const char* input;
    bool (*closes)(Rules&);
    bool saver;
  } inputs[] = {
      // clang-format off
      {"a press", [](Rules& r) { return r.OnPress(); }, true},
      {"five pixels", [](Rules& r) { return r.OnPointerMoved({5, 0}); }, true},
      {"focus lost", [](Rules& r) { return r.OnActivation(false); }, true},
      {"focus gained", [](Rules& r) { return r.OnActivation(true); }, false},
      {"suspend request", [](Rules& r) { return r.OnPower(3); }, true},
      {"other power request", [](Rules& r) { return r.OnPower(1); }, false},
      {"power broadcasts", [](Rules& r) {
         for (uint32_t event : {0u, 1u, 2u, 3u, 4u, 5u, 11u, 99u, 6u, 7u, 8u, 18u}) {
           if (!r.OnPowerBroadcast(event, 0, 1)) return false;
         }
         return true;
       }, true},
      {"resume after a failure", [](Rules& r) {
         for (uint32_t event : {6u, 7u, 8u, 18u}) {
           if (r.OnPowerBroadcast(event, 1, 1)) return true;
         }
         return false;
       }, false},
      {"AC status unchanged", [](Rules& r) { return r.OnPowerBroadcast(10, 0, 1); }, false},
      {"unplugged, once", [](Rules& r) {
         return r.OnPowerBroadcast(10, 0, 0) && !r.OnPowerBroadcast(10, 0, 0);
       }, true},
      // clang-format on
  };
  for (const auto& input : inputs) {
    Rules saver(false, {0, 0}, 1), preview(true, {0, 0}, 1), closing(false, {0, 0}, 1);
    closing.SetClosing();
    EXPECT_EQ(input.closes(saver), input.saver) << input.input;
    EXPECT_FALSE(input.closes(preview)) << input.input;
    EXPECT_FALSE(input.closes(closing)) << input.input;
  }
  // Another saver may not start over this one, nor the window switch; the monitor powering
  // down closes it. The low four bits are the system's own. A preview passes all on.
  using Action = SystemCommandAction;
  const std::pair<uint32_t, Action> commands[] = {
      {0xF140, Action::Swallow},        {0xF143, Action::Swallow},  // SC_SCREENSAVE
      {0xF040, Action::Swallow},        {0xF050, Action::Swallow},  // SC_NEXT/PREVWINDOW
      {0xF170, Action::CloseAndPassOn},                             // SC_MONITORPOWER
      {0xF060, Action::PassOn}};                                    // SC_CLOSE
  for (const auto& [command, action] : commands) {
    EXPECT_EQ(Rules(false, {0, 0}, 255).OnSystemCommand(command), action) << command;
    EXPECT_EQ(Rules(true, {0, 0}, 255).OnSystemCommand(command), Action::PassOn) << command;
  }
}

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
