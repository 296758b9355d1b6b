#include "host/saver_host_window.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <functional>
#include <vector>

#include "host/mouse_input.h"

namespace fluxo {
namespace {

struct Message {
  SaverMessage message;
  uintptr_t wParam;
  intptr_t lParam;
};

// What the recording procedure saw, and what it does with each message
// (the framework's default procedure unless a test says otherwise).
struct Recorder {
  std::vector<Message> log;
  std::function<intptr_t(SaverHostWindow&, const Message&)> handle;
  bool visibleAtCreate = true;
};
Recorder* g_recorder = nullptr;

intptr_t RecordingProc(SaverWindow* window, SaverMessage message, uintptr_t wParam, intptr_t lParam) {
  auto& host = *static_cast<SaverHostWindow*>(window);
  const Message m{message, wParam, lParam};
  g_recorder->log.push_back(m);
  if (message == SaverMessage::Create) g_recorder->visibleAtCreate = host.isVisible();
  if (g_recorder->handle) return g_recorder->handle(host, m);
  return window->DefaultProc(message, wParam, lParam);
}

constexpr int kHung = 99;  // status of a run that never ended by itself

class SaverHostWindowTest : public testing::Test {
 protected:
  void SetUp() override { g_recorder = &recorder_; }
  void TearDown() override { g_recorder = nullptr; }

  std::unique_ptr<SaverHostWindow> MakeWindow(SaverMode mode, uint64_t windowId = 0) {
    SaverSwitches switches;
    switches.mode = mode;
    switches.windowId = windowId;
    return std::make_unique<SaverHostWindow>(switches, &RecordingProc, std::vector<std::string>{"fluxo", "/s"});
  }

  // Runs the window; a run that does not end by itself is stopped with kHung.
  int Run(SaverHostWindow& window) {
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&window] { window.PostQuit(kHung); });
    guard.start(20000);
    return window.Exec();
  }

  int Count(SaverMessage message) const {
    int n = 0;
    for (const Message& m : recorder_.log) n += m.message == message;
    return n;
  }
  // Index of the first such message in the log, or -1.
  int IndexOf(SaverMessage message, uintptr_t wParam) const {
    for (size_t i = 0; i < recorder_.log.size(); ++i)
      if (recorder_.log[i].message == message && recorder_.log[i].wParam == wParam) return static_cast<int>(i);
    return -1;
  }
  int IndexOf(SaverMessage message) const {
    for (size_t i = 0; i < recorder_.log.size(); ++i)
      if (recorder_.log[i].message == message) return static_cast<int>(i);
    return -1;
  }

  static void PostKey(QWindow& window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QCoreApplication::postEvent(&window, new QKeyEvent(QEvent::KeyPress, key, modifiers));
  }
  static void PostMove(QWindow& window, int x, int y) {
    const QPointF at(x, y);
    QCoreApplication::postEvent(&window, new QMouseEvent(QEvent::MouseMove, at, at, at, Qt::NoButton,
                                                         Qt::NoButton, Qt::NoModifier));
  }

  Recorder recorder_;
};

TEST_F(SaverHostWindowTest, AKeyEndsTheSaverThroughTheDefaultProcedure) {
  auto window = MakeWindow(SaverMode::Window);
  recorder_.handle = [](SaverHostWindow& w, const Message& m) -> intptr_t {
    if (m.message == SaverMessage::EraseBackground) PostKey(w, Qt::Key_A);
    return w.DefaultProc(m.message, m.wParam, m.lParam);
  };
  ASSERT_EQ(window->Start(), SaverHostWindow::StartResult::Started);
  EXPECT_EQ(window->title(), "Fluxo");
  EXPECT_EQ(Run(*window), 0);

  ASSERT_FALSE(recorder_.log.empty());
  EXPECT_EQ(recorder_.log.front().message, SaverMessage::Create);
  EXPECT_FALSE(recorder_.visibleAtCreate);
  EXPECT_EQ(Count(SaverMessage::Create), 1);
  EXPECT_EQ(Count(SaverMessage::EraseBackground), 1);
  const int key = IndexOf(SaverMessage::KeyDown, vk::kA);
  const int close = IndexOf(SaverMessage::Close);
  ASSERT_GE(key, 0);
  EXPECT_GT(close, key);
  EXPECT_EQ(Count(SaverMessage::Destroy), 1);
  EXPECT_EQ(recorder_.log.back().message, SaverMessage::Destroy);
  EXPECT_FALSE(window->isVisible());

  // Nothing reaches the procedure after Destroy, even when the window goes.
  const size_t seen = recorder_.log.size();
  window->DestroyNow();
  window.reset();
  EXPECT_EQ(recorder_.log.size(), seen);
}

