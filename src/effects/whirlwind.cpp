// The whirlwind: squares winding up a widening spiral whose axis travels along z = 0,
// carrying the wind sound.
#include "effects/whirlwind.h"

#include <GL/gl.h>

#include <cmath>
#include <cstddef>

#include "audio/sound_operations.h"
#include "common/frame_time.h"
#include "data/data_files.h"
#include "effects/random.h"
#include "image/vertex_arrays.h"
#include "effects/view_angles.h"

WhirlwindPoint WhirlwindPoints[WhirlwindPointCount];
float windX = 0.0f;
float windDirection = -1.0f;
TgaImage WhirlwindImage;

namespace {
const float FootHeight = 35.0f;       // world units: where a point starts again
const float RestartRadius = 100.99f;  // world units
const float SquareEdge = 3.0f;        // world units

// The axis travels 50 units a second and turns in the frame that finds it past a
// bound; the overshoot stays, so a short next step may turn it again.
void MoveAxis(float frameSpeed) {
  windX += frameSpeed * 50.0 * windDirection;
  if (windX > 5000.0f || windX < -500.0f) windDirection = -windDirection;
}

const int SquareCorners = 4;
ArrayVertex squareVertices[WhirlwindPointCount * SquareCorners];  // the last pass's

// Sine and cosine of a turn given in degrees, worked in floats as OpenGL's rotations are.
struct Turn {
  float sine, cosine;
};
Turn TurnOf(float degrees) {
  float radians = degrees * M_PI / 180.0;
  return {std::sin(radians), std::cos(radians)};
}

// The square's edges: turned by the view's yaw about y after its pitch about x, as a
// burst is; across is its x edge, up its y edge. The point's own turn about the axis
// comes after these, so a square faces the camera only at angle 0 and turns away by
// its angle elsewhere.
struct Facing {
  float acrossX, acrossZ;  // yaw turn of (1, 0, 0); its y is 0
  float upX, upY, upZ;     // yaw and pitch turn of (0, 1, 0)
};
Facing FacingTheView() {
  Turn yaw = TurnOf(EffectsViewYaw());
  Turn pitch = TurnOf(EffectsViewPitch());
  return {yaw.cosine, -yaw.sine, yaw.sine * pitch.sine, pitch.cosine, yaw.cosine * pitch.sine};
}

// The four corners in the frame of the draw: at the axis and the point's height,
// turned by its angle about y and moved out by its radius, facing the view. The
// texture's s axis runs up the square and its t axis across it.
void PutSquare(const WhirlwindPoint& point, const Facing& facing, ArrayVertex* corner) {
  static const float Across[SquareCorners] = {0.0f, 0.0f, SquareEdge, SquareEdge};
  static const float Up[SquareCorners] = {0.0f, SquareEdge, SquareEdge, 0.0f};
  static const float S[SquareCorners] = {0.0f, 1.0f, 1.0f, 0.0f};
  static const float T[SquareCorners] = {0.0f, 0.0f, 1.0f, 1.0f};
  Turn about = TurnOf(point.angle);
  for (int k = 0; k < SquareCorners; ++k) {
    float x = point.radius + facing.acrossX * Across[k] + facing.upX * Up[k];
    float y = facing.upY * Up[k];
    float z = facing.acrossZ * Across[k] + facing.upZ * Up[k];
    corner[k] = {S[k],
                 T[k],
                 1.0f,
                 1.0f,
                 1.0f,
                 1.0f,
                 windX + about.cosine * x + about.sine * z,
                 point.height + y,
                 -about.sine * x + about.cosine * z};
  }
}

// 56 degrees, 8 units up and 1 unit out a second, plus 0 to 2 degrees every frame.
void WindOn(WhirlwindPoint& point, float frameSpeed) {
  point.angle += frameSpeed * 2.8 * 20.0 + (EffectsRand() % 3);
  point.height += frameSpeed * 0.4 * 20.0;
  point.radius += frameSpeed * 0.05 * 20.0;
  if (point.radius > RestartRadius) point = {0.0f, FootHeight, 0.0f};
}
}  // namespace

// A cone of almost eight turns, built by adding a step per point.
void SetUpWindEffect() {
  float radius = 0.0f;
  float height = 0.0f;
  float angle = 0.0f;
  for (WhirlwindPoint& point : WhirlwindPoints) {
    point.radius = radius;
    point.height = FootHeight + height;
    point.angle = angle;
    radius += 0.15;
    height += 0.4;
    angle += 2.8;
  }
  windX = 0.0f;
  windDirection = -1.0f;
  LoadTga(WhirlwindImage, FindDataFile(SpriteFile).c_str());
}

// One pass fills the squares and winds the points on; one call draws the squares.
void DrawWindEffect() {
  float frameSpeed = GetFrameSpeed();
  glBindTexture(GL_TEXTURE_2D, WhirlwindImage.texID);
  glColor3f(1.0f, 1.0f, 1.0f);
  MoveAxis(frameSpeed);
  SetWindSoundPosition(windX, 0.0f, 0.0f);
  StartWindSound();
  Facing facing = FacingTheView();
  for (int i = 0; i < WhirlwindPointCount; ++i) {
    PutSquare(WhirlwindPoints[i], facing, &squareVertices[SquareCorners * static_cast<size_t>(i)]);
    WindOn(WhirlwindPoints[i], frameSpeed);
  }
  DrawVertexArray(GL_QUADS, squareVertices, WhirlwindPointCount * SquareCorners, VertexParts::Texture);
}
