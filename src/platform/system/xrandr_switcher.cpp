#include <dlfcn.h>

#include <algorithm>
#include <optional>

#include "platform/system/screen_modes.h"

namespace fluxo {
namespace {

// The few X11 and XRandR types the switcher passes through, declared here so
// the program needs neither the libraries nor their headers to build.
struct Display;
struct ScreenConfiguration;
using Window = unsigned long;
using Rotation = unsigned short;
using SizeId = unsigned short;
using Time = unsigned long;
using Crtc = unsigned long;
using Mode = unsigned long;
constexpr Time kCurrentTime = 0;
constexpr int kSetConfigSuccess = 0;

struct XScreenSize {
  int width, height, mwidth, mheight;
};
struct XPixmapFormat {
  int depth, bitsPerPixel, scanlinePad;
};
struct XScreenResources {  // leading fields only; always freed by the library
  Time timestamp, configTimestamp;
  int ncrtc;
  Crtc* crtcs;
};
struct XCrtcInfo {  // leading fields only; always freed by the library
  Time timestamp;
  int x, y;
  unsigned width, height;
  Mode mode;
};

struct XlibCalls {
  Display* (*openDisplay)(const char*);
  int (*closeDisplay)(Display*);
  Window (*defaultRootWindow)(Display*);
  int (*defaultScreen)(Display*);
  int (*defaultDepth)(Display*, int);
  XPixmapFormat* (*listPixmapFormats)(Display*, int*);
  int (*free)(void*);
  int (*sync)(Display*, int);
};

struct XRandRCalls {
  int (*queryExtension)(Display*, int*, int*);
  ScreenConfiguration* (*getScreenInfo)(Display*, Window);
  void (*freeScreenConfigInfo)(ScreenConfiguration*);
  XScreenSize* (*configSizes)(ScreenConfiguration*, int*);
  short* (*configRates)(ScreenConfiguration*, int, int*);
  SizeId (*configCurrentConfiguration)(ScreenConfiguration*, Rotation*);
  short (*configCurrentRate)(ScreenConfiguration*);
  int (*setScreenConfig)(Display*, ScreenConfiguration*, Window, int, Rotation, Time);
  int (*setScreenConfigAndRate)(Display*, ScreenConfiguration*, Window, int, Rotation, short, Time);
  XScreenResources* (*getScreenResourcesCurrent)(Display*, Window);
  void (*freeScreenResources)(XScreenResources*);
  XCrtcInfo* (*getCrtcInfo)(Display*, XScreenResources*, Crtc);
  void (*freeCrtcInfo)(XCrtcInfo*);
};

template <typename Function>
bool Resolve(void* library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(dlsym(library, name));
  return function != nullptr;
}

bool ResolveXlib(void* library, XlibCalls& x) {
  return Resolve(library, "XOpenDisplay", x.openDisplay) && Resolve(library, "XCloseDisplay", x.closeDisplay) &&
         Resolve(library, "XDefaultRootWindow", x.defaultRootWindow) &&
         Resolve(library, "XDefaultScreen", x.defaultScreen) && Resolve(library, "XDefaultDepth", x.defaultDepth) &&
         Resolve(library, "XListPixmapFormats", x.listPixmapFormats) && Resolve(library, "XFree", x.free) &&
         Resolve(library, "XSync", x.sync);
}

bool ResolveXRandR(void* library, XRandRCalls& r) {
  return Resolve(library, "XRRQueryExtension", r.queryExtension) &&
         Resolve(library, "XRRGetScreenInfo", r.getScreenInfo) &&
         Resolve(library, "XRRFreeScreenConfigInfo", r.freeScreenConfigInfo) &&
         Resolve(library, "XRRConfigSizes", r.configSizes) && Resolve(library, "XRRConfigRates", r.configRates) &&
         Resolve(library, "XRRConfigCurrentConfiguration", r.configCurrentConfiguration) &&
         Resolve(library, "XRRConfigCurrentRate", r.configCurrentRate) &&
         Resolve(library, "XRRSetScreenConfig", r.setScreenConfig) &&
         Resolve(library, "XRRSetScreenConfigAndRate", r.setScreenConfigAndRate) &&
         Resolve(library, "XRRGetScreenResourcesCurrent", r.getScreenResourcesCurrent) &&
         Resolve(library, "XRRFreeScreenResources", r.freeScreenResources) &&
         Resolve(library, "XRRGetCrtcInfo", r.getCrtcInfo) && Resolve(library, "XRRFreeCrtcInfo", r.freeCrtcInfo);
}

// The screen's size configuration as the server reports it now; each change
// needs a fresh one, since the server refuses changes based on an old one.
class ScreenInfo {
 public:
  ScreenInfo(const XRandRCalls& r, Display* display, Window root) : r_(r), info_(r.getScreenInfo(display, root)) {}
  ~ScreenInfo() {
    if (info_) r_.freeScreenConfigInfo(info_);
  }
  ScreenInfo(const ScreenInfo&) = delete;
  ScreenInfo& operator=(const ScreenInfo&) = delete;

  ScreenConfiguration* get() const { return info_; }
  explicit operator bool() const { return info_ != nullptr; }

