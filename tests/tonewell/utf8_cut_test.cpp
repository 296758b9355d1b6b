#include "tonewell/utf8_cut.h"

#include <gtest/gtest.h>

namespace fluxo::tonewell {
namespace {

TEST(CutUtf8, ShortTextIsKept) {
  EXPECT_EQ(CutUtf8("Björk", 63), "Björk");
  EXPECT_EQ(CutUtf8("", 63), "");
  EXPECT_EQ(CutUtf8(std::string(63, 'a'), 63), std::string(63, 'a'));
  EXPECT_EQ(CutUtf8(std::string(64, 'a'), 63), std::string(63, 'a'));
}

TEST(CutUtf8, NeverSplitsACharacter) {
  // 62 ASCII bytes, then a two-byte "é": it would end at byte 64.
  const std::string twoByte = std::string(62, 'a') + "\xC3\xA9" + "z";
  EXPECT_EQ(CutUtf8(twoByte, 63), std::string(62, 'a'));
  EXPECT_EQ(CutUtf8(twoByte, 64), std::string(62, 'a') + "\xC3\xA9");
  // Three-byte characters (CJK): 21 fit exactly into 63 bytes, 21 of 22.
  std::string cjk;
  for (int i = 0; i < 22; ++i) cjk += "\xE6\x97\xA5";  // 日
  EXPECT_EQ(CutUtf8(cjk, 63).size(), 63u);
  EXPECT_EQ(CutUtf8(cjk, 62).size(), 60u);
  // A four-byte emoji straddling the limit goes as a whole.
  const std::string emoji = std::string(61, 'a') + "\xF0\x9F\x8E\xB5";
  EXPECT_EQ(CutUtf8(emoji, 63), std::string(61, 'a'));
  EXPECT_EQ(CutUtf8(emoji, 65), emoji);
}

TEST(CutUtf8, BrokenSequencesCountByteByByte) {
  // A lead byte without its continuation, a stray continuation byte and an
  // overlong lead: each is one unit, nothing is dropped before the limit.
  const std::string broken = std::string("a\xC3") + "b\x80" + "\xC0\xAF" + "\xFF";
  EXPECT_EQ(CutUtf8(broken, 63), broken);
  EXPECT_EQ(CutUtf8(broken, 3), std::string("a\xC3") + "b");
  // A truncated three-byte sequence at the end of the text.
  EXPECT_EQ(CutUtf8("ab\xE6\x97", 63), "ab\xE6\x97");
}

}  // namespace
}  // namespace fluxo::tonewell
