#include "host/saver_host_window.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QtGui/qguiapplication_platform.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "host/foreign_window.h"
#include "host/key_mapping.h"
#include "host/presenter_choice.h"
#include "platform/system/startup_trace.h"

namespace fluxo {
namespace {

constexpr QSize kWindowedSize(800, 600);
constexpr int kParentPollMs = 250;
constexpr double kDefaultRefreshHz = 60.0;

double RefreshRateOf(const QScreen* screen) {
  const double hz = screen ? screen->refreshRate() : 0.0;
  return std::isfinite(hz) && hz >= 1.0 ? hz : kDefaultRefreshHz;
}

}  // namespace

SaverHostWindow::SaverHostWindow(const SaverSwitches& switches, SaverProcedure procedure,
                                 std::vector<std::string> commandLine)
    : switches_(switches),
      procedure_(procedure),
      commandLine_(std::move(commandLine)),
      palette_(std::make_shared<gdi::PaletteTable>()),
      parts_(std::make_shared<gdi::PresentedSurface>()),
      presenter_(parts_->exchange, *palette_) {
  if (TraceEnabled()) {
    tally_ = std::make_unique<PresentTally>(
        [](const std::string& line) { std::fprintf(stderr, "fluxo %s\n", line.c_str()); });
  }
  refreshTimer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&refreshTimer_, &QTimer::timeout, this, [this] { PresentNextFrame(); });
  QObject::connect(&parentTimer_, &QTimer::timeout, this, [this] { FollowParent(); });
  QObject::connect(this, &QWindow::activeChanged, this,
                   [this] { Send(SaverMessage::Activate, isActive() ? 1 : 0, 0); });
  QObject::connect(qGuiApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
    Send(SaverMessage::ActivateApp, state == Qt::ApplicationActive ? 1 : 0, 0);
  });
}

SaverHostWindow::~SaverHostWindow() {
  DestroyWindow();
  if (foreignParent_) {
    // The foreign wrapper is our QObject parent; let go of it before it goes.
    destroy();
    setParent(nullptr);
    foreignParent_.reset();
  }
}

bool SaverHostWindow::FitToMode() {
  setTitle(QStringLiteral("Fluxo"));  // also names the window for window managers and tools
  switch (switches_.mode) {
    case SaverMode::FullScreen:
    case SaverMode::PlayFile:
      setFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
      setGeometry(screen()->geometry());
      setCursor(QCursor(Qt::BlankCursor));
      return true;
    case SaverMode::Embedded: {
      const std::optional<QSize> size = ForeignWindowSize(switches_.windowId);
      if (size) foreignParent_ = WrapForeignWindow(switches_.windowId);
      if (!foreignParent_) return false;
      setParent(foreignParent_.get());
      setGeometry(QRect(QPoint(0, 0), *size));
      return true;
    }
    default:
      resize(kWindowedSize.boundedTo(screen()->availableGeometry().size()));
      return true;
  }
}

void SaverHostWindow::CreateSurface() {
  const double hz = RefreshRateOf(screen());
  parts_->Create(std::make_unique<gdi::FrameSurface>(std::max(1, width()), std::max(1, height()), palette_),
                 std::make_unique<gdi::RefreshClock>(hz));
  // Rounded down, so the presenter never falls behind the render thread's pace.
  refreshTimer_.setInterval(std::max(1, static_cast<int>(1000.0 / hz)));
}

SaverHostWindow::StartResult SaverHostWindow::Start() {
  if (!FitToMode()) return StartResult::NoParentWindow;

  CreateSurface();
  AttachPresenter();

  created_ = true;
  if (procedure_(this, SaverMessage::Create, 0, 0) == -1) {
    DestroyWindow();
    return StartResult::CreateRefused;
  }
  TraceStartup("Create handled");

  if (switches_.mode == SaverMode::FullScreen || switches_.mode == SaverMode::PlayFile) {
    showFullScreen();
  } else {
    show();
  }
  TraceStartup("window shown");
  refreshTimer_.start();
  if (foreignParent_) parentTimer_.start(kParentPollMs);
  return StartResult::Started;
}

int SaverHostWindow::Exec() {
  if (!quitRequested_) loop_.exec();
  DestroyWindow();  // after PostQuit the window is still up
  return exitCode_;
}

int SaverHostWindow::ScreenWidth() const { return screen()->geometry().width(); }
int SaverHostWindow::ScreenHeight() const { return screen()->geometry().height(); }

bool SaverHostWindow::OwnsScreen() const {
  return switches_.mode == SaverMode::FullScreen || switches_.mode == SaverMode::PlayFile;
}

