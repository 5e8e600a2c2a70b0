#include "app/memory_commands.h"

#include <gtest/gtest.h>

#include "platform/scripted_messenger.h"

namespace qz {
namespace {

TEST(MemoryCommands, CopyAndAddNeedARealText) {
  MemoryBank m{};
  EXPECT_TRUE(copyToMemory(m, 3, "12.5"));
  EXPECT_EQ(m[3], 12.5);
  EXPECT_FALSE(copyToMemory(m, 3, "12.5 m"));
  EXPECT_FALSE(copyToMemory(m, 3, ""));
  EXPECT_FALSE(copyToMemory(m, 3, "nan"));
  EXPECT_EQ(m[3], 12.5);
  EXPECT_TRUE(addToMemory(m, 3, "-2.5"));
  EXPECT_EQ(m[3], 10.0);
  m[4] = 1.7e308;
  EXPECT_FALSE(addToMemory(m, 4, "1.7E+308")) << "an infinite sum is refused";
  EXPECT_EQ(m[4], 1.7e308);
  EXPECT_FALSE(copyToMemory(m, 10, "1"));
}

TEST(MemoryCommands, UseClearAndClearAll) {
  MemoryBank m{};
  m[1] = 1.0 / 3.0;
  m[2] = 1.5e15;
  EXPECT_EQ(memoryText(m, 1), "0.333333333333");
  EXPECT_EQ(memoryText(m, 2), "1.5E+015");
  clearMemory(m, 1);
  EXPECT_EQ(m[1], 0.0);
  ScriptedMessenger messenger;
  messenger.answerNext(MessageAnswer::No);
  EXPECT_FALSE(clearAllMemories(m, messenger));
  EXPECT_EQ(m[2], 1.5e15);
  messenger.answerNext(MessageAnswer::Yes);
  EXPECT_TRUE(clearAllMemories(m, messenger));
  EXPECT_EQ(m[2], 0.0);
  EXPECT_EQ(messenger.lastTextUtf8(), "ATTENTION\n\nToutes les mémoires vont être ré-initialisées !\n\nContinuer ?");
}

TEST(MemoryCommands, MenuLabels) {
  EXPECT_EQ(memoryMenuLabel("M&3", 12.5), "M&3   [12.5]");
  EXPECT_EQ(memoryMenuLabel("M&3   [12.5]", 0), "M&3   [0]");
  EXPECT_EQ(memoryMenuLabel("M&0", 1.0 / 3.0), "M&0   [0.33333333333333]");
  EXPECT_EQ(memoryMenuLabel("M&9", -2e-20), "M&9   [-2E-020]");
}

}  // namespace
}  // namespace qz
