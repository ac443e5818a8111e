#include "platform/display/HookHost.h"

// Qt before Xlib, whose macros (Bool, Status) break Qt's headers.
#include <QSocketNotifier>

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/keysym.h>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

namespace vorlix::platform {

struct HookRecord {
  int kind;
  HOOKPROC proc;
};

namespace {

// One call of the hooks of one kind; lParam points into `input`.
struct HookEvent {
  int kind = 0;
  int code = 0;
  uintptr_t wParam = 0;
  LowLevelInput input;
};

// The host's X connection: raw input of every device and the root window's properties, read
// on the thread that opened it whenever its socket has data.
class XHookFeed {
 public:
  // Null when DISPLAY cannot be opened or has no XInput 2.
  static std::unique_ptr<XHookFeed> Open(void (*onReadable)());
  ~XHookFeed();
  XHookFeed(const XHookFeed&) = delete;
  XHookFeed& operator=(const XHookFeed&) = delete;

  // Takes the next pending event that hooks get; false when none is pending.
  bool Next(HookEvent& out);

 private:
  XHookFeed(Display* display, int xiOpcode, void (*onReadable)());
  bool FromRawInput(XGenericEventCookie& cookie, HookEvent& out);
  bool FromProperty(const XPropertyEvent& event, HookEvent& out);
  void AddPosition(RawInputEvent& raw);
  Window ActiveWindow();

