#pragma once
#include <xcb/shm.h>
#include <xcb/xcb.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gdi/gdi_types.h"

namespace fluxo {

// Sends a frame's pixels to an X window through a strip of shared memory
// the X server copies from. The process then holds no image of the window's
// size, and each piece goes from the conversion to the server while it is
// still in the processor's cache. The pieces are packed side by side into
// the strip, which is reused once the server has copied it.
class XShmPresenter {
 public:
  static constexpr int kDefaultStripRows = 256;

  // Null where the window's display cannot take it: no shared memory with
  // descriptor passing, or a visual other than 24-bit RGB in 32-bit words
  // of this processor's byte order. `owner` is the connection the window
  // was made on; the presenter talks to the display on a connection of its
  // own, so its waits for the server wake nobody else. `stripRows` sets the
  // strip's height.
  static std::unique_ptr<XShmPresenter> Create(xcb_connection_t* owner, xcb_window_t window,
                                               int stripRows = kDefaultStripRows);
  ~XShmPresenter();
  XShmPresenter(const XShmPresenter&) = delete;
  XShmPresenter& operator=(const XShmPresenter&) = delete;

  // Converts the pixels of `rects` in a frame `width` x `height` through
  // `colours` and sends them to the same place of the window; what lies
  // outside the frame is left out. False when the strip could not be made,
  // with nothing sent.
  bool Present(const uint8_t* pixels, int width, int height, const std::vector<gdi::Rect>& rects,
               const uint32_t (&colours)[gdi::kSystemPaletteSize]);
  // Paints `rects` of the window black: the picture before the first frame.
  void Blacken(const std::vector<gdi::Rect>& rects);

 private:
  XShmPresenter(xcb_connection_t* connection, xcb_window_t window, uint8_t depth, int stripRows);
  bool MakeStrip(int width);
  size_t StripBytes(int width) const { return static_cast<size_t>(width) * stripRows_ * sizeof(uint32_t); }
  void FreeStrip();
  // Where a piece of `width` x `rows` goes in the strip, after waiting for
  // the server when the strip is full.
  void Place(int width, int rows, int& x, int& y);
  // Returns once the server has done every request sent so far: the strip is free again.
  void WaitForServer();

  xcb_connection_t* connection_;
  xcb_window_t window_;
  uint8_t depth_;
  int stripRows_;
  xcb_gcontext_t gc_ = 0;
  xcb_shm_seg_t segment_ = 0;
  uint32_t* strip_ = nullptr;
  int stripWidth_ = 0;
  // The shelf being filled: pieces go left to right, shelves top to bottom.
  int shelfTop_ = 0;
  int shelfRows_ = 0;
  int shelfX_ = 0;
};

}  // namespace fluxo
