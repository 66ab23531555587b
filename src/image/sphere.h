// A solid sphere drawn from a display list built the first time its radius is asked for,
// and the cache of display lists keyed by shape kind and exact parameters behind it.
#pragma once

#include <cstdint>

// The kind of shape the solid sphere is filed under in the cache.
constexpr int SolidSphereKind = 10;
// Kinds the cache has room for: 0 to ShapeKindCount - 1.
constexpr int ShapeKindCount = 16;

// Draws a filled sphere of the radius (world units) about the origin, 16 slices and 16 stacks.
void SolidSphere(double radius);

// The list of the newest entry of the kind whose first `count` parameters equal the given
// ones exactly (any entry of the kind when count < 1); 0 when there is none.
uint32_t LookUpShapeList(int kind, const double* parameters, int count);
// Files a new entry, newest first, with a fresh list name, and takes the parameter array
// (allocated with malloc). Returns the name, or 0 (the array freed) when none could be had.
uint32_t InsertShapeList(int kind, double* parameters, int count);
// Entries filed under the kind.
int ShapeListCount(int kind);