TEST_F(SaverHostWindowTest, RefusedCreationShowsNothing) {
  auto window = MakeWindow(SaverMode::FullScreen);
  recorder_.handle = [](SaverHostWindow& w, const Message& m) -> intptr_t {
    if (m.message == SaverMessage::Create) return -1;
    return w.DefaultProc(m.message, m.wParam, m.lParam);
  };
  EXPECT_EQ(window->Start(), SaverHostWindow::StartResult::CreateRefused);
  EXPECT_FALSE(window->isVisible());
  QCoreApplication::processEvents();
  window.reset();
  // As on the platform, a window whose creation failed is still destroyed once.
  ASSERT_EQ(recorder_.log.size(), 2u);
  EXPECT_EQ(recorder_.log[0].message, SaverMessage::Create);
  EXPECT_EQ(recorder_.log[1].message, SaverMessage::Destroy);
}

TEST_F(SaverHostWindowTest, PostQuitEndsWithItsCodeAndStillDestroysOnce) {
  auto window = MakeWindow(SaverMode::Window);
  recorder_.handle = [](SaverHostWindow& w, const Message& m) -> intptr_t {
    if (m.message == SaverMessage::EraseBackground) w.PostQuit(43);
    return w.DefaultProc(m.message, m.wParam, m.lParam);
  };
  ASSERT_EQ(window->Start(), SaverHostWindow::StartResult::Started);
  EXPECT_EQ(Run(*window), 43);
  EXPECT_EQ(Count(SaverMessage::Destroy), 1);
  window.reset();
  EXPECT_EQ(Count(SaverMessage::Destroy), 1);
}

TEST_F(SaverHostWindowTest, DestroyNowEndsTheRunNormally) {
  auto window = MakeWindow(SaverMode::FullScreen);
  recorder_.handle = [](SaverHostWindow& w, const Message& m) -> intptr_t {
    if (m.message == SaverMessage::EraseBackground) w.DestroyNow();
    return w.DefaultProc(m.message, m.wParam, m.lParam);
  };
  ASSERT_EQ(window->Start(), SaverHostWindow::StartResult::Started);
  EXPECT_EQ(Run(*window), 0);
  EXPECT_EQ(Count(SaverMessage::Destroy), 1);
  EXPECT_EQ(Count(SaverMessage::Close), 0);
}