  Display* display_;
  int xiOpcode_;
  Atom activeWindow_;
  QSocketNotifier notifier_;
};

std::unique_ptr<XHookFeed> XHookFeed::Open(void (*onReadable)()) {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return nullptr;
  int opcode = 0;
  int eventBase = 0;
  int errorBase = 0;
  int major = 2;
  int minor = 2;
  if (!XQueryExtension(display, "XInputExtension", &opcode, &eventBase, &errorBase) ||
      XIQueryVersion(display, &major, &minor) != Success) {
    XCloseDisplay(display);
    return nullptr;
  }
  return std::unique_ptr<XHookFeed>(new XHookFeed(display, opcode, onReadable));
}

XHookFeed::XHookFeed(Display* display, int xiOpcode, void (*onReadable)())
    : display_(display),
      xiOpcode_(xiOpcode),
      activeWindow_(XInternAtom(display, "_NET_ACTIVE_WINDOW", False)),
      notifier_(ConnectionNumber(display), QSocketNotifier::Read) {
  const Window root = DefaultRootWindow(display_);
  unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
  for (const int type :
       {XI_RawKeyPress, XI_RawKeyRelease, XI_RawButtonPress, XI_RawButtonRelease, XI_RawMotion}) {
    XISetMask(bits, type);
  }
  // Master devices only: each event once, whichever slave device made it.
  XIEventMask mask{XIAllMasterDevices, static_cast<int>(sizeof bits), bits};
  XISelectEvents(display_, root, &mask, 1);
  XSelectInput(display_, root, PropertyChangeMask);
  XFlush(display_);
  QObject::connect(&notifier_, &QSocketNotifier::activated, onReadable);
}

XHookFeed::~XHookFeed() {
  notifier_.setEnabled(false);
  XCloseDisplay(display_);
}

bool XHookFeed::Next(HookEvent& out) {
  // XPending also counts what earlier replies brought along, which the socket no longer shows.
  while (XPending(display_) > 0) {
    XEvent event;
    XNextEvent(display_, &event);
    const bool forHooks = event.type == PropertyNotify ? FromProperty(event.xproperty, out)
                                                       : FromRawInput(event.xcookie, out);
    if (forHooks) return true;
  }
  return false;
}

bool XHookFeed::FromRawInput(XGenericEventCookie& cookie, HookEvent& out) {
  if (cookie.type != GenericEvent || cookie.extension != xiOpcode_ ||
      !XGetEventData(display_, &cookie)) {
    return false;
  }
  const auto* xi = static_cast<const XIRawEvent*>(cookie.data);
  RawInputEvent raw{xi->evtype, xi->detail, 0, static_cast<uint32_t>(xi->time)};
  XFreeEventData(display_, &cookie);
  if (raw.type == XI_RawKeyPress || raw.type == XI_RawKeyRelease) {
    raw.keysym = XkbKeycodeToKeysym(display_, static_cast<KeyCode>(raw.detail), 0, 0);
  } else {
    AddPosition(raw);
  }
  out.input = TranslateRawInput(raw);
  out.kind = out.input.kind;
  out.code = HC_ACTION;
  out.wParam = out.input.message;
  return out.kind != 0;
}

// Raw events carry device motion, not the position it led to.
void XHookFeed::AddPosition(RawInputEvent& raw) {
  Window root = None;
  Window child = None;
  int windowX = 0;
  int windowY = 0;
  unsigned mask = 0;
  XQueryPointer(display_, DefaultRootWindow(display_), &root, &child, &raw.x, &raw.y, &windowX,
                &windowY, &mask);
}

bool XHookFeed::FromProperty(const XPropertyEvent& event, HookEvent& out) {
  if (event.atom != activeWindow_ || event.state != PropertyNewValue) return false;
  out = {WH_CBT, HCBT_ACTIVATE, ActiveWindow(), {}};
  return out.wParam != None;
}

Window XHookFeed::ActiveWindow() {
  Atom type = None;
  int format = 0;
  unsigned long count = 0;
  unsigned long after = 0;
  unsigned char* data = nullptr;
  Window window = None;
  if (XGetWindowProperty(display_, DefaultRootWindow(display_), activeWindow_, 0, 1, False,
                         XA_WINDOW, &type, &format, &count, &after, &data) == Success &&
      type == XA_WINDOW && format == 32 && count == 1) {
    window = *reinterpret_cast<const Window*>(data);  // format 32 arrives as longs
  }
  if (data != nullptr) XFree(data);
  return window;
}

using Chain = std::vector<std::unique_ptr<HookRecord>>;

Chain chain;                      // oldest first
HookRecord* running = nullptr;    // the hook whose procedure runs now
std::unique_ptr<XHookFeed> feed;  // open while some hook is installed

// Calls the newest hook of `kind` from `from` on towards the oldest.
intptr_t CallNewest(Chain::reverse_iterator from, int kind, int code, uintptr_t wParam,
                    intptr_t lParam) {
  const auto hook =
      std::find_if(from, chain.rend(), [kind](const auto& h) { return h->kind == kind; });
  if (hook == chain.rend()) return 0;
  HookRecord* const record = hook->get();
  HookRecord* const caller = std::exchange(running, record);
  const intptr_t result = record->proc(code, wParam, lParam);
  running = caller;
  return result;
}

intptr_t LParamOf(HookEvent& event) {
  switch (event.kind) {
    case WH_MOUSE_LL:
      return reinterpret_cast<intptr_t>(&event.input.mouse);
    case WH_KEYBOARD_LL:
      return reinterpret_cast<intptr_t>(&event.input.keyboard);
    default:
      return 0;
  }
}

void DeliverPending() {
  HookEvent event;
  // A procedure may remove the last hook, which closes the feed.
  while (feed && feed->Next(event)) {
    CallNewest(chain.rbegin(), event.kind, event.code, event.wParam, LParamOf(event));
  }
}

LowLevelInput MouseInput(const RawInputEvent& event, uintptr_t message, uint32_t mouseData) {
  LowLevelInput input;
  input.kind = WH_MOUSE_LL;
  input.message = message;
  input.mouse = {event.x, event.y, mouseData, 0, event.time, 0};
  return input;
}

struct ButtonMessages {
  int button;
  uintptr_t press;
  uintptr_t release;  // 0: the release reaches no hook
  int wheelDelta;
};

constexpr ButtonMessages kButtons[] = {
    {1, WM_LBUTTONDOWN, WM_LBUTTONUP, 0}, {2, WM_MBUTTONDOWN, WM_MBUTTONUP, 0},
    {3, WM_RBUTTONDOWN, WM_RBUTTONUP, 0}, {4, WM_MOUSEWHEEL, 0, WHEEL_DELTA},
    {5, WM_MOUSEWHEEL, 0, -WHEEL_DELTA},
};

LowLevelInput ButtonInput(const RawInputEvent& event) {
  const auto* button = std::find_if(std::begin(kButtons), std::end(kButtons),
                                    [&event](const auto& b) { return b.button == event.detail; });
  if (button == std::end(kButtons)) return {};
  const uintptr_t message = event.type == XI_RawButtonPress ? button->press : button->release;
  if (message == 0) return {};
  // The delta is a signed 16-bit value in the high word.
  const uint32_t mouseData = static_cast<uint32_t>(static_cast<uint16_t>(button->wheelDelta)) << 16;
  return MouseInput(event, message, mouseData);
}

struct VirtualKey {
  uint64_t keysym;
  uint32_t vk;
};

// Keys outside the ranges that VirtualKeyOf computes.
constexpr VirtualKey kVirtualKeys[] = {
    {XK_BackSpace, 0x08}, {XK_Tab, 0x09},       {XK_Return, 0x0D},    {XK_Pause, 0x13},
    {XK_Caps_Lock, 0x14}, {XK_Escape, 0x1B},    {XK_space, 0x20},     {XK_Prior, 0x21},
    {XK_Next, 0x22},      {XK_End, 0x23},       {XK_Home, 0x24},      {XK_Left, 0x25},
    {XK_Up, 0x26},        {XK_Right, 0x27},     {XK_Down, 0x28},      {XK_Insert, 0x2D},
    {XK_Delete, 0x2E},    {XK_Super_L, 0x5B},   {XK_Super_R, 0x5C},   {XK_Shift_L, 0xA0},
    {XK_Shift_R, 0xA1},   {XK_Control_L, 0xA2}, {XK_Control_R, 0xA3}, {XK_Alt_L, 0xA4},
    {XK_Alt_R, 0xA5},
};

uint32_t VirtualKeyOf(uint64_t keysym) {
  // Letters and digits have their upper-case ASCII code; level 0 gives lower-case letters.
  if (keysym >= XK_a && keysym <= XK_z) return static_cast<uint32_t>('A' + (keysym - XK_a));
  if (keysym >= XK_0 && keysym <= XK_9) return static_cast<uint32_t>(keysym);
  if (keysym >= XK_F1 && keysym <= XK_F12) return static_cast<uint32_t>(0x70 + (keysym - XK_F1));
  for (const VirtualKey& key : kVirtualKeys) {
    if (key.keysym == keysym) return key.vk;
  }
  return 0;
}

LowLevelInput KeyInput(const RawInputEvent& event, uintptr_t message, uint32_t flags) {
  LowLevelInput input;
  input.kind = WH_KEYBOARD_LL;
  input.message = message;
  // X key codes are evdev codes + 8; an evdev code is the set-1 scan code of the main block.
  const auto scanCode = static_cast<uint32_t>(event.detail - 8);
  input.keyboard = {VirtualKeyOf(event.keysym), scanCode, flags, event.time, 0};
  return input;
}

}  // namespace

HHOOK SetWindowsHookEx(int kind, HOOKPROC proc, void*, uint32_t) {
  if (proc == nullptr || (kind != WH_CBT && kind != WH_MOUSE_LL && kind != WH_KEYBOARD_LL)) {
    return nullptr;
  }
  if (!feed) feed = XHookFeed::Open(DeliverPending);
  if (!feed) return nullptr;
  chain.push_back(std::make_unique<HookRecord>(HookRecord{kind, proc}));
  return chain.back().get();
}

bool UnhookWindowsHookEx(HHOOK hook) {
  const auto it =
      std::find_if(chain.begin(), chain.end(), [hook](const auto& h) { return h.get() == hook; });
  if (it == chain.end()) return false;
  chain.erase(it);
  if (chain.empty()) feed.reset();
  return true;
}

intptr_t CallNextHookEx(HHOOK, int code, uintptr_t wParam, intptr_t lParam) {
  const auto self =
      std::find_if(chain.rbegin(), chain.rend(), [](const auto& h) { return h.get() == running; });
  if (self == chain.rend()) return 0;
  return CallNewest(std::next(self), (*self)->kind, code, wParam, lParam);
}

LowLevelInput TranslateRawInput(const RawInputEvent& event) {
  switch (event.type) {
    case XI_RawMotion:
      return MouseInput(event, WM_MOUSEMOVE, 0);
    case XI_RawButtonPress:
    case XI_RawButtonRelease:
      return ButtonInput(event);
    case XI_RawKeyPress:
      return KeyInput(event, WM_KEYDOWN, 0);
    case XI_RawKeyRelease:
      return KeyInput(event, WM_KEYUP, LLKHF_UP);
    default:
      return {};
  }
}

}  // namespace vorlix::platform
