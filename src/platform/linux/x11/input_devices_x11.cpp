// The input layer on X11: the key table from XQueryKeymap and the mouse from XInput2 raw
// motion, both through a display connection of our own, so that they keep working while
// another window has the focus. Nothing is grabbed and the pointer is never moved.
// Without an X display (Wayland alone) the layer falls back to SDL's focused-window view.
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

#include <cmath>
#include <cstring>

#include "platform/input_devices.h"
#include "platform/linux/sdl_input/sdl_keyboard_mouse.h"

namespace {
const int FirstKeycode = 8;             // X keycode of key position 0
const int DeviceSlots = 256;            // XInput device ids are below this
const double MaxPendingCounts = 1.0e6;  // motion kept between reads, each way

// How the raw motion of one source device is taken.
enum class SourceKind : uint8_t { Unknown, Relative, Absolute, Ignored };

struct AbsoluteAxis {
  double countsPerUnit;  // mouse counts (screen pixels) per device unit
  double last;           // device units, the last position seen
  bool seen;             // false until the first position arrives
};

struct PointerSource {
  SourceKind kind;
  AbsoluteAxis x;
  AbsoluteAxis y;
};

Display* display = nullptr;  // our own connection, apart from the window's
bool usingSdl = false;       // no X display: SDL's keyboard and mouse instead
bool keyboardMade = false;
bool mouseMade = false;
bool rawMotionSelected = false;
int inputOpcode = 0;                      // the XInput extension's major opcode
PointerSource sources[DeviceSlots] = {};  // by source device id
double pendingX = 0.0;                    // counts gathered since the last read
double pendingY = 0.0;

// Counts a device unit of an absolute axis is worth: the axis's whole range spans the screen.
AbsoluteAxis DescribeAbsoluteAxis(const XIValuatorClassInfo* axis, int screenPixels) {
  AbsoluteAxis described = {0.0, 0.0, false};
  double range = axis->max - axis->min;
  if (range > 0.0) described.countsPerUnit = screenPixels / range;
  return described;
}

PointerSource DescribeSource(const XIDeviceInfo& device) {
  PointerSource source = {SourceKind::Ignored, {}, {}};
  const XIValuatorClassInfo* axes[2] = {nullptr, nullptr};
  for (int i = 0; i < device.num_classes; ++i) {
    if (device.classes[i]->type != XIValuatorClass) continue;
    const auto* axis = reinterpret_cast<const XIValuatorClassInfo*>(device.classes[i]);
    if (axis->number == 0 || axis->number == 1) axes[axis->number] = axis;
  }
  if (!axes[0] || !axes[1]) return source;
  if (axes[0]->mode == XIModeRelative) {
    source.kind = SourceKind::Relative;
    return source;
  }
  int screen = DefaultScreen(display);
  source.x = DescribeAbsoluteAxis(axes[0], DisplayWidth(display, screen));
  source.y = DescribeAbsoluteAxis(axes[1], DisplayHeight(display, screen));
  bool usable = source.x.countsPerUnit > 0.0 && source.y.countsPerUnit > 0.0;
  source.kind = usable ? SourceKind::Absolute : SourceKind::Ignored;
  return source;
}

// Learns every device anew; called at the start and whenever devices come or go.
void DescribeAllSources() {
  for (PointerSource& source : sources) source = {SourceKind::Ignored, {}, {}};
  int count = 0;
  XIDeviceInfo* devices = XIQueryDevice(display, XIAllDevices, &count);
  for (int i = 0; i < count; ++i)
    if (devices[i].deviceid >= 0 && devices[i].deviceid < DeviceSlots)
      sources[devices[i].deviceid] = DescribeSource(devices[i]);
  if (devices) XIFreeDeviceInfo(devices);
}

double ClampPending(double counts) {
  if (counts > MaxPendingCounts) return MaxPendingCounts;
  if (counts < -MaxPendingCounts) return -MaxPendingCounts;
  return counts;
}

// An absolute axis moves by the difference to its last position; its first position only
// marks where it is.
double AbsoluteDifference(AbsoluteAxis* axis, double position) {
  double counts = axis->seen ? (position - axis->last) * axis->countsPerUnit : 0.0;
  axis->last = position;
  axis->seen = true;
  return counts;
}

void AddRawMotion(const XIRawEvent* raw) {
  if (raw->sourceid < 0 || raw->sourceid >= DeviceSlots) return;
  PointerSource* source = &sources[raw->sourceid];
  if (source->kind == SourceKind::Unknown) DescribeAllSources();
  if (source->kind == SourceKind::Ignored || source->kind == SourceKind::Unknown) return;
  const double* value = raw->raw_values;
  int lastAxis = raw->valuators.mask_len * 8;
  for (int axis = 0; axis < lastAxis && axis < 2; ++axis) {
    if (!XIMaskIsSet(raw->valuators.mask, axis)) continue;
    double counts = *value++;
    if (source->kind == SourceKind::Absolute) counts = AbsoluteDifference(axis == 0 ? &source->x : &source->y, counts);
    if (axis == 0)
      pendingX = ClampPending(pendingX + counts);
    else
      pendingY = ClampPending(pendingY + counts);
  }
}

void HandleEvent(XEvent* event) {
  XGenericEventCookie* cookie = &event->xcookie;
  if (cookie->type != GenericEvent || cookie->extension != inputOpcode) return;
  if (!XGetEventData(display, cookie)) return;
  if (cookie->evtype == XI_RawMotion)
    AddRawMotion(static_cast<const XIRawEvent*>(cookie->data));
  else if (cookie->evtype == XI_HierarchyChanged)
    DescribeAllSources();
  XFreeEventData(display, cookie);
}

// Takes every event the server has sent us so far, after a round trip that brings in
// all motion made before this read.
void GatherRawMotion() {
  XSync(display, False);
  while (XPending(display) > 0) {
    XEvent event;
    XNextEvent(display, &event);
    HandleEvent(&event);
  }
}

// Raw motion of every pointer, and the news of devices coming and going, on the root window.
void SelectRootEvents(bool wanted) {
  unsigned char motionMask[XIMaskLen(XI_LASTEVENT)] = {};
  unsigned char hierarchyMask[XIMaskLen(XI_LASTEVENT)] = {};
  if (wanted) {
    XISetMask(motionMask, XI_RawMotion);
    XISetMask(hierarchyMask, XI_HierarchyChanged);
  }
  XIEventMask masks[2] = {{XIAllMasterDevices, sizeof motionMask, motionMask},
                          {XIAllDevices, sizeof hierarchyMask, hierarchyMask}};
  XISelectEvents(display, DefaultRootWindow(display), masks, 2);
  XSync(display, False);
}

// Whole counts go to the reader; fractions of a count wait for the next read.
int32_t TakeWholeCounts(double* pending) {
  double whole = std::trunc(*pending);
  *pending -= whole;
  return static_cast<int32_t>(whole);
}
}  // namespace

