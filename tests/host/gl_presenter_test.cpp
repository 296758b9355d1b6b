#include "host/gl_presenter.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTest>
#include <QWindow>
#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "host/frame_image.h"
#include "host/frame_presenter.h"
#include "host/presenter_choice.h"
#include "host/saver_host_window.h"
#include "host/virtual_display.h"

namespace fluxo {
namespace {

TEST(PresenterChoice, TheVariableForcesAPathAndAnythingElseChoosesAutomatically) {
  std::string warning = "left over";
  EXPECT_EQ(ParsePresenterRequest(nullptr, warning), PresenterRequest::Automatic);
  EXPECT_EQ(warning, "");
  EXPECT_EQ(ParsePresenterRequest("", warning), PresenterRequest::Automatic);
  EXPECT_EQ(ParsePresenterRequest("raster", warning), PresenterRequest::Raster);
  EXPECT_EQ(ParsePresenterRequest("GL", warning), PresenterRequest::Gl);
  EXPECT_EQ(warning, "");

  EXPECT_EQ(ParsePresenterRequest("vulkan", warning), PresenterRequest::Automatic);
  EXPECT_NE(warning.find("FLUXO_PRESENTER=vulkan"), std::string::npos) << warning;
  EXPECT_EQ(warning.find('\n'), std::string::npos);  // one line; the caller ends it
  EXPECT_EQ(ParsePresenterRequest("gl ", warning), PresenterRequest::Automatic);
  EXPECT_FALSE(warning.empty());
}

TEST(PresenterChoice, SoftwareRenderersAreToldFromHardware) {
  for (const char* software :
       {"llvmpipe (LLVM 15.0.6, 256 bits)", "softpipe", "Mesa DRI swrast", "Software Rasterizer",
        "Microsoft Basic Render Driver", "zink (llvmpipe (LLVM 15.0.6, 256 bits))", "SwiftShader Device",
        "GDI Generic"}) {
    EXPECT_TRUE(IsSoftwareRenderer(software)) << software;
  }
  // Hardware drivers built with LLVM name it too.
  for (const char* hardware :
       {"AMD Radeon RX 6600 (navi23, LLVM 15.0.6, DRM 3.49, 6.1.0-13-amd64)", "Mesa Intel(R) UHD Graphics 620 (KBL GT2)",
        "NVIDIA GeForce GTX 1060 6GB/PCIe/SSE2", "virgl", ""}) {
    EXPECT_FALSE(IsSoftwareRenderer(hardware)) << hardware;
  }
}

TEST(PresenterChoice, OnlyXTriesOpenGl) {
  EXPECT_TRUE(PlatformMayPresentWithGl("xcb"));
  EXPECT_FALSE(PlatformMayPresentWithGl("wayland"));
  EXPECT_FALSE(PlatformMayPresentWithGl("offscreen"));
  EXPECT_FALSE(PlatformMayPresentWithGl("minimal"));
  EXPECT_FALSE(PlatformMayPresentWithGl(""));
}

TEST(PresenterChoice, HardwareOpenGlNeedsAnXServerWithDirectRendering) {
  EXPECT_TRUE(OffersDirectRendering({"GLX", "DRI3", "Present"}));
  EXPECT_TRUE(OffersDirectRendering({"DRI2"}));
  EXPECT_TRUE(OffersDirectRendering({"GLX", "NV-GLX"}));
  EXPECT_FALSE(OffersDirectRendering({"GLX", "MIT-SHM", "DRI3X"}));
  EXPECT_TRUE(XExtensionNames(nullptr).empty());

  // A virtual X server has GLX, drawn by the processor, and no direct rendering.
  VirtualDisplay display("640x480x24");
  if (!display.Running()) GTEST_SKIP() << "Xvfb is not installed";
  xcb_connection_t* connection = display.Connect();
  const std::vector<std::string> names = XExtensionNames(connection);
  xcb_disconnect(connection);
  EXPECT_NE(std::find(names.begin(), names.end(), "MIT-SHM"), names.end());
  EXPECT_NE(std::find(names.begin(), names.end(), "BIG-REQUESTS"), names.end());
  EXPECT_FALSE(OffersDirectRendering(names));
}

// Sets an environment variable for the length of a scope.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    setenv(name, value, 1);
  }
  ~ScopedVariable() {
    if (old_.empty()) {
      unsetenv(name_);
    } else {
      setenv(name_, old_.c_str(), 1);
    }
  }

