#pragma once
#include <QEventLoop>
#include <QRasterWindow>
#include <QTimer>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/saver_window.h"
#include "host/frame_presenter.h"
#include "host/gl_presenter.h"
#include "host/mouse_input.h"
#include "host/present_tally.h"
#include "host/saver_switches.h"
#include "host/x_shm_presenter.h"
#include "platform/gdi/presented_surface.h"
#include "platform/gdi/palette_table.h"

namespace fluxo {

// The saver procedure the window forwards its messages to: ScreenSaverProc
// in the program, a recording procedure in tests.
using SaverProcedure = intptr_t (*)(SaverWindow* window, SaverMessage message, uintptr_t wParam, intptr_t lParam);

// The screen-saver framework's window: it turns Qt events into the saver
// procedure's messages, owns the palette device the render thread draws into
// and presents its frames at every display refresh. For OpenGL it is made
// with the OpenGL surface type and a context of its own draws on it (what
// QOpenGLWindow does), so one window class serves every way of presenting.
class SaverHostWindow final : public QRasterWindow, public SaverWindow {
 public:
  enum class StartResult {
    Started,
    NoParentWindow,  // the foreign window to embed into does not exist
    CreateRefused,   // the procedure answered Create with -1
  };

  // `switches.mode` is Window, FullScreen, PlayFile or Embedded.
  SaverHostWindow(const SaverSwitches& switches, SaverProcedure procedure, std::vector<std::string> commandLine);
  ~SaverHostWindow() override;

  // Sizes the window for its mode, sends Create and shows the window.
  StartResult Start();
  // Runs until the window is destroyed or PostQuit; returns the exit status
  // (0 after a normal end, otherwise the code given to PostQuit).
  int Exec();

  // SaverWindow
  int ClientWidth() const override { return width(); }
  int ClientHeight() const override { return height(); }
  int ScreenWidth() const override;
  int ScreenHeight() const override;
  gdi::FrameSurface& Surface() override { return *parts_->surface; }
  std::shared_ptr<gdi::PresentedSurface> SurfaceOwner() override { return parts_; }
  void Beep() override;
  void DestroyNow() override { DestroyWindow(); }
  void PostQuit(int exitCode) override;
  void InvalidateWithErase() override;
  // Nothing to do on X11: the compositor or the server repaints what the
  // saver window covered once it is gone.
  void RedrawDesktop() override {}
  bool OwnsScreen() const override;
  void PlaceAtOrigin(int width, int height) override;
  std::vector<std::string> CommandLine() const override { return commandLine_; }
  intptr_t DefaultProc(SaverMessage message, uintptr_t wParam, intptr_t lParam) override;

  // The OpenGL presenter when pictures go that way, otherwise null.
  const GlPresenter* GlPath() const { return gl_.get(); }

 protected:
  bool event(QEvent* event) override;
  void exposeEvent(QExposeEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  bool FitToMode();
  void CreateSurface();
  // Chooses how pictures reach the screen, as FLUXO_PRESENTER asks: OpenGL,
  // the X server's shared memory, or Qt's window image.
  void AttachPresenter();
  // A shader looks the colours up: where a context can be had and, unless
  // `forced`, draws with hardware. False, with the window as it was, otherwise.
  bool AttachGlPresenter(bool forced);
  // On X, with shared memory: pictures go to the display without Qt's image.
  void AttachDirectPresenter();
  bool EndsOnInput() const;
  bool EndsOnMovement() const;
  intptr_t Send(SaverMessage message, uintptr_t wParam, intptr_t lParam);
  void QueueClose();
  void FollowParent();
  void PresentNextFrame();
  // Where the display takes pictures straight from us, `area` of a frame of
  // the window's size goes there, without Qt's window image; false otherwise.
  bool PresentDirectly(const QRegion& area);
  // The whole picture through OpenGL, when the window is exposed.
  void PresentWithGl();
  void NoteFramePresented();
  // The window goes away: Destroy reaches the procedure exactly once.
  void DestroyWindow();

  const SaverSwitches switches_;
  const SaverProcedure procedure_;
  const std::vector<std::string> commandLine_;

  std::shared_ptr<gdi::PaletteTable> palette_;
  std::shared_ptr<gdi::PresentedSurface> parts_;
  FramePresenter presenter_;
  std::unique_ptr<GlPresenter> gl_;         // null: pictures are converted by the processor
  std::unique_ptr<XShmPresenter> direct_;  // null: pictures go through Qt
  std::unique_ptr<QWindow> foreignParent_;

  QTimer refreshTimer_;
  QTimer parentTimer_;
  QEventLoop loop_;
  MouseMoveThreshold movement_;
  std::unique_ptr<PresentTally> tally_;  // only while tracing

  bool created_ = false;
  bool destroyed_ = false;
  bool erased_ = false;
  bool framePresented_ = false;
  bool closeQueued_ = false;
  bool quitRequested_ = false;
  int exitCode_ = 0;
};

}  // namespace fluxo
