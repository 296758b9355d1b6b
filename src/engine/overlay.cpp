#include "engine/overlay.h"

#include <algorithm>
#include <string>

#include "modules/kit/overlay_boxes.h"
#include "platform/system/tick_count.h"
#include "settings/main_settings.h"
#include "settings/saved_displays.h"
#include "settings/settings_store.h"
#include "sound/sound_feed.h"

namespace fluxo {
namespace {

constexpr uint32_t kHidden = 0xFFFFFFFFu;
constexpr uint32_t kInfoShowMs = 4221;
constexpr uint32_t kSloganShowMs = 6213;
// A box is its text plus 29 pixels of frame and padding on every side.
constexpr int kPadding = 29;
constexpr int kFrameWidth = 2 * kPadding;
constexpr int kFrameHeight = 44;
constexpr int kSloganSize = 80;
constexpr size_t kInfoTextSize = 64;
// Longer "ShowName" times would put the deadline beyond wrap-safe reach.
constexpr uint32_t kLongestNameSeconds = 2147483;

struct OverlayState {
  uint32_t lastTrack = kHidden;
  std::string lastName;
  std::string slogan;
  bool sloganPending = false;
  bool sloganDue = false;  // shown on the first pass, once
};

OverlayState g_overlay;

bool Visible(const OverlayBoxState& box) { return box.hideTime != kHidden; }

bool Expired(const OverlayBoxState& box, uint32_t now) { return Visible(box) && TickIsPast(now, box.hideTime); }

gdi::Rect Inset(const gdi::Rect& r, int by) { return {r.left + by, r.top + by, r.right - by, r.bottom - by}; }

// Only a box on screen is blacked out, so an area that never showed a box
// keeps the animation.
void EraseBox(gdi::FrameSurface& surface, OverlayBoxState& box) {
  if (!Visible(box)) return;
  surface.SelectClipRegion(nullptr);
  surface.FillRect(box.rect, gdi::Brush::StockBlack());
  box.hideTime = kHidden;
  ExcludeOverlayBoxes(surface);
}

// A box is drawn whole even when a module left a narrower clip region
// behind; only the other visible boxes are kept free.
void ShowBox(gdi::FrameSurface& surface, OverlayBoxState& box, const gdi::Rect& rect, std::string_view text,
             uint32_t hideTime) {
  surface.SelectClipRegion(nullptr);
  ExcludeOverlayBoxes(surface);
  box.rect = rect;
  box.hideTime = hideTime == kHidden ? hideTime - 1 : hideTime;  // a deadline that happens to be all-ones
  DrawOverlayBox(surface, rect, text);
}

}  // namespace

void StartOverlay() {
  g_overlay = OverlayState{};
  ResetOverlayBoxes();
  char slogan[kSloganSize + 1] = {};
  g_overlay.sloganPending = ReadSetting("Slogan", SettingsKeyName(), reg::kRegSz, slogan, kSloganSize) != 0;
  g_overlay.slogan = slogan;
  g_overlay.sloganDue = g_overlay.sloganPending;
}

void DrawOverlayBoxes(gdi::FrameSurface& surface) {
  UpdateInfoBox(surface);
  UpdateNameBox(surface);
  UpdateSloganBox(surface);
}

void UpdateInfoBox(gdi::FrameSurface& surface) {
  OverlayBoxState& box = OverlayBoxes()[kTrackInfoBox];
  const uint32_t now = GetTickCount();
  SoundFeedBlock* feed = SoundFeed();
  // A box whose time is up goes even when the companion has stopped meanwhile.
  if (!feed || !feed->U32(feed::kCompanionActive)) {
    if (Expired(box, now)) EraseBox(surface, box);
    return;
  }
  const uint32_t serial = feed->U32(feed::kInfoSerial);
  if (Expired(box, now) || serial != g_overlay.lastTrack) EraseBox(surface, box);
  if (!Main().showInfo || serial == g_overlay.lastTrack) return;
  g_overlay.lastTrack = serial;

  const std::string line1 = feed->Text(feed::kInfoText1, kInfoTextSize);
  const std::string line2 = feed->Text(feed::kInfoText2, kInfoTextSize);
  const std::string line3 = feed->Text(feed::kInfoText3, kInfoTextSize);
  if (line2.empty()) return;
  const int widest = std::max({surface.MeasureText(line1), surface.MeasureText(line2), surface.MeasureText(line3)});
  const int width = widest + kFrameWidth;
  const int height = surface.TextHeight() * 3 + kFrameHeight;
  const gdi::Rect client = surface.ClientRect();
  const gdi::Rect rect{0, client.bottom - height, width, client.bottom};
  if (rect.top > 50 && rect.right < client.right - 40)
    ShowBox(surface, box, rect, line2 + "\n" + line1 + "\n" + line3, now + kInfoShowMs);
}

void UpdateNameBox(gdi::FrameSurface& surface) {
  const uint32_t showSeconds = std::min(Main().showName, kLongestNameSeconds);
  if (showSeconds == 0) return;
  OverlayBoxState& box = OverlayBoxes()[kDisplayNameBox];
  const uint32_t now = GetTickCount();
  const std::string name = CurrentDisplayName();
  if (Expired(box, now) || name != g_overlay.lastName) EraseBox(surface, box);
  if (name == g_overlay.lastName) return;
  g_overlay.lastName = name;

  const int half = surface.MeasureText(name) / 2 + kPadding;
  const int height = surface.TextHeight() + kFrameHeight;
  const gdi::Rect client = surface.ClientRect();
  const gdi::Rect rect{client.right / 2 - half, 0, client.right / 2 + half, height};
  if (rect.left >= 51 && rect.bottom < client.bottom - 40) ShowBox(surface, box, rect, name, now + showSeconds * 1000);
}

void UpdateSloganBox(gdi::FrameSurface& surface) {
  if (!g_overlay.sloganPending) return;
  OverlayBoxState& box = OverlayBoxes()[kSloganBox];
  const uint32_t now = GetTickCount();
  if (Expired(box, now)) {
    EraseBox(surface, box);
    g_overlay.sloganPending = false;  // never again in this run
    return;
  }
  if (!g_overlay.sloganDue) return;
  g_overlay.sloganDue = false;
  const gdi::Rect client = surface.ClientRect();
  const gdi::Rect rect{client.right - (surface.MeasureText(g_overlay.slogan) + kFrameWidth),
                       client.bottom - (surface.TextHeight() + kFrameHeight), client.right, client.bottom};
  if (rect.top >= 51 && rect.left >= 41) ShowBox(surface, box, rect, g_overlay.slogan, now + kSloganShowMs);
}

void DrawOverlayBox(gdi::FrameSurface& surface, const gdi::Rect& rect, std::string_view text) {
  surface.DrawEdge(rect, gdi::kEdgeSunken, gdi::kBorderRect | gdi::kBorderMiddle);
  surface.DrawEdge(Inset(rect, 8), gdi::kEdgeRaised, gdi::kBorderRect);
  surface.DrawEdge(Inset(rect, 6), gdi::kEdgeEtched, gdi::kBorderRect);
  gdi::Rect textRect = Inset(rect, 16);
  surface.SetBackgroundMode(gdi::BackgroundMode::Transparent);
  surface.SetTextColor(gdi::kBlack);
  // The platform centres vertically only single-line text.
  const bool oneLine = text.find('\n') == std::string_view::npos;
  surface.DrawText(text, textRect, gdi::kTextCenter | (oneLine ? gdi::kTextSingleLine | gdi::kTextVCenter : 0u));
  ExcludeOverlayBoxes(surface);
}

}  // namespace fluxo