 private:
  const char* name_;
  std::string old_;
};

// The saver procedure of these tests: `onErase` draws as the render thread
// would; everything else goes to the framework's default.
std::function<void(SaverHostWindow&)> g_onErase;

intptr_t DrawingProc(SaverWindow* window, SaverMessage message, uintptr_t wParam, intptr_t lParam) {
  if (message == SaverMessage::EraseBackground && g_onErase) g_onErase(*static_cast<SaverHostWindow*>(window));
  return window->DefaultProc(message, wParam, lParam);
}

std::unique_ptr<SaverHostWindow> MakeWindow(SaverMode mode = SaverMode::Window, uint64_t parent = 0) {
  SaverSwitches switches;
  switches.mode = mode;
  switches.windowId = parent;
  return std::make_unique<SaverHostWindow>(switches, &DrawingProc, std::vector<std::string>{"fluxo"});
}

QImage Shown(QWindow& window) {
  return window.screen()->grabWindow(window.winId()).toImage().convertToFormat(QImage::Format_RGB32);
}

constexpr uint32_t kGreen = 0xFF00C000u, kBlue = 0xFF0000E0u;

void FillWithEntry(SaverHostWindow& window, int entry, uint32_t colour) {
  gdi::FrameSurface& surface = window.Surface();
  surface.Palette().SetEntry(gdi::PixelOfEntry(entry), colour);
  surface.FillRect(surface.ClientRect(), gdi::Brush::Solid(gdi::PaletteIndex(entry)));
  surface.Flush();
}

QRgb ShownAtCentre(QWindow& window) {
  const QImage shown = Shown(window);
  return shown.isNull() ? 0 : shown.pixel(shown.width() / 2, shown.height() / 2);
}

// Starts a saver window that draws green and expects it to show that
// without OpenGL, in a window made for the processor's picture.
void ExpectTheProcessorsPicture() {
  auto window = MakeWindow();
  g_onErase = [](SaverHostWindow& w) { FillWithEntry(w, 7, kGreen); };
  ASSERT_EQ(window->Start(), SaverHostWindow::StartResult::Started);
  EXPECT_EQ(window->GlPath(), nullptr);
  EXPECT_EQ(window->surfaceType(), QSurface::RasterSurface);
  EXPECT_TRUE(QTest::qWaitFor([&] { return ShownAtCentre(*window) == kGreen; }, 5000));
  window->DestroyNow();
  g_onErase = nullptr;
}

// Where OpenGL cannot be had (here: Qt's offscreen platform), a forced
// OpenGL path still shows the picture, through the processor.
TEST(GlPresenterChoice, AForcedGlWithoutOpenGlFallsBackToARasterPicture) {
  if (PlatformMayPresentWithGl(QGuiApplication::platformName().toStdString())) {
    GTEST_SKIP() << "runs on a platform without OpenGL windows";
  }
  ScopedVariable presenter("FLUXO_PRESENTER", "gl");
  ExpectTheProcessorsPicture();
}

// The tests below need OpenGL on an X server: GlPresenterOnX starts one with
// Mesa's software renderer and runs them in a copy of this program there.
constexpr char kInsideX[] = "FLUXO_TEST_INSIDE_X";

bool InsideX() { return std::getenv(kInsideX) && QGuiApplication::platformName() == "xcb"; }

// Whole tiles of a frame, for changing some of them.
constexpr int kTileW = gdi::ChangedTiles::kTileWidth, kTileH = gdi::ChangedTiles::kTileHeight;

