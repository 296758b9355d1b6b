#include "modules/cyclic.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <memory>

#include "controls/controls.h"
#include "modules/kit/controls_in_range.h"
#include "modules/kit/module_surface.h"
#include "modules/kit/rotation.h"
#include "modules/kit/shape_stamp.h"
#include "modules/kit/tile_layout.h"
#include "modules/kit/tiled_stamp_line.h"
#include "modules/kit/trail_history.h"
#include "platform/system/random.h"
#include "platform/system/tick_count.h"

namespace fluxo {
namespace {

enum CyclicControl {
  kObjects = 0,
  kSpasticity = 1,
  kTrailLength = 2,
  kDiameter = 3,
  kPlanarSymmetry = 4,
  kObjectRotation = 5,
  kObjectSides = 6,
  kObjectType = 7,
  kDuration = 8,
  kXTiling = 10,
  kYTiling = 11,
  kTileType = 12,
  kDiameter2 = 14,
  kRotation2 = 15,
  kSides2 = 16,
  kDiameter3 = 17,
  kRotation3 = 18,
  kSides3 = 19,
};

constexpr int kHistoryFrames = 300;
constexpr int kMaxObjects = 101;
constexpr int kLastColour = 235;
constexpr int kPathKinds = 8;
constexpr float kSpinScale = 0.007f;
constexpr float kAutomaticSize = 80.0f;

// The stamp level each size and spin control drives.
constexpr std::array<int, 3> kSizeControls = {kDiameter, kDiameter2, kDiameter3};
constexpr std::array<int, 3> kSpinControls = {kObjectRotation, kRotation2, kRotation3};
constexpr std::array<int, 3> kSidesControls = {kObjectSides, kSides2, kSides3};

// What one frame drew with; the eraser replays it.
struct FrameRecord {
  kit::ShapeStamp stamp;
  std::array<float, 3> speed{};  // radians per frame of the three path angles
  int32_t symmetry = 1;
  int32_t columns = 1;
  int32_t rows = 1;
  int32_t tileType = 0;
};

struct CyclicObject {
  gdi::Point position;
  gdi::Point previous;
  float phase = 0;
};

// The objects and the path angles a0..a3 that move them.
struct ObjectRing {
  std::array<float, 4> angle{};
  std::array<CyclicObject, kMaxObjects> objects{};
};

struct CyclicModule {
  FrameRecord live;
  kit::TrailHistory<FrameRecord> history{kHistoryFrames};
  std::unique_ptr<ObjectRing> drawing;
  std::unique_ptr<ObjectRing> erasing;  // replays the drawing ring's moves in black
  int count = 0;
  int xKind = 1;
  int yKind = 1;
  int width = 0;
  int height = 0;
  gdi::Point centre;
  float amplitude = 0;
  int colour = 0;
  int colourStep = 1;
  bool automaticSize = false;
  float automaticPhase = 0;
  float automaticSpeed = 0;
  uint32_t deadline = 0;
};

CyclicModule g_cyclic;

float RandomFraction() { return static_cast<float>(Rand()) / 32767.0f; }

// The spasticity scale S divides the path speeds. At initialise a setting of
// 0 would divide by zero; it is taken as S = 1, as during play.
float InitialSpasticity(int v) {
  if (v > 0) return static_cast<float>(51 - v);
  return v == 0 ? 1.0f : 15.0f * static_cast<float>(std::abs(v));
}
float PlaySpasticity(int v) { return v > 0 ? static_cast<float>(51 - v) : 1.0f / static_cast<float>(1 - v); }

void DrawSpeeds(FrameRecord& record, float spasticity) {
  constexpr std::array<float, 3> kDivisors = {3.0f, 5.0f, 4.0f};
  for (int i = 0; i < 3; ++i) record.speed[i] = (RandomFraction() + 0.05f) / (spasticity * kDivisors[i]);
}

struct PathTerms {
  float amplitudeArgument;  // P: the argument of the amplitude sine
  float phaseFactor;        // Q: the factor of the object's phase
};

PathTerms PathOfKind(int kind, const std::array<float, 4>& a) {
  switch (kind) {
    case 1:
      return {a[0], std::cos(a[1])};
    case 2:
      return {a[0], std::sin(a[0] + a[1])};
    case 3:
      return {a[0] + a[1], std::sin(a[1])};
    case 4:
      return {a[0] + a[3], std::sin(a[1] + a[3])};
    case 5:
      return {a[0], std::sin(std::cos(a[1]) + a[3])};
    case 6:
      return {std::cos(a[0]) + a[3], std::sin(a[0])};
    case 7:
      return {a[3], std::sin(std::sin(a[3]) + a[3])};
    default:
      return {a[1] + a[3], std::sin(a[3])};
  }
}

void MoveRing(ObjectRing& ring, const FrameRecord& record) {
  const float a = g_cyclic.amplitude;
  const PathTerms px = PathOfKind(g_cyclic.xKind, ring.angle);
  const PathTerms py = PathOfKind(g_cyclic.yKind, ring.angle);
  for (int i = g_cyclic.count - 1; i >= 0; --i) {
    CyclicObject& o = ring.objects[i];
    o.previous.x = o.position.x;
    o.position.x = g_cyclic.centre.x +
                   static_cast<int32_t>(a * std::sin(px.amplitudeArgument) * std::sin(px.phaseFactor * o.phase));
  }
  for (int i = g_cyclic.count - 1; i >= 0; --i) {
    CyclicObject& o = ring.objects[i];
    o.previous.y = o.position.y;
    o.position.y = g_cyclic.centre.y +
                   static_cast<int32_t>(a * std::sin(py.amplitudeArgument) * std::cos(py.phaseFactor * o.phase));
  }
  for (int i = 0; i < 3; ++i) ring.angle[i] += record.speed[i];
  ring.angle[3] = std::sin(ring.angle[2]);
  const float drift = 0.01f * std::sin(ring.angle[0] + ring.angle[1]);
  for (int i = 0; i < g_cyclic.count; ++i) ring.objects[i].phase += drift;
}

// Each object's step as a stamped line; with symmetry, rotated copies whose
// angle runs on from one object to the next.
void DrawRing(const ObjectRing& ring, FrameRecord& record) {
  const kit::TileLayout layout =
      kit::TileLayout::ForSurface(g_cyclic.width, g_cyclic.height, record.columns, record.rows, record.tileType);
  const float step = 6.283f / static_cast<float>(record.symmetry);
  float angle = 0;
  for (int i = g_cyclic.count - 1; i >= 0; --i) {
    const CyclicObject& o = ring.objects[i];
    if (record.symmetry < 2) {
      kit::StampLineInTiles(layout, record.stamp, o.position, o.previous);
      continue;
    }
    for (int k = 0; k < record.symmetry; ++k) {
      kit::StampLineInTiles(layout, record.stamp, kit::RotateAbout(o.position, g_cyclic.centre, angle),
                            kit::RotateAbout(o.previous, g_cyclic.centre, angle));
      angle += step;
    }
  }
  for (int i = 0; i < 3; ++i) record.stamp.angle[i] += record.stamp.spin[i];
}

void StartRing(ObjectRing& ring) {
  ring.angle = {};
  const float step = 6.283184f / static_cast<float>(g_cyclic.count);
  float phase = 0;
  for (int i = g_cyclic.count - 1; i >= 0; --i) {
    ring.objects[i].position = g_cyclic.centre;
    ring.objects[i].phase = phase;
    phase += step;
  }
}

void EraseTailFrame() {
  FrameRecord recorded = g_cyclic.history.Tail();
  kit::SelectStampColour(recorded.stamp, gdi::kBlack);
  MoveRing(*g_cyclic.erasing, recorded);
  DrawRing(*g_cyclic.erasing, recorded);
  kit::ReleaseStampColour(recorded.stamp);
  g_cyclic.history.AdvanceTail();
}

void EraseRemainingTrail() {
  while (g_cyclic.history.TrailLeft() && kit::RenderThreadRunning()) EraseTailFrame();
}

bool Allocated() { return g_cyclic.history.Allocated() && g_cyclic.drawing && g_cyclic.erasing; }

void EvaluateDrivenControls(ModuleSlot& slot) {
  FrameRecord& live = g_cyclic.live;
  int32_t spasticity = 0;
  if (kit::EvaluateLiveControlInRange(slot, kSpasticity, spasticity)) DrawSpeeds(live, PlaySpasticity(spasticity));
  if (const auto size = kit::EvaluateLiveControlFraction(slot, kDiameter)) live.stamp.size[0] = *size;
  kit::EvaluateLiveControlInRange(slot, kPlanarSymmetry, live.symmetry);
  if (const auto spin = kit::EvaluateLiveControlFraction(slot, kObjectRotation))
    live.stamp.spin[0] = *spin * kSpinScale;
  kit::EvaluateLiveControlInRange(slot, kXTiling, live.columns);
  kit::EvaluateLiveControlInRange(slot, kYTiling, live.rows);
  for (int level = 1; level < 3; ++level) {
    if (const auto size = kit::EvaluateLiveControlFraction(slot, kSizeControls[level]))
      live.stamp.size[level] = *size;
    if (const auto spin = kit::EvaluateLiveControlFraction(slot, kSpinControls[level]))
      live.stamp.spin[level] = *spin * kSpinScale;
  }
}

// Diameter 0: the three levels breathe at their own rates.
void BreatheSizes() {
  g_cyclic.automaticPhase += g_cyclic.automaticSpeed;
  const float phase = g_cyclic.automaticPhase;
  g_cyclic.live.stamp.size = {70 + std::fabs(70 * std::sin(phase)), 30 + std::fabs(30 * std::sin(2 * phase)),
                              10 + std::fabs(10 * std::sin(3 * phase))};
}

int32_t Allocate(ModuleSlot*) {
  g_cyclic.drawing = std::make_unique<ObjectRing>();
  g_cyclic.erasing = std::make_unique<ObjectRing>();
  g_cyclic.history.Allocate();
  return 0;
}

int32_t Initialise(ModuleSlot* slot) {
  RandomizeControls(*slot);
  EvaluateSourcedControls(*slot);
  const auto control = [slot](int index) { return kit::ControlInRange(*slot, index); };
  FrameRecord& live = g_cyclic.live;
  g_cyclic.count = control(kObjects);
  const int spasticity = control(kSpasticity);
  live.symmetry = control(kPlanarSymmetry);
  g_cyclic.deadline = GetTickCount() + static_cast<uint32_t>(control(kDuration)) * 1000u;
  live.columns = control(kXTiling);
  live.rows = control(kYTiling);
  live.tileType = control(kTileType);

  const float fraction = RandomFraction();
  g_cyclic.automaticSpeed = fraction / static_cast<float>(Rand() % 5 + 5);
  g_cyclic.automaticPhase = 0;
  g_cyclic.automaticSize = control(kDiameter) == 0;

  std::array<int, 3> sides{};
  std::array<int, 3> sizes{};
  std::array<float, 3> spins{};
  for (int level = 0; level < 3; ++level) {
    sides[level] = control(kSidesControls[level]);
    sizes[level] = control(kSizeControls[level]);
    spins[level] = static_cast<float>(control(kSpinControls[level])) * kSpinScale;
  }
  if (g_cyclic.automaticSize) sizes[0] = static_cast<int>(kAutomaticSize);
  kit::InitStamp(live.stamp, &kit::ModuleSurface(*slot), sides, control(kObjectType),
                 static_cast<uint32_t>((spasticity + 51) / 10 + 1), sizes, spins);
  DrawSpeeds(live, InitialSpasticity(spasticity));

  g_cyclic.width = slot->width;
  g_cyclic.height = slot->height;
  g_cyclic.centre = {slot->width / 2, slot->height / 2};
  g_cyclic.xKind = Rand() % kPathKinds + 1;
  g_cyclic.yKind = Rand() % kPathKinds + 1;
  g_cyclic.amplitude = static_cast<float>(g_cyclic.centre.x);
  if (Allocated()) {
    // Both rings start alike, so the eraser retraces the drawing ring.
    for (ObjectRing* ring : {g_cyclic.drawing.get(), g_cyclic.erasing.get()}) {
      StartRing(*ring);
      MoveRing(*ring, live);
    }
  }
  g_cyclic.history.Restart(3 * control(kTrailLength));
  g_cyclic.colour = 0;
  g_cyclic.colourStep = 1;
  return 0;
}

int32_t Frame(ModuleSlot* slot) {
  if (!Allocated()) return 0;
  if (g_cyclic.automaticSize) BreatheSizes();
  EvaluateDrivenControls(*slot);

  g_cyclic.colour += g_cyclic.colourStep;
  if (g_cyclic.colour == kLastColour || g_cyclic.colour == 0) g_cyclic.colourStep = -g_cyclic.colourStep;

  FrameRecord& live = g_cyclic.live;
  g_cyclic.history.Head() = live;
  kit::SelectStampColour(live.stamp, gdi::PaletteIndex(g_cyclic.colour));
  MoveRing(*g_cyclic.drawing, live);
  DrawRing(*g_cyclic.drawing, live);
  kit::ReleaseStampColour(live.stamp);

  if (g_cyclic.history.TailDue()) EraseTailFrame();
  g_cyclic.history.AdvanceHead();

  if (TickIsPast(GetTickCount(), g_cyclic.deadline)) {
    EraseRemainingTrail();
    Initialise(slot);
  }
  return 0;
}

int32_t Free(ModuleSlot*) {
  if (Allocated()) EraseRemainingTrail();
  g_cyclic.history.Release();
  g_cyclic.drawing.reset();
  g_cyclic.erasing.reset();
  return 0;
}

}  // namespace

const ModuleOperations kCyclicOperations{Frame, Allocate, Initialise, Free};

}  // namespace fluxo
