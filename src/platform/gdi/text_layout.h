#pragma once
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace fluxo::gdi {

struct TextLine {
  size_t begin = 0;  // code point range of the text
  size_t end = 0;
  int width = 0;
};

// Breaks text into lines as the platform's DrawText does for the flags
// (kTextSingleLine, kTextWordBreak): lines end at line feeds (CR, LF or
// CR LF) unless single-line; with word breaks, lines also break at spaces
// before they grow wider than maxWidth, and a word wider than a whole line is
// split between characters. Spaces at a word-wrapped line end are dropped.
std::vector<TextLine> LayoutText(std::u32string_view text, uint32_t flags, int maxWidth,
                                 const std::function<int(char32_t)>& advance);

}  // namespace fluxo::gdi