void SaverHostWindow::PlaceAtOrigin(int width, int height) {
  setGeometry(QRect(0, 0, width, height));
  // The render thread has not started yet: it draws at the new size from its first frame.
  if (!erased_) CreateSurface();
}

// A static call on the platform's integration: it needs no widget application.
void SaverHostWindow::Beep() { QApplication::beep(); }

void SaverHostWindow::PostQuit(int exitCode) {
  quitRequested_ = true;
  exitCode_ = exitCode;
  loop_.exit(exitCode);
}

void SaverHostWindow::InvalidateWithErase() {
  // As on the platform, the erase request arrives with the next paint, not at once.
  QMetaObject::invokeMethod(
      this, [this] { Send(SaverMessage::EraseBackground, 0, 0); }, Qt::QueuedConnection);
  requestUpdate();
}

// The preview and the X screen-saver window belong to a program that handles
// input itself, so input only ends saver windows of our own. A normal window
// is not ended by the pointer crossing it.
bool SaverHostWindow::EndsOnInput() const { return switches_.mode != SaverMode::Embedded; }

bool SaverHostWindow::EndsOnMovement() const {
  return switches_.mode == SaverMode::FullScreen || switches_.mode == SaverMode::PlayFile;
}

intptr_t SaverHostWindow::DefaultProc(SaverMessage message, uintptr_t, intptr_t lParam) {
  switch (message) {
    case SaverMessage::KeyDown:
    case SaverMessage::SysKeyDown:
    case SaverMessage::LeftButtonDown:
    case SaverMessage::RightButtonDown:
    case SaverMessage::MiddleButtonDown:
      if (EndsOnInput()) QueueClose();
      return 0;
    case SaverMessage::MouseMove:
      if (EndsOnMovement() && movement_.MovedTooFar(MouseX(lParam), MouseY(lParam))) QueueClose();
      return 0;
    case SaverMessage::Close:
      DestroyWindow();
      return 0;
    default:
      return 0;
  }
}

intptr_t SaverHostWindow::Send(SaverMessage message, uintptr_t wParam, intptr_t lParam) {
  if (!created_ || destroyed_) return 0;
  return procedure_(this, message, wParam, lParam);
}

void SaverHostWindow::QueueClose() {
  if (closeQueued_) return;
  closeQueued_ = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        closeQueued_ = false;
        Send(SaverMessage::Close, 0, 0);
      },
      Qt::QueuedConnection);
}

void SaverHostWindow::FollowParent() {
  const std::optional<QSize> size = ForeignWindowSize(switches_.windowId);
  if (!size) {
    DestroyWindow();  // the parent took our window with it
  } else if (*size != this->size()) {
    setGeometry(QRect(QPoint(0, 0), *size));
  }
}

void SaverHostWindow::AttachPresenter() {
  std::string warning;
  const PresenterRequest request = ParsePresenterRequest(std::getenv("FLUXO_PRESENTER"), warning);
  if (!warning.empty()) std::fprintf(stderr, "%s\n", warning.c_str());
  if (request == PresenterRequest::Raster || !AttachGlPresenter(request == PresenterRequest::Gl)) {
    AttachDirectPresenter();
  }
  const std::string chosen = gl_ ? "OpenGL on " + gl_->Renderer().toStdString() : std::string("raster");
  TraceStartup(("presenter chosen: " + chosen).c_str());
}

bool SaverHostWindow::AttachGlPresenter(bool forced) {
  QString failure = QStringLiteral("not on X");
  if (PlatformMayPresentWithGl(QGuiApplication::platformName().toStdString())) {
    // Without direct rendering there is only software OpenGL: not worth
    // loading a driver at every start to find that out.
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!forced && (!x11 || !OffersDirectRendering(XExtensionNames(x11->connection())))) return false;
    setSurfaceType(QSurface::OpenGLSurface);
    create();
    // Where the processor would run the shader, converting is cheaper.
    gl_ = GlPresenter::Create(*this, forced, failure);
    if (gl_) {
      presenter_.LookUpColoursWhenDrawing();
    } else {
      // Back to a window Qt can paint: a raster window is made anew.
      destroy();
      setSurfaceType(QSurface::RasterSurface);
    }
  }
  if (!gl_ && forced) {
    std::fprintf(stderr, "fluxo: cannot present with OpenGL (%s); presenting without it\n", qUtf8Printable(failure));
  }
  return gl_ != nullptr;
}

void SaverHostWindow::AttachDirectPresenter() {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (!x11) return;
  create();  // the native window, before Qt's first paint would make an image of its size
  direct_ = XShmPresenter::Create(x11->connection(), static_cast<xcb_window_t>(winId()));
}

