#include <cstdio>

#include "controls/controls.h"
#include "engine/module_registry.h"

namespace fluxo {
namespace {

struct ControlDefinition {
  int module;
  int control;
  int labelId;
  int defaultValue;
  int minValue;
  int maxValue;
  bool soundCapable;  // may oscillate or follow the sound
};

// Every built-in control. PlugIn and Sequencer have none here: the plug-in
// host defines a plug-in's controls itself.
constexpr ControlDefinition kDefinitions[] = {
    // Bezier
    {kModuleBezier, 0, 10, 1, 1, 20, false},  // Beziers
    {kModuleBezier, 1, 11, 10, 1, 32, true},  // Symmetry
    {kModuleBezier, 2, 12, 100, 1, 100, false},  // Trail Length
    {kModuleBezier, 3, 13, 12, 1, 200, true},  // Width
    {kModuleBezier, 4, 14, 4, 1, 320, true},  // Speed
    {kModuleBezier, 5, 15, 30, 1, 1000, false},  // Duration
    {kModuleBezier, 6, 16, 1, 1, 20, true},  // X Tiling
    {kModuleBezier, 7, 17, 1, 1, 20, true},  // Y Tiling
    {kModuleBezier, 8, 18, 0, 0, 3, false},  // Tile Type
    {kModuleBezier, 9, 19, 1, -10, 10, false},  // Strength
    // Cyclic
    {kModuleCyclic, 0, 20, 4, 1, 99, false},  // Objects
    {kModuleCyclic, 1, 21, 25, -50, 50, true},  // Spasticity
    {kModuleCyclic, 2, 22, 100, 1, 100, false},  // Trail Length
    {kModuleCyclic, 3, 23, 100, 0, 320, true},  // Diameter
    {kModuleCyclic, 4, 24, 1, 1, 32, true},  // Planar Symmetry
    {kModuleCyclic, 5, 25, 10, -100, 100, true},  // Object Rotation
    {kModuleCyclic, 6, 26, 1, 1, 10, false},  // Object Sides
    {kModuleCyclic, 7, 27, 0, 0, 17, false},  // Object Type
    {kModuleCyclic, 8, 162, 30, 1, 1000, false},  // Duration
    {kModuleCyclic, 9, 28, 1, -10, 10, false},  // Strength
    {kModuleCyclic, 10, 103, 1, 1, 20, true},  // X Tiling
    {kModuleCyclic, 11, 104, 1, 1, 20, true},  // Y Tiling
    {kModuleCyclic, 12, 105, 0, 0, 3, false},  // Tile Type
    {kModuleCyclic, 14, 186, 100, 0, 320, true},  // Diameter (2)
    {kModuleCyclic, 15, 187, 10, -100, 100, true},  // Rotation  (2)
    {kModuleCyclic, 16, 188, 1, 1, 10, false},  // Sides (2)
    {kModuleCyclic, 17, 189, 100, 0, 320, true},  // Diameter (3)
    {kModuleCyclic, 18, 190, 10, -100, 100, true},  // Rotation  (3)
    {kModuleCyclic, 19, 191, 1, 1, 10, false},  // Sides (3)
    // Pattern
    {kModulePattern, 0, 41, 2, 2, 30, false},  // Waves
    {kModulePattern, 1, 42, 0, 0, 100, false},  // Turbulence
    {kModulePattern, 2, 43, 21, 0, 21, false},  // Type
    {kModulePattern, 3, 44, 30, 0, 1000, false},  // Image Duration
    {kModulePattern, 4, 45, 1, 0, 5, false},  // Turbulence Type
    {kModulePattern, 5, 46, 50, 0, 100, false},  // Pattern Density
    {kModulePattern, 6, 47, 0, 0, 6, false},  // Wave Type
    {kModulePattern, 7, 115, 0, 0, 20, true},  // Folding
    {kModulePattern, 8, 214, 0, 0, 1, false},  // Parametric
    {kModulePattern, 9, 48, 1, -10, 10, false},  // Strength
    {kModulePattern, 10, 109, 1, 1, 20, true},  // X Tiling
    {kModulePattern, 11, 110, 1, 1, 20, true},  // Y Tiling
    {kModulePattern, 12, 111, 0, 0, 3, false},  // Tile Type
    {kModulePattern, 14, 147, 0, 0, 64, true},  // Diffuse
    {kModulePattern, 15, 215, 0, 0, 1000, false},  // Banding
    // Plasma
    {kModulePlasma, 0, 49, 10, 1, 100, false},  // Roughness
    {kModulePlasma, 1, 50, 5, 1, 30, false},  // Update Interval
    {kModulePlasma, 3, 52, 30, 1, 1000, false},  // Image Duration
    {kModulePlasma, 9, 53, 1, -10, 10, false},  // Strength
    {kModulePlasma, 10, 117, 1, 1, 16, false},  // X Tiling
    {kModulePlasma, 11, 118, 1, 1, 16, false},  // Y Tiling
    {kModulePlasma, 12, 119, 0, 0, 3, false},  // Tile Type
    // Polygon
    {kModulePolygon, 0, 91, 3, 2, 20, false},  // Vertices
    {kModulePolygon, 1, 92, 10, 1, 50, true},  // Symmetry
    {kModulePolygon, 2, 93, 4, 1, 320, true},  // Speed
    {kModulePolygon, 3, 94, 0, 0, 1, false},  // Outline
    {kModulePolygon, 4, 95, 1, 1, 20, true},  // X Tiling
    {kModulePolygon, 5, 96, 1, 1, 20, true},  // Y Tiling
    {kModulePolygon, 6, 97, 0, 0, 3, false},  // Tile Type
    {kModulePolygon, 9, 98, 1, -10, 10, false},  // Strength
    // Sphere
    {kModuleSphere, 0, 60, 100, 15, 250, true},  // Size
    {kModuleSphere, 1, 61, 8, 2, 128, true},  // Symmetry
    {kModuleSphere, 2, 62, 0, 0, 63, false},  // Type
    {kModuleSphere, 3, 63, 20, 1, 1000, false},  // Image Duration
    {kModuleSphere, 4, 64, 1, 1, 20, true},  // X Tiling
    {kModuleSphere, 5, 65, 1, 1, 20, true},  // Y Tiling
    {kModuleSphere, 6, 66, 0, 0, 3, false},  // Tile Type
    {kModuleSphere, 9, 67, 1, -10, 10, false},  // Strength
    // Stain
    {kModuleStain, 0, 68, 2, 2, 4, false},  // Nodes
    {kModuleStain, 1, 116, 0, 0, 20, true},  // Folding
    {kModuleStain, 2, 69, 4, 0, 10, false},  // Type
    {kModuleStain, 3, 70, 20, 1, 1000, false},  // Image Duration
    {kModuleStain, 6, 217, 0, 0, 100, false},  // Turbulence
    {kModuleStain, 7, 218, 1, 0, 5, false},  // Turbulence Type
    {kModuleStain, 8, 216, 0, 0, 1, false},  // Parametric
    {kModuleStain, 9, 71, 1, -10, 10, false},  // Strength
    {kModuleStain, 10, 112, 1, 1, 20, true},  // X Tiling
    {kModuleStain, 11, 113, 1, 1, 20, true},  // Y Tiling
    {kModuleStain, 12, 114, 0, 0, 3, false},  // Tile Type
    {kModuleStain, 14, 166, 0, 0, 64, true},  // Diffuse
    // Star
    {kModuleStar, 0, 72, 20, 0, 99, false},  // Stars
    {kModuleStar, 1, 73, 1, 1, 320, true},  // Star Size
    {kModuleStar, 2, 74, 4, 1, 60, true},  // Speed
    {kModuleStar, 3, 75, 0, -99, 99, true},  // X Revolve
    {kModuleStar, 4, 76, 0, -99, 99, true},  // Y Revolve
    {kModuleStar, 5, 77, 0, -99, 99, true},  // Z Revolve
    {kModuleStar, 6, 78, 10, -100, 100, true},  // Star Rotation
    {kModuleStar, 7, 79, 1, 1, 10, false},  // Star Sides
    {kModuleStar, 8, 80, 0, 0, 17, false},  // Star Type
    {kModuleStar, 9, 81, 1, -10, 10, false},  // Strength
    {kModuleStar, 10, 99, 1, 1, 20, true},  // X Tiling
    {kModuleStar, 11, 100, 1, 1, 20, true},  // Y Tiling
    {kModuleStar, 12, 101, 0, 0, 3, false},  // Tile Type
    {kModuleStar, 13, 102, 1, 1, 128, true},  // Symmetry
    {kModuleStar, 14, 192, 1, 1, 320, true},  // Diameter (2)
    {kModuleStar, 15, 193, 10, -100, 100, true},  // Rotation  (2)
    {kModuleStar, 16, 194, 1, 1, 10, false},  // Sides (2)
    {kModuleStar, 17, 195, 1, 1, 320, true},  // Diameter (3)
    {kModuleStar, 18, 196, 10, -100, 100, true},  // Rotation  (3)
    {kModuleStar, 19, 197, 1, 1, 10, false},  // Sides (3)
    // Vortex
    {kModuleVortex, 0, 82, 60, 2, 199, false},  // Points on edge
    {kModuleVortex, 1, 83, 300, 1, 300, true},  // Spasticity
    {kModuleVortex, 2, 84, 20, 1, 200, true},  // Amplitude
    {kModuleVortex, 3, 85, 20, 0, 1000, false},  // Image Duration
    {kModuleVortex, 4, 86, 1, 0, 5, false},  // Type
    {kModuleVortex, 5, 87, 5, 1, 50, true},  // Collapse Rate
    {kModuleVortex, 6, 88, 34, 0, 100, true},  // Radius Flux
    {kModuleVortex, 7, 89, 0, 0, 400, true},  // Flux Amplitude
    {kModuleVortex, 9, 90, 1, -10, 10, false},  // Strength
    {kModuleVortex, 10, 106, 1, 1, 20, true},  // X Tiling
    {kModuleVortex, 11, 107, 1, 1, 20, true},  // Y Tiling
    {kModuleVortex, 12, 108, 0, 0, 3, false},  // Tile Type
    // Ray
    {kModuleRay, 0, 120, 50, 1, 200, true},  // Frequency
    {kModuleRay, 1, 122, 12, 1, 200, true},  // Amplitude
    {kModuleRay, 2, 121, 1, 1, 500, false},  // Density
    {kModuleRay, 3, 123, 2, 0, 20, true},  // Folding
    {kModuleRay, 4, 128, 3, -500, 500, true},  // Shift Rate
    {kModuleRay, 5, 129, 0, 0, 3, false},  // Ray Type
    {kModuleRay, 6, 130, 20, 0, 1000, false},  // Duration
    {kModuleRay, 9, 124, 1, -10, 10, false},  // Strength
    {kModuleRay, 10, 125, 1, 1, 20, true},  // X Tiling
    {kModuleRay, 11, 126, 1, 1, 20, true},  // Y Tiling
    {kModuleRay, 12, 127, 0, 0, 3, false},  // Tile Type
    {kModuleRay, 14, 165, 0, 0, 64, true},  // Diffuse
    // Whip
    {kModuleWhip, 0, 131, 1, 1, 20, false},  // Whips
    {kModuleWhip, 1, 132, 1, 1, 32, true},  // Symmetry
    {kModuleWhip, 2, 133, 2, 1, 100, false},  // Trail Length
    {kModuleWhip, 3, 134, 60, 1, 200, true},  // Width
    {kModuleWhip, 4, 135, 6, 1, 320, true},  // Speed
    {kModuleWhip, 5, 136, 30, 1, 1000, false},  // Duration
    {kModuleWhip, 6, 137, 10, -100, 100, true},  // Object Rotation
    {kModuleWhip, 7, 138, 4, 1, 10, false},  // Object Sides
    {kModuleWhip, 8, 139, 2, 0, 17, false},  // Object Type
    {kModuleWhip, 9, 140, 1, -10, 10, false},  // Strength
    {kModuleWhip, 10, 141, 1, 1, 20, true},  // X Tiling
    {kModuleWhip, 11, 145, 1, 1, 20, true},  // Y Tiling
    {kModuleWhip, 12, 146, 0, 0, 3, false},  // Tile Type
    {kModuleWhip, 14, 163, 60, 1, 100, false},  // Angularity
    {kModuleWhip, 15, 142, 100, 1, 1000, false},  // Density
    {kModuleWhip, 16, 143, 8, 1, 30, true},  // Frequency
    {kModuleWhip, 17, 144, 2, 1, 30, true},  // Offset
    {kModuleWhip, 20, 198, 60, 1, 200, true},  // Diameter (2)
    {kModuleWhip, 21, 199, 10, -100, 100, true},  // Rotation  (2)
    {kModuleWhip, 22, 200, 4, 1, 10, false},  // Sides (2)
    {kModuleWhip, 23, 201, 60, 1, 200, true},  // Diameter (3)
    {kModuleWhip, 24, 202, 10, -100, 100, true},  // Rotation  (3)
    {kModuleWhip, 25, 203, 4, 1, 10, false},  // Sides (3)
    // Flow
    {kModuleFlow, 0, 148, 5, 3, 20, true},  // Sides
    {kModuleFlow, 1, 149, 1, 1, 50, true},  // Thickness
    {kModuleFlow, 2, 150, 15, -100, 100, true},  // X Rate
    {kModuleFlow, 3, 151, 11, -100, 100, true},  // Y Rate
    {kModuleFlow, 4, 152, 1, -100, 100, true},  // Rotate Rate
    {kModuleFlow, 5, 153, 30, 1, 1000, false},  // Duration
    {kModuleFlow, 6, 154, 20, 1, 50, true},  // X Span
    {kModuleFlow, 7, 155, 20, 1, 50, true},  // Y Span
    {kModuleFlow, 8, 156, 32, 1, 198, true},  // Depth
    {kModuleFlow, 9, 157, 1, -10, 10, false},  // Strength
    {kModuleFlow, 10, 158, 1, 1, 20, true},  // X Tiling
    {kModuleFlow, 11, 159, 1, 1, 20, true},  // Y Tiling
    {kModuleFlow, 12, 160, 0, 0, 3, false},  // Tile Type
    {kModuleFlow, 14, 161, 25, 1, 50, true},  // Flux
    {kModuleFlow, 15, 164, 1, 1, 30, false},  // Trail Length
    {kModuleFlow, 16, 182, 0, -100, 100, true},  // X Rotation
    {kModuleFlow, 17, 183, 0, -100, 100, true},  // Y Rotation
    {kModuleFlow, 18, 184, 0, -100, 100, true},  // Z Rotation
    {kModuleFlow, 19, 185, 25, 0, 100, true},  // Spacing
    // Line
    {kModuleLine, 0, 167, 5, 0, 50, false},  // Delta X1
    {kModuleLine, 1, 168, 5, 0, 50, false},  // Delta Y1
    {kModuleLine, 2, 169, 5, 0, 50, false},  // Delta X2
    {kModuleLine, 3, 170, 5, 0, 50, false},  // Delta Y2
    {kModuleLine, 4, 178, 25, 0, 100, false},  // X1
    {kModuleLine, 5, 179, 25, 0, 100, true},  // Y1
    {kModuleLine, 6, 180, 75, 0, 100, true},  // X2
    {kModuleLine, 7, 181, 75, 0, 100, true},  // Y2
    {kModuleLine, 8, 171, 100, 1, 100, false},  // Trail Length
    {kModuleLine, 9, 173, 1, -10, 10, false},  // Strength
    {kModuleLine, 10, 174, 1, 1, 20, true},  // X Tiling
    {kModuleLine, 11, 175, 1, 1, 20, true},  // Y Tiling
    {kModuleLine, 12, 176, 0, 0, 3, false},  // Tile Type
    {kModuleLine, 14, 177, 3, 1, 20, true},  // Symmetry
    {kModuleLine, 16, 172, 30, 1, 1000, false},  // Duration
    // Squiggle
    {kModuleSquiggle, 0, 204, 40, 2, 400, false},  // Points
    {kModuleSquiggle, 1, 205, 9, 2, 100, false},  // Lathe X
    {kModuleSquiggle, 2, 206, 25, 2, 100, false},  // Lathe Y
    {kModuleSquiggle, 3, 207, 22, 2, 100, false},  // Lathe Z
    {kModuleSquiggle, 4, 208, 90, 0, 100, false},  // Radius
    {kModuleSquiggle, 5, 209, 32, 0, 500, true},  // Rotate X
    {kModuleSquiggle, 6, 210, 27, 0, 500, true},  // Rotate Y
    {kModuleSquiggle, 7, 211, 16, 0, 500, true},  // Rotate Z
    {kModuleSquiggle, 8, 171, 1, 1, 100, false},  // Trail Length
    {kModuleSquiggle, 9, 173, 1, -10, 10, false},  // Strength
    {kModuleSquiggle, 10, 174, 2, 1, 20, true},  // X Tiling
    {kModuleSquiggle, 11, 175, 2, 1, 20, true},  // Y Tiling
    {kModuleSquiggle, 12, 176, 0, 0, 3, false},  // Tile Type
    {kModuleSquiggle, 14, 177, 1, 1, 20, true},  // Symmetry
    {kModuleSquiggle, 15, 212, 1, 1, 50, false},  // Width
    {kModuleSquiggle, 16, 172, 30, 1, 1000, false},  // Duration
    // Effect
    {kModuleEffect, 0, 29, 0, 0, 25, false},  // Type
    {kModuleEffect, 1, 30, 100, 2, 320, false},  // X Strength
    {kModuleEffect, 2, 31, 80, 2, 240, false},  // Y Strength
    {kModuleEffect, 3, 32, 20, 0, 1000, false},  // Display Interval
    {kModuleEffect, 9, 33, 1, -10, 10, false},  // Strength
    // Bitmap
    {kModuleBitmap, 0, 34, 1, 0, 3, false},  // Display Type
    {kModuleBitmap, 1, 35, 0, 0, 1, false},  // Force Gradient
    {kModuleBitmap, 2, 36, 12, 0, 1000, false},  // Duration
    {kModuleBitmap, 3, 37, 2, 0, 10, false},  // Smoothing
    {kModuleBitmap, 4, 38, 0, 0, 1, false},  // Random Order
    {kModuleBitmap, 5, 39, 0, 0, 1, false},  // File or Screen
    {kModuleBitmap, 9, 40, 1, -10, 10, false},  // Strength
    // Random
    {kModuleRandom, 0, 54, 2, 0, 3, false},  // Actv/Svd/Snd
    {kModuleRandom, 1, 55, 1, 1, 18, false},  // Maximum at once
    {kModuleRandom, 2, 56, 16, 1, 1000, false},  // Duration
    {kModuleRandom, 3, 57, 0, 0, 1, false},  // Random Controls
    {kModuleRandom, 4, 58, 1, 0, 1, false},  // Clear Screen
    {kModuleRandom, 9, 59, 1, -10, 10, false},  // Strength
};

}  // namespace

void DefineModuleControl(int module, int labelId, int control, int defaultValue, int minValue, int maxValue) {
  ModuleSlot& slot = Slot(module);
  ControlBlock& c = slot.controls;
  std::snprintf(c.label[control], sizeof c.label[control], "%s", ControlLabelText(labelId));
  slot.path[0] = '\0';
  c.defined[control] = 1;
  c.value[control] = c.defaultValue[control] = defaultValue;
  c.minValue[control] = c.rangeLo[control] = minValue;
  c.maxValue[control] = c.rangeHi[control] = maxValue;
  c.sense[control] = 10;
  c.drift[control] = 0.5f;
  c.soundCapable[control] = 0;
  c.source[control] = kSourceSet;
}

void ResetControls(int module) {
  ModuleSlot& slot = Slot(module);
  ControlBlock& c = slot.controls;
  for (int i = 0; i < kControlCount; ++i) {
    if (!c.defined[i]) continue;
    c.value[i] = c.defaultValue[i];
    c.rangeLo[i] = c.minValue[i];
    c.rangeHi[i] = c.maxValue[i];
    c.sense[i] = 10;
    c.drift[i] = 0.5f;
    c.source[i] = kSourceSet;
  }
  slot.path[0] = '\0';
}

void DefineAllControls() {
  for (const ControlDefinition& d : kDefinitions)
    DefineModuleControl(d.module, d.labelId, d.control, d.defaultValue, d.minValue, d.maxValue);
}

void MarkSoundCapableControls() {
  for (const ControlDefinition& d : kDefinitions)
    if (d.soundCapable) Slot(d.module).controls.soundCapable[d.control] = 1;
}

}  // namespace fluxo
