#include "host/x_shm_presenter.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cstdlib>

#include "platform/gdi/frame_exchange.h"

namespace fluxo {
namespace {

template <typename Reply>
using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply>
ReplyPtr<Reply> Owned(Reply* reply) {
  return ReplyPtr<Reply>(reply, &std::free);
}

bool HasShmWithDescriptors(xcb_connection_t* c) {
  const xcb_query_extension_reply_t* extension = xcb_get_extension_data(c, &xcb_shm_id);
  if (!extension || !extension->present) return false;
  auto version = Owned(xcb_shm_query_version_reply(c, xcb_shm_query_version(c), nullptr));
  return version && (version->major_version > 1 || (version->major_version == 1 && version->minor_version >= 2));
}

// Our colours are 0xFFRRGGBB words: the server must read them as its pixels.
bool TakesRgbWords(xcb_connection_t* c, xcb_visualid_t visual, uint8_t depth) {
  const xcb_setup_t* setup = xcb_get_setup(c);
  if (setup->image_byte_order != (std::endian::native == std::endian::little ? XCB_IMAGE_ORDER_LSB_FIRST
                                                                             : XCB_IMAGE_ORDER_MSB_FIRST))
    return false;
  bool wordPixels = false;
  for (auto f = xcb_setup_pixmap_formats_iterator(setup); f.rem; xcb_format_next(&f))
    if (f.data->depth == depth) wordPixels = f.data->bits_per_pixel == 32;
  if (!wordPixels || (depth != 24 && depth != 32)) return false;
  for (auto s = xcb_setup_roots_iterator(setup); s.rem; xcb_screen_next(&s))
    for (auto d = xcb_screen_allowed_depths_iterator(s.data); d.rem; xcb_depth_next(&d))
      for (auto v = xcb_depth_visuals_iterator(d.data); v.rem; xcb_visualtype_next(&v))
        if (v.data->visual_id == visual)
          return v.data->_class == XCB_VISUAL_CLASS_TRUE_COLOR && v.data->red_mask == 0xFF0000u &&
                 v.data->green_mask == 0xFF00u && v.data->blue_mask == 0xFFu;
  return false;
}

}  // namespace

std::unique_ptr<XShmPresenter> XShmPresenter::Create(xcb_connection_t* owner, xcb_window_t window, int stripRows) {
  if (!owner || xcb_connection_has_error(owner) || window == 0 || stripRows < 1) return nullptr;
  // The window must exist on the server before another connection names it.
  std::free(xcb_get_input_focus_reply(owner, xcb_get_input_focus(owner), nullptr));
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  auto attributes =
      Owned(xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, window), nullptr));
  auto geometry = Owned(xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr));
  if (xcb_connection_has_error(connection) || !HasShmWithDescriptors(connection) || !attributes || !geometry ||
      !TakesRgbWords(connection, attributes->visual, geometry->depth)) {
    xcb_disconnect(connection);
    return nullptr;
  }
  return std::unique_ptr<XShmPresenter>(new XShmPresenter(connection, window, geometry->depth, stripRows));
}

XShmPresenter::XShmPresenter(xcb_connection_t* connection, xcb_window_t window, uint8_t depth, int stripRows)
    : connection_(connection), window_(window), depth_(depth), stripRows_(stripRows) {
  gc_ = xcb_generate_id(connection_);
  const uint32_t blackWithoutExposures[] = {0, 0};
  xcb_create_gc(connection_, gc_, window_, XCB_GC_FOREGROUND | XCB_GC_GRAPHICS_EXPOSURES, blackWithoutExposures);
}

XShmPresenter::~XShmPresenter() {
  FreeStrip();
  xcb_free_gc(connection_, gc_);
  xcb_disconnect(connection_);
}

void XShmPresenter::Blacken(const std::vector<gdi::Rect>& rects) {
  std::vector<xcb_rectangle_t> boxes;
  for (const gdi::Rect& r : rects)
    if (!r.Empty())
      boxes.push_back({static_cast<int16_t>(r.left), static_cast<int16_t>(r.top), static_cast<uint16_t>(r.Width()),
                       static_cast<uint16_t>(r.Height())});
  xcb_poly_fill_rectangle(connection_, window_, gc_, static_cast<uint32_t>(boxes.size()), boxes.data());
  xcb_flush(connection_);
}

