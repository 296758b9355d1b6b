#include "platform/registry/text_encoding.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/registry/key_names.h"

namespace fluxo::reg {
namespace {

TEST(TextEncodingTest, Utf16RoundTripsEveryPlaneIncludingPairs) {
  const std::string text = std::string("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x8E\xB5", 10) + std::string("\0z", 2);  // a é € 🎵 \0 z
  const std::string wide = text::ToUtf16Le(text);
  EXPECT_EQ(wide, std::string("a\0\xE9\0\xAC\x20\x3C\xD8\xB5\xDF\0\0z\0", 14));
  EXPECT_EQ(text::FromUtf16Le(wide), text);
}

TEST(TextEncodingTest, BrokenInputBecomesReplacementCharacters) {
  // A lone high surrogate, then a lone low one, then an odd last byte.
  EXPECT_EQ(text::FromUtf16Le(std::string("\x3C\xD8" "A\0" "\xB5\xDF" "B", 7)), "\xEF\xBF\xBD" "A\xEF\xBF\xBD");
  // Latin-1, an overlong slash, a UTF-8 surrogate, a cut sequence.
  EXPECT_EQ(text::ToUtf16Le("\xE9"), "\xFD\xFF");
  EXPECT_EQ(text::ToUtf16Le("\xC0\xAF"), "\xFD\xFF\xFD\xFF");
  EXPECT_EQ(text::ToUtf16Le("\xED\xA0\x80"), "\xFD\xFF\xFD\xFF\xFD\xFF");
  EXPECT_EQ(text::ToUtf16Le("\xE2\x82"), "\xFD\xFF\xFD\xFF");
}

TEST(TextEncodingTest, CharactersAreCountedNotBytes) {
  EXPECT_EQ(text::CharacterCount(""), 0u);
  EXPECT_EQ(text::CharacterCount("abc"), 3u);
  EXPECT_EQ(text::CharacterCount("\xC3\xA4\xE2\x82\xAC\xF0\x9F\x8E\xB5"), 3u);
  EXPECT_EQ(text::CharacterCount("\xE9\xE8x"), 3u) << "each odd byte is one";
}

TEST(TextEncodingTest, MarksDecideTheEncodingOfAFile) {
  EXPECT_EQ(text::ToUtf8(std::string("\xFF\xFEO\0K\0", 6)), "OK");
  EXPECT_EQ(text::ToUtf8("\xEF\xBB\xBFOK"), "OK");
  EXPECT_EQ(text::ToUtf8("O\xE9K"), "O\xE9K");
}

TEST(NameFoldingTest, LettersOfEveryScriptFoldToUpperCase) {
  EXPECT_EQ(names::Fold("saved"), "SAVED");
  EXPECT_EQ(names::Fold("\xC3\xA4\xC3\xB6\xC3\xBC\xC3\xBF"), "\xC3\x84\xC3\x96\xC3\x9C\xC5\xB8");  // äöüÿ
  EXPECT_EQ(names::Fold("\xCF\x83\xCF\x82"), "\xCE\xA3\xCE\xA3");                          // σς
  EXPECT_EQ(names::Fold("\xD0\xB6\xD5\xA1"), "\xD0\x96\xD4\xB1");                          // ж, Armenian ayb
  EXPECT_EQ(names::Fold("\xC7\x86"), "\xC7\x84");                                          // dž digraph
  EXPECT_EQ(names::Fold("\xF0\x90\x90\xA8"), "\xF0\x90\x90\x80");                          // Deseret, beyond 16 bits
  EXPECT_EQ(names::Fold("\xC3\x9F\xE6\x97\xA5"), "\xC3\x9F\xE6\x97\xA5") << "ß and 日 have no single upper case";
  EXPECT_EQ(names::Fold("caf\xE9"), "CAF\xE9") << "an odd byte stays";
}

TEST(NameLimitTest, FaultsNameTheLimitThatWasPassed) {
  EXPECT_EQ(names::KeyPathFault("a\\b"), nullptr);
  EXPECT_STREQ(names::KeyPathFault("a\\b", 511), "key path deeper than 512 levels");
  EXPECT_EQ(names::KeyPathFault("a\\b", 510), nullptr);
  EXPECT_STREQ(names::KeyPathFault("a\\line\nbreak"), "key name holds a line break or a zero");
  EXPECT_STREQ(names::KeyPathFault(std::string(256, 'k')), "key name longer than 255 characters");
  EXPECT_STREQ(names::ValueNameFault(std::string("a\0b", 3)), "value name holds a line break or a zero");
  EXPECT_EQ(names::ValueNameFault(""), nullptr);
}

}  // namespace
}  // namespace fluxo::reg
