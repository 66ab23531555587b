// Scene set-up and the composition of one frame, with the once-a-second weather fade.
#include "app/scene.h"

#include <GL/gl.h>

#include "audio/audio_setup.h"
#include "audio/sound_operations.h"
#include "effects/fireworks.h"
#include "effects/rain.h"
#include "effects/whirlwind.h"
#include "input/controls.h"
#include "platform/clock.h"
#include "platform/window.h"
#include "world/plants.h"
#include "world/terrain.h"
#include "world/water.h"

Weather WeatherFade = {500.0f, 175.0f, 0.25f, 0};

namespace {
const float GreyLevel = 0.25f;      // red and green of sky and fog
const float ClearSkyBlue = 0.5f;    // the fade's blue end
const float RainFogLimit = 501.0f;  // world units: rain never brings the fog closer
const float BlueStep = 0.01f;

void SetSkyColour(float blue) { glClearColor(GreyLevel, GreyLevel, blue, 1.0f); }

// Clearing weather: the fog recedes and the sky turns blue until the fog is gone.
void StepTowardsClearSky() {
  WeatherFade.lastFadeTick = TickMilliseconds();
  if (Switches.fogOn == 1) WeatherFade.fogEnd = WeatherFade.fogEnd + WeatherFade.fogStep;
  WeatherFade.skyBlue = WeatherFade.skyBlue + BlueStep;
  if (WeatherFade.skyBlue > ClearSkyBlue) {
    WeatherFade.skyBlue = ClearSkyBlue;
    glDisable(GL_FOG);
    Switches.fogOn = 0;
  }
  SetSkyColour(WeatherFade.skyBlue);
  if (Switches.fogOn == 1) ApplyFogSettings(WeatherFade.skyBlue, WeatherFade.fogEnd);
}

// Rain: the fog closes in and the sky greys, each to its bound.
void StepTowardsRain() {
  WeatherFade.lastFadeTick = TickMilliseconds();
  WeatherFade.fogEnd = WeatherFade.fogEnd - WeatherFade.fogStep;
  if (WeatherFade.fogEnd < RainFogLimit) WeatherFade.fogEnd = RainFogLimit;
  WeatherFade.skyBlue = WeatherFade.skyBlue - BlueStep;
  if (WeatherFade.skyBlue < GreyLevel) WeatherFade.skyBlue = GreyLevel;
  SetSkyColour(WeatherFade.skyBlue);
  ApplyFogSettings(WeatherFade.skyBlue, WeatherFade.fogEnd);
}
}  // namespace

void ApplyFogSettings(float blue, float endDistance) {
  const GLfloat colour[4] = {GreyLevel, GreyLevel, blue, 1.0f};
  glEnable(GL_FOG);
  glFogi(GL_FOG_MODE, GL_LINEAR);
  glFogfv(GL_FOG_COLOR, colour);
  glFogf(GL_FOG_DENSITY, 0.35f);
  glHint(GL_FOG_HINT, GL_NICEST);
  glFogf(GL_FOG_START, 0.0f);
  glFogf(GL_FOG_END, endDistance);
}

void SetUpScene() {
  glEnable(GL_DEPTH_TEST);
  LoadTerrain();
  LoadWaterTexture();
  SetUpRain();
  SetUpFireworks();
  SetUpPlants();
  SetSkyColour(GreyLevel);
  ApplyFogSettings(GreyLevel, 500.0f);
  WeatherFade = {500.0f, 175.0f, 0.25f, TickMilliseconds()};
  Switches = {1, 0, 0, 0};
  SetUpWindEffect();
  SetUpAudio();
}

void UpdateWeather() {
  uint32_t now = TickMilliseconds();
  bool stepDue = now - WeatherFade.lastFadeTick > 1000;
  if (Switches.rainOn == 0) {
    StopRainSound();
    if (stepDue) StepTowardsClearSky();
  } else {
    StartRainSound();
    Switches.fogOn = 1;
    if (stepDue) StepTowardsRain();
  }
}

void DrawFrame() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  ProcessInput();
  if (QuitMessagePosted()) return;  // input and audio are released: the frame ends here
  glTranslatef(0.0f, 0.0f, -5.0f);
  glShadeModel(GL_SMOOTH);

  glPushMatrix();
  DrawTerrain();
  glPopMatrix();

  glPushMatrix();
  DrawWater();
  glEnable(GL_FOG);
  glPopMatrix();

  if (Switches.rainOn == 1) {
    glPushMatrix();
    DrawRain();
    glPopMatrix();
  }
  glDisable(GL_FOG);
  if (Switches.fireworksOn == 1) DrawFireworks();
  if (Switches.fogOn == 1) glEnable(GL_FOG);
  DrawPlants();
  if (Switches.windEffectOn == 1) DrawWindEffect();
  if (Switches.windEffectOn == 0) StopWindSound();
  UpdateWeather();
}
