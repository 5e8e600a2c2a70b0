#include "numbers/messages.h"

#include <gtest/gtest.h>

#include "platform/scripted_messenger.h"

namespace qz {
namespace {

TEST(ShowMessage, CaptionBlankLineBodyAndSound) {
  ScriptedMessenger m;
  ShowMessage(m, kCaptionError, 218, {}, MessageStyle::Error);
  ASSERT_EQ(m.boxes().size(), 1u);
  EXPECT_EQ(m.lastTextUtf8(), "ERREUR\n\nImpossible de créer le dossier %s.");
  ASSERT_EQ(m.sounds().size(), 1u);
  EXPECT_EQ(m.sounds()[0], BeepKind::Error);
}

TEST(ShowMessage, BeepOffIsSilent) {
  ScriptedMessenger m;
  m.setBeepEnabled(false);
  ShowMessage(m, kCaptionError, 0, "Valeur incorrecte !", MessageStyle::Error);
  EXPECT_EQ(m.boxes().size(), 1u);
  EXPECT_TRUE(m.sounds().empty());
}

TEST(ShowMessage, AttentionSoundsInformationOthersNothing) {
  ScriptedMessenger m;
  ShowMessage(m, kCaptionAttention, 0, "x", MessageStyle::YesNo);
  ShowMessage(m, kCaptionCheck, 0, "y", MessageStyle::Information);
  ShowMessage(m, 0, 0, "z", MessageStyle::Information);
  ASSERT_EQ(m.sounds().size(), 1u);
  EXPECT_EQ(m.sounds()[0], BeepKind::Information);
  EXPECT_EQ(m.boxes().back().text, "z") << "no caption: the body alone";
}

TEST(Confirm, ProceedsOnlyOnYes) {
  ScriptedMessenger m;
  m.answerNext(MessageAnswer::No);
  EXPECT_FALSE(Confirm(m, 0, "Effacer ?"));
  m.answerNext(MessageAnswer::Yes);
  EXPECT_TRUE(Confirm(m, 0, "Effacer ?"));
  EXPECT_EQ(m.boxes().back().style, MessageStyle::YesNo);
}

TEST(LoadMessageText, ReplacesTheFirstAt) {
  EXPECT_EQ(replaceFirstAt("a @ b @", "X"), "a X b @");
  EXPECT_EQ(replaceFirstAt("no marker", "X"), "no marker");
  EXPECT_EQ(LoadMessageText(7001), "HAUTEURS");
}

TEST(ShowValueMessage, FormatsTheValueWithThreeDigitExponent) {
  ScriptedMessenger m;
  m.setBeepEnabled(false);
  // "Valeur maximale = %g !"
  ShowValueMessage(m, 6, 1e20);
  EXPECT_NE(m.lastTextUtf8().find("1e+020"), std::string::npos) << m.lastTextUtf8();
  EXPECT_EQ(m.boxes().back().style, MessageStyle::Warning);
}

}  // namespace
}  // namespace qz