TEST_F(SaverHostWindowTest, FullScreenCoversTheScreenWithoutACursor) {
  auto window = MakeWindow(SaverMode::PlayFile);
  int clientWidthAtCreate = 0, surfaceWidthAtCreate = 0;
  recorder_.handle = [&](SaverHostWindow& w, const Message& m) -> intptr_t {
    if (m.message == SaverMessage::Create) {
      clientWidthAtCreate = w.ClientWidth();
      surfaceWidthAtCreate = w.Surface().Width();
    }
    if (m.message == SaverMessage::EraseBackground) w.DestroyNow();
    return w.DefaultProc(m.message, m.wParam, m.lParam);
  };
  ASSERT_EQ(window->Start(), SaverHostWindow::StartResult::Started);
  EXPECT_EQ(clientWidthAtCreate, window->ScreenWidth());
  EXPECT_EQ(surfaceWidthAtCreate, window->ScreenWidth());
  EXPECT_EQ(window->Surface().Height(), window->ScreenHeight());
  EXPECT_EQ(window->cursor().shape(), Qt::BlankCursor);
  EXPECT_TRUE(window->flags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(Run(*window), 0);
}

TEST_F(SaverHostWindowTest, SmallMovementsDoNotEndAFullScreenSaver) {
  auto window = MakeWindow(SaverMode::FullScreen);
  // One movement at a time: a Close queued by an early one would show up
  // before the next movement in the log.
  const QPoint path[] = {{300, 200}, {303, 202}, {296, 200}, {300, 205}, {306, 200}};
  size_t next = 0;
  recorder_.handle = [&](SaverHostWindow& w, const Message& m) -> intptr_t {
    if ((m.message == SaverMessage::EraseBackground || m.message == SaverMessage::MouseMove) &&
        next < std::size(path)) {
      PostMove(w, path[next].x(), path[next].y());
      ++next;
    }
    return w.DefaultProc(m.message, m.wParam, m.lParam);
  };
  ASSERT_EQ(window->Start(), SaverHostWindow::StartResult::Started);
  EXPECT_EQ(Run(*window), 0);

  std::vector<intptr_t> moves;
  for (const Message& m : recorder_.log) {
    if (m.message == SaverMessage::MouseMove) moves.push_back(m.lParam);
    if (m.message == SaverMessage::Close) break;
  }
  ASSERT_EQ(moves.size(), std::size(path));  // the Close came after the last, far movement
  EXPECT_EQ(MouseX(moves.back()), 306);
  EXPECT_EQ(MouseY(moves.back()), 200);
  EXPECT_EQ(Count(SaverMessage::Close), 1);
  EXPECT_EQ(Count(SaverMessage::Destroy), 1);
}

TEST_F(SaverHostWindowTest, KeysReachTheProcedureWithTheirCodes) {
  auto window = MakeWindow(SaverMode::FullScreen);
  // Hot keys are eaten by the procedure, as the driver does; Alt+X ends the run.
  recorder_.handle = [](SaverHostWindow& w, const Message& m) -> intptr_t {
    if (m.message == SaverMessage::EraseBackground) {
      PostKey(w, Qt::Key_Tab);
      PostKey(w, Qt::Key_Plus, Qt::KeypadModifier);
      PostKey(w, Qt::Key_Minus, Qt::KeypadModifier);
      PostKey(w, Qt::Key_F12);
      PostKey(w, Qt::Key_X, Qt::AltModifier);
    }
    if (m.message == SaverMessage::KeyDown) return 0;
    return w.DefaultProc(m.message, m.wParam, m.lParam);
  };
  ASSERT_EQ(window->Start(), SaverHostWindow::StartResult::Started);
  EXPECT_EQ(Run(*window), 0);

  std::vector<std::pair<SaverMessage, uintptr_t>> keys;
  for (const Message& m : recorder_.log)
    if (m.message == SaverMessage::KeyDown || m.message == SaverMessage::SysKeyDown) keys.emplace_back(m.message, m.wParam);
  const std::vector<std::pair<SaverMessage, uintptr_t>> expected = {
      {SaverMessage::KeyDown, vk::kTab},   {SaverMessage::KeyDown, vk::kAdd},
      {SaverMessage::KeyDown, vk::kSubtract}, {SaverMessage::KeyDown, vk::kF12},
      {SaverMessage::SysKeyDown, vk::kA + 23}};
  EXPECT_EQ(keys, expected);
  EXPECT_GT(IndexOf(SaverMessage::Close), IndexOf(SaverMessage::SysKeyDown));
}

TEST_F(SaverHostWindowTest, ButtonsEndTheSaverAndCarryThePosition) {
  auto window = MakeWindow(SaverMode::FullScreen);
  recorder_.handle = [](SaverHostWindow& w, const Message& m) -> intptr_t {
    if (m.message == SaverMessage::EraseBackground) {
      const QPointF at(17, 23);
      QCoreApplication::postEvent(&w, new QMouseEvent(QEvent::MouseButtonPress, at, at, at, Qt::RightButton,
                                                      Qt::RightButton, Qt::NoModifier));
    }
    return w.DefaultProc(m.message, m.wParam, m.lParam);
  };
  ASSERT_EQ(window->Start(), SaverHostWindow::StartResult::Started);
  EXPECT_EQ(Run(*window), 0);
  const int press = IndexOf(SaverMessage::RightButtonDown);
  ASSERT_GE(press, 0);
  EXPECT_EQ(recorder_.log[press].lParam, PackMousePosition(17, 23));
  EXPECT_GT(IndexOf(SaverMessage::Close), press);
}

TEST_F(SaverHostWindowTest, PointerMovesDoNotEndANormalWindow) {
  auto window = MakeWindow(SaverMode::Window);
  recorder_.handle = [](SaverHostWindow& w, const Message& m) -> intptr_t {
    if (m.message == SaverMessage::EraseBackground) {
      PostMove(w, 10, 10);
      PostMove(w, 200, 150);
      PostKey(w, Qt::Key_Q);
    }
    return w.DefaultProc(m.message, m.wParam, m.lParam);
  };
  ASSERT_EQ(window->Start(), SaverHostWindow::StartResult::Started);
  EXPECT_EQ(Run(*window), 0);
  EXPECT_EQ(Count(SaverMessage::MouseMove), 2);
  EXPECT_GT(IndexOf(SaverMessage::Close), IndexOf(SaverMessage::KeyDown));
}

TEST_F(SaverHostWindowTest, TheProcedureMayIgnoreACloseRequest) {
  auto window = MakeWindow(SaverMode::Window);
  int closes = 0;
  recorder_.handle = [&](SaverHostWindow& w, const Message& m) -> intptr_t {
    if (m.message == SaverMessage::EraseBackground) w.close();  // as the window manager's close button
    if (m.message == SaverMessage::Close && ++closes == 1) {
      QMetaObject::invokeMethod(&w, [&w] { w.close(); }, Qt::QueuedConnection);
      return 0;  // ignored: the window stays
    }
    return w.DefaultProc(m.message, m.wParam, m.lParam);
  };
  ASSERT_EQ(window->Start(), SaverHostWindow::StartResult::Started);
  EXPECT_EQ(Run(*window), 0);
  EXPECT_EQ(Count(SaverMessage::Close), 2);
  EXPECT_EQ(Count(SaverMessage::Destroy), 1);
  EXPECT_EQ(recorder_.log.back().message, SaverMessage::Destroy);
}

TEST_F(SaverHostWindowTest, OnlyTheFirstExposeErases) {
  auto window = MakeWindow(SaverMode::Window);
  bool reshown = false;
  recorder_.handle = [&](SaverHostWindow& w, const Message& m) -> intptr_t {
    if (m.message == SaverMessage::EraseBackground && !reshown) {
      reshown = true;
      QMetaObject::invokeMethod(
          &w,
          [&w] {
            w.hide();
            w.show();  // exposed again
            QMetaObject::invokeMethod(&w, [&w] { w.DestroyNow(); }, Qt::QueuedConnection);
          },
          Qt::QueuedConnection);
    }
    return w.DefaultProc(m.message, m.wParam, m.lParam);
  };
  ASSERT_EQ(window->Start(), SaverHostWindow::StartResult::Started);
  EXPECT_EQ(Run(*window), 0);
  EXPECT_TRUE(reshown);
  EXPECT_EQ(Count(SaverMessage::EraseBackground), 1);
}

TEST_F(SaverHostWindowTest, InvalidateWithEraseAsksForAnotherErase) {
  auto window = MakeWindow(SaverMode::Window);
  int erases = 0;
  recorder_.handle = [&erases](SaverHostWindow& w, const Message& m) -> intptr_t {
    if (m.message == SaverMessage::EraseBackground) {
      if (++erases == 1) {
        w.InvalidateWithErase();
      } else {
        w.DestroyNow();
      }
    }
    return w.DefaultProc(m.message, m.wParam, m.lParam);
  };
  ASSERT_EQ(window->Start(), SaverHostWindow::StartResult::Started);
  EXPECT_EQ(Run(*window), 0);
  EXPECT_EQ(Count(SaverMessage::EraseBackground), 2);
}

TEST_F(SaverHostWindowTest, LosingActivationIsReported) {
  auto window = MakeWindow(SaverMode::Window);
  QWindow other;
  recorder_.handle = [&other](SaverHostWindow& w, const Message& m) -> intptr_t {
    if (m.message == SaverMessage::Activate && m.wParam == 1) {
      other.show();
      other.requestActivate();
    }
    if (m.message == SaverMessage::Activate && m.wParam == 0) w.DestroyNow();
    return w.DefaultProc(m.message, m.wParam, m.lParam);
  };
  ASSERT_EQ(window->Start(), SaverHostWindow::StartResult::Started);
  window->requestActivate();
  EXPECT_EQ(Run(*window), 0);
  const int on = IndexOf(SaverMessage::Activate, 1);
  const int off = IndexOf(SaverMessage::Activate, 0);
  ASSERT_GE(on, 0);
  EXPECT_GT(off, on);
  EXPECT_EQ(Count(SaverMessage::Close), 0);  // deactivation alone never ends the saver
}

TEST_F(SaverHostWindowTest, EmbeddingIntoAMissingWindowFailsBeforeCreate) {
  auto window = MakeWindow(SaverMode::Embedded, 0x7ffffff1);
  EXPECT_EQ(window->Start(), SaverHostWindow::StartResult::NoParentWindow);
  window.reset();
  EXPECT_TRUE(recorder_.log.empty());
}

// What the window shows at its centre, as the screen has it.
QRgb ShownAtCentre(SaverHostWindow& window) {
  const QImage shown = window.screen()->grabWindow(window.winId()).toImage();
  return shown.isNull() ? 0 : shown.pixel(shown.width() / 2, shown.height() / 2);
}

QRgb ShownAt(SaverHostWindow& window, double fx, double fy) {
  const QImage shown = window.screen()->grabWindow(window.winId()).toImage();
  if (shown.isNull()) return 0;
  return shown.pixel(static_cast<int>(fx * (shown.width() - 1)), static_cast<int>(fy * (shown.height() - 1)));
}

constexpr uint32_t kGreen = 0xFF00C000u, kBlue = 0xFF0000E0u;

// Left half in entry 7, right half in entry 8.
void DrawHalves(gdi::FrameSurface& surface) {
  surface.Palette().SetEntry(gdi::PixelOfEntry(7), kGreen);
  surface.Palette().SetEntry(gdi::PixelOfEntry(8), kBlue);
  const int w = surface.Width(), h = surface.Height();
  surface.FillRect({0, 0, w / 2, h}, gdi::Brush::Solid(gdi::PaletteIndex(7)));
  surface.FillRect({w / 2, 0, w, h}, gdi::Brush::Solid(gdi::PaletteIndex(8)));
  surface.Flush();
}

TEST_F(SaverHostWindowTest, FramesAndPaletteTicksReachTheScreen) {
  auto window = MakeWindow(SaverMode::Window);
  QTimer watcher;
  recorder_.handle = [&](SaverHostWindow& w, const Message& m) -> intptr_t {
    if (m.message == SaverMessage::EraseBackground) {
      // As the render thread would: draw with an animated entry and flush.
      w.Surface().Palette().SetEntry(gdi::PixelOfEntry(7), kGreen);
      w.Surface().FillRect(w.Surface().ClientRect(), gdi::Brush::Solid(gdi::PaletteIndex(7)));
      w.Surface().Flush();
      watcher.start(10);
    }
    return w.DefaultProc(m.message, m.wParam, m.lParam);
  };
  std::vector<QRgb> seen;
  QObject::connect(&watcher, &QTimer::timeout, [&] {
    const QRgb shown = ShownAtCentre(*window);
    if (seen.empty() || seen.back() != shown) seen.push_back(shown);
    if (shown == kGreen) {
      // A palette tick without a new frame recolours the picture.
      window->Surface().Palette().SetEntry(gdi::PixelOfEntry(7), kBlue);
    } else if (shown == kBlue) {
      window->DestroyNow();
    }
  });
  ASSERT_EQ(window->Start(), SaverHostWindow::StartResult::Started);
  EXPECT_EQ(Run(*window), 0);
  ASSERT_GE(seen.size(), 2u);
  EXPECT_EQ(seen[seen.size() - 2], kGreen);
  EXPECT_EQ(seen.back(), kBlue);
}

TEST_F(SaverHostWindowTest, ChangedRowsReachTheScreenAndTheOthersStay) {
  auto window = MakeWindow(SaverMode::Window);
  QTimer watcher;
  recorder_.handle = [&](SaverHostWindow& w, const Message& m) -> intptr_t {
    if (m.message == SaverMessage::EraseBackground) {
      DrawHalves(w.Surface());
      watcher.start(10);
    }
    return w.DefaultProc(m.message, m.wParam, m.lParam);
  };
  bool redrawn = false;
  QRgb untouched = 0, right = 0;
  QObject::connect(&watcher, &QTimer::timeout, [&] {
    if (!redrawn && ShownAt(*window, 0.25, 0.9) == kGreen) {
      // Only the top rows change: the left half turns blue there.
      gdi::FrameSurface& surface = window->Surface();
      surface.FillRect({0, 0, surface.Width() / 2, surface.Height() / 4}, gdi::Brush::Solid(gdi::PaletteIndex(8)));
      surface.Flush();
      redrawn = true;
    } else if (redrawn && ShownAt(*window, 0.25, 0.1) == kBlue) {
      untouched = ShownAt(*window, 0.25, 0.9);
      right = ShownAt(*window, 0.75, 0.1);
      window->DestroyNow();
    }
  });
  ASSERT_EQ(window->Start(), SaverHostWindow::StartResult::Started);
  EXPECT_EQ(Run(*window), 0);
  EXPECT_TRUE(redrawn);
  EXPECT_EQ(untouched, kGreen);
  EXPECT_EQ(right, kBlue);
}

TEST_F(SaverHostWindowTest, AResizedWindowStillShowsTheWholePicture) {
  auto window = MakeWindow(SaverMode::Window);
  QTimer watcher;
  recorder_.handle = [&](SaverHostWindow& w, const Message& m) -> intptr_t {
    if (m.message == SaverMessage::EraseBackground) {
      DrawHalves(w.Surface());
      watcher.start(10);
    }
    return w.DefaultProc(m.message, m.wParam, m.lParam);
  };
  QSize after;  // smaller than the window's first size, set once it is known
  bool resized = false, redrawn = false;
  std::vector<QRgb> corners;
  QObject::connect(&watcher, &QTimer::timeout, [&] {
    if (!resized && ShownAt(*window, 0.25, 0.5) == kGreen) {
      window->resize(after);
      resized = true;
    } else if (resized && !redrawn &&
               window->screen()->grabWindow(window->winId()).size() == after * window->devicePixelRatio() &&
               ShownAt(*window, 0.99, 0.99) == kBlue) {
      corners = {ShownAt(*window, 0.0, 0.0), ShownAt(*window, 0.0, 1.0), ShownAt(*window, 1.0, 0.0),
                 ShownAt(*window, 1.0, 1.0)};
      // Bottom rows of the surface change; in the smaller window they are elsewhere.
      gdi::FrameSurface& surface = window->Surface();
      const int w = surface.Width(), h = surface.Height();
      surface.FillRect({0, h - h / 4, w / 2, h}, gdi::Brush::Solid(gdi::PaletteIndex(8)));
      surface.Flush();
      redrawn = true;
    } else if (redrawn && ShownAt(*window, 0.25, 0.95) == kBlue) {
      window->DestroyNow();
    }
  });
  ASSERT_EQ(window->Start(), SaverHostWindow::StartResult::Started);
  const QSize drawn(window->Surface().Width(), window->Surface().Height());
  after = QSize(drawn.width() * 3 / 5, drawn.height() * 2 / 3);
  EXPECT_EQ(Run(*window), 0);
  // The surface keeps its size; the picture is scaled over the whole window.
  EXPECT_EQ(QSize(window->Surface().Width(), window->Surface().Height()), drawn);
  EXPECT_EQ(corners, (std::vector<QRgb>{kGreen, kGreen, kBlue, kBlue}));
}

TEST_F(SaverHostWindowTest, CommandLineAndSurface) {
  auto window = MakeWindow(SaverMode::Window);
  recorder_.handle = [](SaverHostWindow& w, const Message& m) -> intptr_t {
    if (m.message == SaverMessage::EraseBackground) w.DestroyNow();
    return w.DefaultProc(m.message, m.wParam, m.lParam);
  };
  ASSERT_EQ(window->Start(), SaverHostWindow::StartResult::Started);
  EXPECT_EQ(window->CommandLine(), (std::vector<std::string>{"fluxo", "/s"}));
  EXPECT_EQ(window->Surface().Width(), window->ClientWidth());
  EXPECT_EQ(window->Surface().Height(), window->ClientHeight());
  EXPECT_GT(window->ClientWidth(), 0);
  EXPECT_EQ(Run(*window), 0);
}

}  // namespace
}  // namespace fluxo