 private:
  const XRandRCalls& r_;
  ScreenConfiguration* info_;
};

class XRandRSwitcher final : public ScreenModeSwitcher {
 public:
  ~XRandRSwitcher() override {
    if (display_) x_.closeDisplay(display_);
    if (xrandr_) dlclose(xrandr_);
    if (xlib_) dlclose(xlib_);
  }

  bool Open() override {
    if (display_) return true;
    if (!xlib_) xlib_ = dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL);
    if (!xrandr_) xrandr_ = dlopen("libXrandr.so.2", RTLD_NOW | RTLD_LOCAL);
    if (!xlib_ || !xrandr_ || !ResolveXlib(xlib_, x_) || !ResolveXRandR(xrandr_, r_)) return false;
    display_ = x_.openDisplay(nullptr);
    if (!display_) return false;
    int eventBase = 0, errorBase = 0;
    if (!r_.queryExtension(display_, &eventBase, &errorBase)) {
      x_.closeDisplay(display_);
      display_ = nullptr;
      return false;
    }
    root_ = x_.defaultRootWindow(display_);
    return true;
  }

  std::vector<ScreenMode> Modes() override {
    std::vector<ScreenMode> modes;
    if (!display_) return modes;
    ScreenInfo info(r_, display_, root_);
    if (!info) return modes;
    const int bits = BitsPerPixel();
    int count = 0;
    XScreenSize* sizes = r_.configSizes(info.get(), &count);
    for (int i = 0; i < count; ++i) {
      int rateCount = 0;
      short* rates = r_.configRates(info.get(), i, &rateCount);
      const short best = rateCount > 0 ? *std::max_element(rates, rates + rateCount) : 0;
      modes.push_back({sizes[i].width, sizes[i].height, bits, std::max<int>(best, 0)});
    }
    return modes;
  }

  bool SetMode(int width, int height) override {
    // The whole-screen change would switch off the other monitors and not
    // bring them back, so several lit monitors keep their modes.
    if (!display_ || LitMonitors() > 1) return false;
    ScreenInfo info(r_, display_, root_);
    if (!info) return false;
    Rotation rotation = 0;
    const SizeId current = r_.configCurrentConfiguration(info.get(), &rotation);
    const std::optional<int> wanted = SizeIndex(info, width, height);
    if (!wanted) return false;
    if (*wanted == current) return true;
    const Original before{current, rotation, r_.configCurrentRate(info.get())};
    if (r_.setScreenConfig(display_, info.get(), root_, *wanted, rotation, kCurrentTime) != kSetConfigSuccess)
      return false;
    x_.sync(display_, 0);
    if (!original_) original_ = before;
    return true;
  }

  bool RestoreMode() override {
    if (!original_) return true;
    if (!display_) return false;
    ScreenInfo info(r_, display_, root_);
    if (!info) return false;
    const int status = r_.setScreenConfigAndRate(display_, info.get(), root_, original_->size, original_->rotation,
                                                 original_->rate, kCurrentTime);
    x_.sync(display_, 0);
    if (status != kSetConfigSuccess) return false;
    original_.reset();
    return true;
  }

 private:
  struct Original {
    SizeId size;
    Rotation rotation;
    short rate;
  };

  std::optional<int> SizeIndex(const ScreenInfo& info, int width, int height) const {
    int count = 0;
    XScreenSize* sizes = r_.configSizes(info.get(), &count);
    for (int i = 0; i < count; ++i)
      if (sizes[i].width == width && sizes[i].height == height) return i;
    return std::nullopt;
  }

  int LitMonitors() const {
    XScreenResources* resources = r_.getScreenResourcesCurrent(display_, root_);
    if (!resources) return 1;  // a server without monitor control has one screen
    int lit = 0;
    for (int i = 0; i < resources->ncrtc; ++i) {
      if (XCrtcInfo* crtc = r_.getCrtcInfo(display_, resources, resources->crtcs[i])) {
        lit += crtc->mode != 0;
        r_.freeCrtcInfo(crtc);
      }
    }
    r_.freeScreenResources(resources);
    return lit;
  }

  // What a pixel of the screen's depth takes in memory (24-bit colour is
  // usually kept in 32 bits), as the display settings of the platform count it.
  int BitsPerPixel() const {
    const int depth = x_.defaultDepth(display_, x_.defaultScreen(display_));
    int count = 0;
    XPixmapFormat* formats = x_.listPixmapFormats(display_, &count);
    int bits = depth;
    for (int i = 0; i < count; ++i)
      if (formats[i].depth == depth) bits = formats[i].bitsPerPixel;
    if (formats) x_.free(formats);
    return bits;
  }

  void* xlib_ = nullptr;
  void* xrandr_ = nullptr;
  XlibCalls x_{};
  XRandRCalls r_{};
  Display* display_ = nullptr;
  Window root_ = 0;
  std::optional<Original> original_;
};

}  // namespace

std::unique_ptr<ScreenModeSwitcher> MakeXRandRSwitcher() { return std::make_unique<XRandRSwitcher>(); }

}  // namespace fluxo
