#include "host/x_shm_presenter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <algorithm>
#include <chrono>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "host/virtual_display.h"

namespace fluxo {
namespace {

constexpr int kW = 101, kH = 50;  // an odd width: rows of the strip and the frame differ

class XShmPresenterTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!display_.Running()) GTEST_SKIP() << "Xvfb is not installed";
    connection_ = display_.Connect();
    ASSERT_FALSE(xcb_connection_has_error(connection_));
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
    window_ = xcb_generate_id(connection_);
    const uint32_t values[] = {0x00808080u, 1};  // grey, unmanaged
    xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window_, screen->root, 0, 0, kW, kH, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT,
                      values);
    xcb_map_window(connection_, window_);
    std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
    std::mt19937 random(7);
    for (uint32_t& c : colours_) c = 0xFF000000u | (random() & 0xFFFFFFu);
    frame_.resize(kW * kH);
    for (uint8_t& p : frame_) p = static_cast<uint8_t>(random());
  }
  void TearDown() override {
    if (connection_) xcb_disconnect(connection_);
  }

  // The window's pixels as 0xRRGGBB, read back from the server.
  std::vector<uint32_t> Screen() {
    auto* image = xcb_get_image_reply(
        connection_, xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, window_, 0, 0, kW, kH, ~0u), nullptr);
    std::vector<uint32_t> pixels;
    if (!image) return pixels;
    const auto* words = reinterpret_cast<const uint32_t*>(xcb_get_image_data(image));
    for (int i = 0; i < kW * kH; ++i) pixels.push_back(words[i] & 0xFFFFFFu);
    std::free(image);
    return pixels;
  }
  uint32_t Expected(int x, int y) const { return colours_[frame_[y * kW + x]] & 0xFFFFFFu; }
  // The window's pixels once they equal `want`, or after two seconds: the
  // presenter talks to the server on a connection of its own, so its
  // requests may still be on their way when ours arrive.
  std::vector<uint32_t> ScreenOnceItShows(const std::vector<uint32_t>& want) {
    std::vector<uint32_t> shown = Screen();
    for (int i = 0; i < 100 && shown != want; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      shown = Screen();
    }
    return shown;
  }
  // Presents `rects` and checks every pixel: converted inside them, `before` elsewhere.
  void PresentAndCheck(XShmPresenter& presenter, const std::vector<gdi::Rect>& rects,
                       const std::vector<uint32_t>& before) {
    std::vector<uint32_t> want(size_t{kW} * kH);
    for (int y = 0; y < kH; ++y) {
      for (int x = 0; x < kW; ++x) {
        bool inside = false;
        for (const gdi::Rect& r : rects) inside |= x >= r.left && x < r.right && y >= r.top && y < r.bottom;
        want[y * kW + x] = inside ? Expected(x, y) : before[y * kW + x];
      }
    }
    ASSERT_TRUE(presenter.Present(frame_.data(), kW, kH, rects, colours_));
    const std::vector<uint32_t> shown = ScreenOnceItShows(want);
    ASSERT_EQ(shown.size(), want.size());
    int wrong = 0;
    for (size_t i = 0; i < want.size(); ++i)
      if (shown[i] != want[i] && ++wrong < 5) ADD_FAILURE() << "pixel " << i % kW << "," << i / kW;
    EXPECT_EQ(wrong, 0);
  }

  VirtualDisplay display_{"640x480x24"};
  xcb_connection_t* connection_ = nullptr;
  xcb_window_t window_ = 0;
  uint32_t colours_[gdi::kSystemPaletteSize] = {};
  std::vector<uint8_t> frame_;
};

// A strip of 20 rows holds one piece of 16 at a time: the whole picture
// takes many rounds through it, each waiting for the server.
TEST_F(XShmPresenterTest, TheWholePictureArrivesThroughASmallStrip) {
  auto presenter = XShmPresenter::Create(connection_, window_, 20);
  ASSERT_NE(presenter, nullptr);
  PresentAndCheck(*presenter, {{0, 0, kW, kH}}, std::vector<uint32_t>(size_t{kW} * kH, 0x808080u));
}

// Pieces of several bands, side by side in one band, and a piece reaching
// out of the frame: only they change, in their new colours.
TEST_F(XShmPresenterTest, OnlyThePiecesGivenChange) {
  auto presenter = XShmPresenter::Create(connection_, window_, 40);
  ASSERT_NE(presenter, nullptr);
  PresentAndCheck(*presenter, {{0, 0, kW, kH}}, std::vector<uint32_t>(size_t{kW} * kH, 0x808080u));
  const std::vector<uint32_t> before = Screen();
  for (uint32_t& c : colours_) c ^= 0x00FFFFFFu;
  for (uint8_t& p : frame_) p = static_cast<uint8_t>(p + 1);
  PresentAndCheck(*presenter, {{0, 0, 32, 16}, {64, 0, 96, 16}, {32, 16, 64, 45}, {96, 32, kW + 40, kH + 9}},
                  before);
}

TEST_F(XShmPresenterTest, BlackBeforeTheFirstFrameAndANarrowerFrameGetsAStripOfItsOwn) {
  auto presenter = XShmPresenter::Create(connection_, window_);
  ASSERT_NE(presenter, nullptr);
  presenter->Blacken({{0, 0, kW, kH}});
  std::vector<uint32_t> want(size_t{kW} * kH, 0u);
  EXPECT_EQ(ScreenOnceItShows(want), want);

  // A frame 60 pixels wide, shown in the window's left part; beyond it the
  // window stays black.
  std::vector<uint8_t> narrow(60 * kH, 3);
  ASSERT_TRUE(presenter->Present(narrow.data(), 60, kH, {{0, 0, 60, kH}}, colours_));
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < 60; ++x) want[y * kW + x] = colours_[3] & 0xFFFFFFu;
  EXPECT_EQ(ScreenOnceItShows(want), want);
}

TEST(XShmPresenter, DisplaysWithoutRgbWordsAreLeftToQt) {
  VirtualDisplay display("640x480x16");
  if (!display.Running()) GTEST_SKIP() << "Xvfb is not installed";
  xcb_connection_t* connection = display.Connect();
  xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
  EXPECT_EQ(XShmPresenter::Create(connection, screen->root), nullptr);
  EXPECT_EQ(XShmPresenter::Create(nullptr, screen->root), nullptr);
  xcb_disconnect(connection);
}

}  // namespace
}  // namespace fluxo