class GlPresenterInX : public testing::Test {
 protected:
  // A width that is no multiple of 4 (the rows of the upload are not
  // aligned) and more than one tile each way.
  static constexpr int kW = 3 * kTileW + 6, kH = 2 * kTileH + 10;

  void SetUp() override {
    if (!InsideX()) GTEST_SKIP() << "runs in an X server of its own, started by GlPresenterOnX";
    window_.setSurfaceType(QSurface::OpenGLSurface);
    window_.setFlags(Qt::Window | Qt::FramelessWindowHint);
    window_.setGeometry(0, 0, kW, kH);
    window_.create();
    QString failure;
    gl_ = GlPresenter::Create(window_, true, failure);
    if (!gl_) GTEST_SKIP() << "no OpenGL on this X server: " << failure.toStdString();
    window_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
    // Every entry a colour of its own.
    for (int i = 0; i < gdi::kSystemPaletteSize; ++i)
      palette_.SetEntry(i, 0xFF000000u | uint32_t(i) << 16 | uint32_t(255 - i) << 8 | uint32_t(i * 73 % 256));
  }
  void TearDown() override { gl_.reset(); }

  void Publish() { exchange_.Publish(frame_.data(), width_, height_); }
  // What the window does at a refresh; returns the region presented.
  QRegion Refresh() {
    const QRegion changed = presenter_.Refresh();
    if (!changed.isEmpty()) {
      presenter_.UploadTo(*gl_, changed);
      EXPECT_TRUE(gl_->Present());
    }
    return changed;
  }
  // The raster path's picture of the newest frame at the window's size.
  QImage RasterPicture() {
    QImage picture(kW, kH, QImage::Format_RGB32);
    QPainter painter(&picture);
    presenter_.Draw(painter, picture.rect());
    return picture;
  }
  // Compares the window with `want` once it shows it, or after two seconds.
  void ExpectShown(const QImage& want) {
    QImage shown;
    if (QTest::qWaitFor([&] { return (shown = Shown(window_)) == want; }, 2000)) return;
    ASSERT_EQ(shown.size(), want.size());
    int wrong = 0;
    for (int y = 0; y < kH; ++y) {
      for (int x = 0; x < kW; ++x) {
        if (shown.pixel(x, y) != want.pixel(x, y) && ++wrong <= 5) {
          ADD_FAILURE() << "at " << x << "," << y << std::hex << ": 0x" << shown.pixel(x, y) << " instead of 0x"
                        << want.pixel(x, y);
        }
      }
    }
    EXPECT_EQ(wrong, 0);
  }

  QWindow window_;
  std::unique_ptr<GlPresenter> gl_;
  gdi::PaletteTable palette_;
  gdi::FrameExchange exchange_;
  FramePresenter presenter_{exchange_, palette_};
  std::vector<uint8_t> frame_;
  int width_ = kW, height_ = kH;
};

TEST_F(GlPresenterInX, ThePictureEqualsTheRasterPathsPixelForPixel) {
  ASSERT_TRUE(gl_->Present());  // black before the first frame
  QImage black(kW, kH, QImage::Format_RGB32);
  black.fill(Qt::black);
  ExpectShown(black);

  frame_.resize(size_t{kW} * kH);
  std::set<int> used;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) used.insert(frame_[y * kW + x] = static_cast<uint8_t>(x * 7 + y * 31));
  ASSERT_EQ(used.size(), 256u);
  Publish();
  EXPECT_EQ(Refresh(), QRegion(0, 0, kW, kH));
  ExpectShown(FrameToImage(frame_.data(), kW, kH, palette_));

  // Two tiles change: only they are uploaded, and the rest stays right.
  for (int y = 0; y < kTileH; ++y) frame_[y * kW + kTileW + 3] ^= 0x55;
  frame_[(2 * kTileH + 5) * kW + 3 * kTileW + 5] = 9;
  Publish();
  EXPECT_EQ(Refresh(), QRegion(kTileW, 0, kTileW, kTileH) + QRegion(3 * kTileW, 2 * kTileH, 6, 10));
  ExpectShown(FrameToImage(frame_.data(), kW, kH, palette_));

  // The palette alone changes.
  for (int i = 100; i < 140; ++i) palette_.SetEntry(i, palette_.Entry(i) ^ 0x00FFFFFFu);
  EXPECT_FALSE(Refresh().isEmpty());
  ExpectShown(FrameToImage(frame_.data(), kW, kH, palette_));
  EXPECT_TRUE(Refresh().isEmpty());
}

