#include "app/launcher.h"

#include <gtest/gtest.h>

#include "numbers/cp1252.h"

namespace qz {
namespace {

TEST(Launcher, HoverFollowsTheMouse) {
  Launcher l;
  EXPECT_EQ(l.mouseMove({100, 50}), 1u << 0);
  EXPECT_TRUE(l.hovered(0));
  EXPECT_EQ(l.mouseMove({101, 51}), 0u) << "no change, no redraw";
  EXPECT_EQ(l.mouseMove({200, 320}), (1u << 0) | (1u << 5));
  EXPECT_TRUE(l.hovered(5));
  EXPECT_EQ(l.mouseMove({5, 5}), 1u << 5);
  EXPECT_EQ(l.mouseMove({344, 50}), 0u) << "right edge is outside";
}

TEST(Launcher, PressAndReleaseSelectTheZone) {
  Launcher l;
  int current = 3;
  l.buttonDown({120, 100}, current);
  EXPECT_EQ(current, -1);
  EXPECT_TRUE(l.pressed(1));
  EXPECT_EQ(l.buttonUp({120, 100}, current), 1u << 1);
  EXPECT_EQ(current, 1);
  EXPECT_FALSE(l.pressed(1));
  // Released outside every zone: the start page stays.
  l.buttonDown({120, 100}, current);
  l.buttonUp({10, 10}, current);
  EXPECT_EQ(current, -1);
  // The quit zone.
  l.buttonDown({250, 320}, current);
  l.buttonUp({250, 320}, current);
  EXPECT_EQ(current, 5);
}

TEST(CalcTitle, NameAndDocument) {
  EXPECT_EQ(cp1252ToUtf8(CalcTitle(false, -1, "")), "  KELDORAN - QZ");
  EXPECT_EQ(cp1252ToUtf8(CalcTitle(true, 4, "")), "  KELDORAN - QZ : CONVERSION D'UNITÉ");
  EXPECT_EQ(cp1252ToUtf8(CalcTitle(true, 4, "/home/u/Notes/essai.qz")),
            "  KELDORAN - QZ : CONVERSION D'UNITÉ - ESSAI.QZ");
  EXPECT_EQ(cp1252ToUtf8(CalcTitle(true, 3, "C:\\Notes\\été.qz")), "  KELDORAN - QZ : CALCULETTE GEOMÉTRIQUE - ÉTÉ.QZ");
  EXPECT_EQ(cp1252ToUtf8(CalcTitle(true, -1, "")), "  KELDORAN - QZ");
}

TEST(VersionText, SuffixByThirdNumber) {
  EXPECT_EQ(versionText(2, 1, 0), "2.1\xDF");
  EXPECT_EQ(versionText(2, 1, 1), "2.1");
  EXPECT_EQ(versionText(2, 1, 2), "2.1b");
  EXPECT_EQ(versionLine("2.1", "2004"), "Version 2.1 - 2004");
}

}  // namespace
}  // namespace qz