bool SaverHostWindow::PresentDirectly(const QRegion& area) {
  // A high-density screen has more pixels than the frame: Qt scales it.
  if (!direct_ || devicePixelRatio() != 1.0 || !presenter_.SendTo(*direct_, area, size())) return false;
  if (!presenter_.FrameSize().isEmpty()) NoteFramePresented();
  return true;
}

void SaverHostWindow::PresentWithGl() {
  if (gl_->Present() && !presenter_.FrameSize().isEmpty()) NoteFramePresented();
}

void SaverHostWindow::NoteFramePresented() {
  if (framePresented_) return;
  framePresented_ = true;
  TraceStartup("first frame presented");
}

void SaverHostWindow::PresentNextFrame() {
  const QRegion changed = presenter_.Refresh();
  if (tally_) {
    int64_t pixels = 0;
    for (const QRect& r : changed) pixels += int64_t{r.width()} * r.height();
    tally_->Refreshed(pixels, presenter_.ColoursChanged());
  }
  if (gl_) {
    if (changed.isEmpty() && !presenter_.ColoursChanged()) return;
    // Uploaded even while hidden, so an expose finds the textures current.
    presenter_.UploadTo(*gl_, changed);
    PresentWithGl();
    return;
  }
  if (changed.isEmpty() || (isExposed() && PresentDirectly(changed))) return;
  // The rows of a frame scaled to the window are not the window's rows.
  if (presenter_.FrameSize() == size()) {
    update(changed);
  } else {
    update();
  }
}

void SaverHostWindow::DestroyWindow() {
  if (destroyed_) return;
  destroyed_ = true;
  refreshTimer_.stop();
  parentTimer_.stop();
  gl_.reset();
  direct_.reset();
  if (created_) procedure_(this, SaverMessage::Destroy, 0, 0);
  parts_->StopClock();
  hide();
  if (!quitRequested_) {
    quitRequested_ = true;
    exitCode_ = 0;
  }
  loop_.exit(exitCode_);
}

bool SaverHostWindow::event(QEvent* event) {
  if (event->type() == QEvent::Close) {
    // The procedure decides; its default destroys the window.
    event->ignore();
    Send(SaverMessage::Close, 0, 0);
    return true;
  }
  // Qt paints on these (an expose comes as a paint event too); the direct way
  // takes them without Qt making an image of the window.
  const bool paint = event->type() == QEvent::UpdateRequest || event->type() == QEvent::Paint;
  if (paint && gl_) {
    PresentWithGl();
    return true;
  }
  if (paint && isExposed() && PresentDirectly(QRegion(0, 0, width(), height()))) return true;
  return QRasterWindow::event(event);
}

void SaverHostWindow::exposeEvent(QExposeEvent* event) {
  if (isExposed() && !erased_) {
    erased_ = true;
    Send(SaverMessage::EraseBackground, 0, 0);
  }
  if (gl_) {
    PresentWithGl();
    return;
  }
  if (isExposed() && PresentDirectly(QRegion(0, 0, width(), height()))) return;
  QRasterWindow::exposeEvent(event);
}

void SaverHostWindow::paintEvent(QPaintEvent* event) {
  // Straight into the window's own image when it has the frame's size: no
  // picture of our own and no second copy. Other sizes (a window that changed
  // size, a high-density screen) get the picture scaled.
  QPaintDevice* device = redirected(nullptr);
  bool presented = device && device->devType() == QInternal::Image &&
                   presenter_.PaintInto(*static_cast<QImage*>(device), event->region());
  if (!presented) {
    QPainter painter(this);
    presented = presenter_.Draw(painter, QRect(QPoint(0, 0), size()));
  }
  if (presented) NoteFramePresented();
}

void SaverHostWindow::keyPressEvent(QKeyEvent* event) {
  const KeyMessage key = KeyMessageOf(event->key(), event->modifiers());
  Send(key.message, key.virtualKey, 0);
}

void SaverHostWindow::mousePressEvent(QMouseEvent* event) {
  SaverMessage message;
  switch (event->button()) {
    case Qt::LeftButton: message = SaverMessage::LeftButtonDown; break;
    case Qt::RightButton: message = SaverMessage::RightButtonDown; break;
    case Qt::MiddleButton: message = SaverMessage::MiddleButtonDown; break;
    default: return;  // the platform's saver knows these three buttons only
  }
  const QPoint at = event->position().toPoint();
  Send(message, 0, PackMousePosition(at.x(), at.y()));
}

void SaverHostWindow::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  Send(SaverMessage::MouseMove, 0, PackMousePosition(at.x(), at.y()));
}

}  // namespace fluxo