bool OpenInputSystem() {
  display = XOpenDisplay(nullptr);
  if (display) return true;
  usingSdl = sdl_input::Available();
  return usingSdl;
}

bool CreateKeyboardDevice() {
  keyboardMade = display != nullptr || usingSdl;
  return keyboardMade;
}

// The key table is queried, never grabbed: every program keeps its keyboard.
bool ShareKeyboardInBackground() { return keyboardMade; }
bool SetKeyboardFormat() { return keyboardMade; }
bool AcquireKeyboard() { return keyboardMade; }

bool CreateMouseDevice() {
  if (usingSdl) return mouseMade = true;
  if (!display) return false;
  int event = 0, error = 0;
  if (!XQueryExtension(display, "XInputExtension", &inputOpcode, &event, &error)) return false;
  // Raw motion reaches a client that is not grabbing from version 2.1 on.
  int major = 2, minor = 2;
  if (XIQueryVersion(display, &major, &minor) != Success) return false;
  mouseMade = major > 2 || (major == 2 && minor >= 1);
  return mouseMade;
}

bool ShareMouseInBackground() {
  if (!mouseMade) return false;
  if (usingSdl) return true;
  SelectRootEvents(true);
  rawMotionSelected = true;
  return true;
}

bool SetMouseFormat() { return mouseMade; }

bool AcquireMouse() {
  if (!mouseMade) return false;
  if (usingSdl) {
    sdl_input::ForgetMotion();
    return true;
  }
  DescribeAllSources();
  GatherRawMotion();
  pendingX = 0.0;
  pendingY = 0.0;
  return rawMotionSelected;
}

bool ReadKeyboardState(uint8_t table[KeyTableSize]) {
  if (!keyboardMade) return false;
  if (usingSdl) return sdl_input::ReadKeyboard(table);
  char keys[32];
  XQueryKeymap(display, keys);
  std::memset(table, 0, KeyTableSize);
  for (int keycode = FirstKeycode; keycode < 256; ++keycode)
    if (keys[keycode / 8] & (1 << (keycode % 8))) table[keycode - FirstKeycode] = KeyDownBit;
  return true;
}

bool ReadMouseState(MouseState* state) {
  *state = {};
  if (!mouseMade) return false;
  if (usingSdl) return sdl_input::ReadMouse(state);
  if (!rawMotionSelected) return false;
  GatherRawMotion();
  state->lX = TakeWholeCounts(&pendingX);
  state->lY = TakeWholeCounts(&pendingY);
  return true;
}

void ReleaseMouseDevice() {
  if (rawMotionSelected && display) SelectRootEvents(false);
  rawMotionSelected = false;
  mouseMade = false;
}

void ReleaseKeyboardDevice() { keyboardMade = false; }

void CloseInputSystem() {
  if (display) XCloseDisplay(display);
  display = nullptr;
  usingSdl = false;
}
