#include "app/calculator_host.h"

#include <gtest/gtest.h>

#include "platform/scripted_messenger.h"

namespace qz {
namespace {

TEST(ConfirmCancel, AsksOnlyWhenTheSectionChanged) {
  ScriptedMessenger messenger;
  messenger.setBeepEnabled(false);
  EXPECT_TRUE(ConfirmCancel(messenger, std::string("n=2"), std::string("n=2")));
  EXPECT_TRUE(ConfirmCancel(messenger, std::nullopt, std::nullopt));
  EXPECT_TRUE(messenger.boxes().empty()) << "nothing to lose, nothing asked";

  messenger.answerNext(MessageAnswer::No);
  EXPECT_FALSE(ConfirmCancel(messenger, std::string("n=2"), std::string("n=3")));
  ASSERT_EQ(messenger.boxes().size(), 1u);
  EXPECT_EQ(messenger.boxes()[0].style, MessageStyle::YesNo);
  EXPECT_EQ(messenger.lastTextUtf8(),
            "ATTENTION\n\nLes modifications faites dans cette calculette\ndepuis son ouverture vont être "
            "perdues !\n\nConfirmation ?");
  messenger.answerNext(MessageAnswer::Yes);
  EXPECT_TRUE(ConfirmCancel(messenger, std::nullopt, std::string("n=1")));
}

using Action = CalculatorHost::Action;

TEST(CalculatorHost, OpensWhatIsAskedOnce) {
  CalculatorHost host;
  EXPECT_EQ(host.tick(-1).action, Action::None);
  auto step = host.tick(2);
  EXPECT_EQ(step.action, Action::OpenCalculator);
  EXPECT_EQ(step.calculator, 2);
  EXPECT_TRUE(host.windowRunning());
  EXPECT_EQ(host.tick(3).action, Action::None) << "one window at a time";
}

TEST(CalculatorHost, SwitchQuitAndReturnToStartPage) {
  CalculatorHost host;
  host.tick(0);
  // The standard window switches to the scientific one.
  EXPECT_EQ(host.windowClosed(1).action, Action::None);
  auto step = host.tick(1);
  EXPECT_EQ(step.action, Action::OpenCalculator);
  EXPECT_EQ(step.calculator, 1);
  // Back to the start page, then the same calculator again.
  host.windowClosed(-1);
  EXPECT_EQ(host.tick(-1).action, Action::None);
  EXPECT_EQ(host.tick(1).action, Action::OpenCalculator);
  // "Quitter QZ" from a calculator.
  EXPECT_EQ(host.windowClosed(-100).action, Action::Quit);
}

TEST(CalculatorHost, QuitZoneAndCancel) {
  CalculatorHost host;
  EXPECT_EQ(host.tick(5).action, Action::Quit);
  CalculatorHost other;
  other.tick(4);
  int current = 4;
  other.windowCancelled(current);
  EXPECT_EQ(current, -1);
  EXPECT_FALSE(other.windowRunning());
  EXPECT_EQ(other.tick(4).action, Action::OpenCalculator) << "a cancelled calculator opens again";
}

}  // namespace
}  // namespace qz