// While a window's size changes, the frame may have another size: it is
// scaled to the nearest pixel, as the raster path scales it.
TEST_F(GlPresenterInX, AFrameOfAnotherSizeIsScaledAsTheRasterPathScalesIt) {
  width_ = kW / 2;  // odd, too
  height_ = kH / 2;
  frame_.resize(size_t(width_) * height_);
  for (size_t i = 0; i < frame_.size(); ++i) frame_[i] = static_cast<uint8_t>(i * 13);
  Publish();
  EXPECT_EQ(Refresh(), QRegion(0, 0, width_, height_));
  ExpectShown(RasterPicture());
}

// The whole window on the OpenGL path, as the saver runs it.
TEST(SaverWindowInX, TheGlPathShowsPaletteTicksAndPresentsNothingWhenNothingChanged) {
  if (!InsideX()) GTEST_SKIP() << "runs in an X server of its own, started by GlPresenterOnX";
  ScopedVariable presenter("FLUXO_PRESENTER", "gl");
  auto window = MakeWindow();
  g_onErase = [](SaverHostWindow& w) { FillWithEntry(w, 7, kGreen); };
  ASSERT_EQ(window->Start(), SaverHostWindow::StartResult::Started);
  const GlPresenter* gl = window->GlPath();
  if (!gl) GTEST_SKIP() << "no OpenGL on this X server";
  EXPECT_EQ(window->surfaceType(), QSurface::OpenGLSurface);
  ASSERT_TRUE(QTest::qWaitFor([&] { return ShownAtCentre(*window) == kGreen; }, 5000));

  // Many refreshes with neither new pixels nor new colours: no picture.
  QTest::qWait(100);  // a late expose of the new window would show one
  const uint64_t shown = gl->PicturesShown();
  QTest::qWait(300);
  EXPECT_EQ(gl->PicturesShown(), shown);

  window->Surface().Palette().SetEntry(gdi::PixelOfEntry(7), kBlue);
  EXPECT_TRUE(QTest::qWaitFor([&] { return ShownAtCentre(*window) == kBlue; }, 5000));
  EXPECT_GT(gl->PicturesShown(), shown);

  // A smaller window shows the whole picture, scaled.
  window->resize(window->size() / 2);
  EXPECT_TRUE(QTest::qWaitFor([&] { return Shown(*window).size() == window->size(); }, 5000));
  const QImage small = Shown(*window);
  EXPECT_EQ(small.pixel(0, 0), kBlue);
  EXPECT_EQ(small.pixel(small.width() - 1, small.height() - 1), kBlue);
  window->DestroyNow();
  g_onErase = nullptr;
}

// A preview inside another program's window takes the OpenGL path too and
// follows its parent's size with the whole picture.
TEST(SaverWindowInX, AnEmbeddedPreviewShowsTheWholePictureThroughOpenGl) {
  if (!InsideX()) GTEST_SKIP() << "runs in an X server of its own, started by GlPresenterOnX";
  ScopedVariable presenter("FLUXO_PRESENTER", "gl");
  QWindow pane;  // stands in for the configuration dialog's preview pane
  pane.setFlags(Qt::Window | Qt::FramelessWindowHint);
  pane.setGeometry(0, 0, 160, 120);
  pane.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&pane));
  auto window = MakeWindow(SaverMode::Embedded, pane.winId());
  g_onErase = [](SaverHostWindow& w) { FillWithEntry(w, 7, kGreen); };
  ASSERT_EQ(window->Start(), SaverHostWindow::StartResult::Started);
  ASSERT_NE(window->GlPath(), nullptr);
  EXPECT_TRUE(QTest::qWaitFor([&] { return ShownAtCentre(*window) == kGreen; }, 5000));

  pane.resize(240, 90);
  EXPECT_TRUE(QTest::qWaitFor(
      [&] {
        const QImage shown = Shown(*window);
        return shown.size() == QSize(240, 90) && shown.pixel(0, 0) == kGreen && shown.pixel(239, 89) == kGreen;
      },
      5000));
  window->DestroyNow();
  window.reset();
  g_onErase = nullptr;
}