void XShmPresenter::WaitForServer() {
  // A reply comes after every request before it is done, the copies included.
  std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
  // Errors (a window gone meanwhile) queue up as events nobody else reads.
  while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) std::free(event);
  shelfTop_ = shelfRows_ = shelfX_ = 0;
}

void XShmPresenter::Place(int width, int rows, int& x, int& y) {
  if (shelfX_ + width > stripWidth_) {
    shelfTop_ += shelfRows_;
    shelfRows_ = shelfX_ = 0;
  }
  if (shelfTop_ + rows > stripRows_) WaitForServer();
  x = shelfX_;
  y = shelfTop_;
  shelfX_ += width;
  shelfRows_ = std::max(shelfRows_, rows);
}

void XShmPresenter::FreeStrip() {
  if (!strip_) return;
  WaitForServer();
  xcb_shm_detach(connection_, segment_);
  munmap(strip_, StripBytes(stripWidth_));
  strip_ = nullptr;
  stripWidth_ = 0;
}

bool XShmPresenter::MakeStrip(int width) {
  FreeStrip();
  const size_t bytes = StripBytes(width);
  const int fd = memfd_create("fluxo-strip", MFD_CLOEXEC);
  if (fd < 0) return false;
  void* memory = MAP_FAILED;
  if (ftruncate(fd, static_cast<off_t>(bytes)) == 0)
    memory = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  if (memory == MAP_FAILED) {
    close(fd);
    return false;
  }
  const xcb_shm_seg_t segment = xcb_generate_id(connection_);
  // The connection closes the descriptor once it is sent.
  if (auto* error = xcb_request_check(connection_, xcb_shm_attach_fd_checked(connection_, segment, fd, 1))) {
    std::free(error);
    munmap(memory, bytes);
    return false;
  }
  segment_ = segment;
  strip_ = static_cast<uint32_t*>(memory);
  stripWidth_ = width;
  return true;
}

bool XShmPresenter::Present(const uint8_t* pixels, int width, int height, const std::vector<gdi::Rect>& rects,
                            const uint32_t (&colours)[gdi::kSystemPaletteSize]) {
  if (width <= 0 || height <= 0) return true;
  if (width != stripWidth_ && !MakeStrip(width)) return false;
  // Tall pieces are cut into pieces of a tile's height, so pieces of every
  // height pack tightly.
  const int pieceRows = std::min(gdi::ChangedTiles::kTileHeight, stripRows_);
  for (const gdi::Rect& r : rects) {
    const int left = std::max(0, r.left), right = std::min(width, r.right);
    const int top = std::max(0, r.top), bottom = std::min(height, r.bottom);
    for (int y = top; left < right && y < bottom;) {
      const int rows = std::min(pieceRows, bottom - y);
      int x0 = 0, y0 = 0;
      Place(right - left, rows, x0, y0);
      gdi::RectIndicesToRgb(pixels + static_cast<size_t>(y) * width + left, static_cast<size_t>(width),
                            static_cast<size_t>(right - left), rows, colours,
                            strip_ + static_cast<size_t>(y0) * stripWidth_ + x0, static_cast<size_t>(stripWidth_));
      xcb_shm_put_image(connection_, window_, gc_, static_cast<uint16_t>(stripWidth_),
                        static_cast<uint16_t>(stripRows_), static_cast<uint16_t>(x0), static_cast<uint16_t>(y0),
                        static_cast<uint16_t>(right - left), static_cast<uint16_t>(rows), static_cast<int16_t>(left),
                        static_cast<int16_t>(y), depth_, XCB_IMAGE_FORMAT_Z_PIXMAP, 0, segment_, 0);
      y += rows;
    }
  }
  xcb_flush(connection_);
  return true;
}

}  // namespace fluxo
