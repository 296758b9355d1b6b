#include "platform/gdi/text_layout.h"

#include "platform/gdi/frame_surface.h"

namespace fluxo::gdi {
namespace {

class LineBreaker {
 public:
  LineBreaker(std::u32string_view text, int maxWidth, const std::function<int(char32_t)>& advance,
              std::vector<TextLine>& lines)
      : text_(text), maxWidth_(maxWidth), advance_(advance), lines_(lines) {}

  int Width(size_t begin, size_t end) const {
    int width = 0;
    for (size_t i = begin; i < end; ++i) width += advance_(text_[i]);
    return width;
  }

  void Emit(size_t begin, size_t end) { lines_.push_back({begin, end, Width(begin, end)}); }

  // Greedy word wrap of one paragraph [begin, end).
  void Wrap(size_t begin, size_t end) {
    size_t lineStart = begin, lineEnd = begin;
    size_t i = begin;
    while (i < end) {
      size_t wordStart = i;
      while (wordStart < end && text_[wordStart] == U' ') ++wordStart;
      if (wordStart == end) break;  // only spaces left: they end the line
      size_t wordEnd = wordStart;
      while (wordEnd < end && text_[wordEnd] != U' ') ++wordEnd;
      if (Width(lineStart, wordEnd) <= maxWidth_) {
        lineEnd = i = wordEnd;
        continue;
      }
      if (lineEnd > lineStart) {
        // The word goes on the next line.
        Emit(lineStart, lineEnd);
        lineStart = lineEnd = i = SkipSpaces(lineEnd, end);
        continue;
      }
      // Alone on its line and still too wide: split it between characters,
      // keeping at least one per line.
      size_t cut = wordStart + 1;
      while (cut < wordEnd && Width(lineStart, cut + 1) <= maxWidth_) ++cut;
      Emit(lineStart, cut);
      lineStart = lineEnd = i = cut;
    }
    if (lineEnd > lineStart || lineStart == begin) Emit(lineStart, lineEnd);
  }

  size_t SkipSpaces(size_t i, size_t end) const {
    while (i < end && text_[i] == U' ') ++i;
    return i;
  }

 private:
  std::u32string_view text_;
  int maxWidth_;
  const std::function<int(char32_t)>& advance_;
  std::vector<TextLine>& lines_;
};

}  // namespace

std::vector<TextLine> LayoutText(std::u32string_view text, uint32_t flags, int maxWidth,
                                 const std::function<int(char32_t)>& advance) {
  std::vector<TextLine> lines;
  LineBreaker breaker(text, maxWidth, advance, lines);
  if (flags & kTextSingleLine) {
    breaker.Emit(0, text.size());
    return lines;
  }
  size_t begin = 0;
  while (true) {
    size_t end = begin;
    while (end < text.size() && text[end] != U'\n' && text[end] != U'\r') ++end;
    if (flags & kTextWordBreak) {
      breaker.Wrap(begin, end);
    } else {
      breaker.Emit(begin, end);
    }
    if (end == text.size()) break;
    begin = end + ((text[end] == U'\r' && end + 1 < text.size() && text[end + 1] == U'\n') ? 2 : 1);
  }
  return lines;
}

}  // namespace fluxo::gdi