// The automatic choice makes no context where the X server has no direct
// rendering: the window stays one for the processor's picture.
TEST(SaverWindowInX, TheAutomaticChoiceLeavesSoftwareOpenGlAlone) {
  if (!InsideX()) GTEST_SKIP() << "runs in an X server of its own, started by GlPresenterOnX";
  ScopedVariable presenter("FLUXO_PRESENTER", "");
  ExpectTheProcessorsPicture();
}

// Where Qt has no OpenGL on X, a forced OpenGL path has no context: the
// window, made for OpenGL, is made anew for the processor's picture.
TEST(SaverWindowWithoutGl, AForcedGlFallsBackToTheProcessorsPicture) {
  if (!InsideX()) GTEST_SKIP() << "runs in an X server of its own, started by GlPresenterOnX";
  ScopedVariable presenter("FLUXO_PRESENTER", "gl");
  ExpectTheProcessorsPicture();
}

std::string ThisProgram() {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  return length > 0 ? std::string(path, static_cast<size_t>(length)) : std::string();
}

// Runs `tests` in a copy of this program, with `environment` added, on an X
// server of its own with Mesa's software renderer; returns its output, with
// the reasons it skipped tests in `skipped`.
std::string RunOnX(const std::string& environment, const std::string& tests, std::string& skipped) {
  VirtualDisplay display("640x480x24");
  if (!display.Running()) {
    skipped = "Xvfb is not installed";
    return "";
  }
  // The GL driver is unloaded at the end and leaves its own blocks behind
  // unreachable, which the leak checker cannot tell from the program's.
  const std::string command = environment + " DISPLAY=" + display.Name() +
                              " QT_QPA_PLATFORM=xcb LIBGL_ALWAYS_SOFTWARE=1 " + kInsideX + "=1 ASAN_OPTIONS=\"$ASAN_OPTIONS:detect_leaks=0\" '" + ThisProgram() +
                              "' --gtest_filter='" + tests + "' 2>&1";
  FILE* child = popen(command.c_str(), "r");
  if (!child) {
    ADD_FAILURE() << "cannot run " << command;
    return "";
  }
  std::string output;
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, child)) > 0;) output.append(buffer, n);
  EXPECT_EQ(pclose(child), 0) << output;
  EXPECT_EQ(output.find("[  PASSED  ] 0 tests."), std::string::npos) << output;
  std::istringstream lines(output);
  for (std::string line, previous; std::getline(lines, line); previous = line)
    if (previous.find(": Skipped") != std::string::npos) skipped += line + "; ";
  return output;
}

// The OpenGL tests above, with the OpenGL path forced where they use the window.
TEST(GlPresenterOnX, TheTestsOnAnXServerWithOpenGlPass) {
  std::string skipped;
  RunOnX("", "GlPresenterInX.*:SaverWindowInX.*", skipped);
  if (!skipped.empty()) GTEST_SKIP() << skipped;
}

TEST(GlPresenterOnX, TheTestsOnAnXServerWithoutOpenGlPass) {
  std::string skipped;
  RunOnX("QT_XCB_GL_INTEGRATION=none", "SaverWindowWithoutGl.*", skipped);
  if (!skipped.empty()) GTEST_SKIP() << skipped;
}

}  // namespace
}  // namespace fluxo
