#include "platform/display/Monitors.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <memory>

#include "platform/display/RandrLayout.h"

namespace vorlix::platform {
namespace {

struct DisplayCloser {
  void operator()(Display* display) const { XCloseDisplay(display); }
};
struct ResourcesFree {
  void operator()(XRRScreenResources* resources) const { XRRFreeScreenResources(resources); }
};
struct CrtcInfoFree {
  void operator()(XRRCrtcInfo* info) const { XRRFreeCrtcInfo(info); }
};
struct OutputInfoFree {
  void operator()(XRROutputInfo* info) const { XRRFreeOutputInfo(info); }
};

using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;
using ResourcesPtr = std::unique_ptr<XRRScreenResources, ResourcesFree>;
using CrtcInfoPtr = std::unique_ptr<XRRCrtcInfo, CrtcInfoFree>;
using OutputInfoPtr = std::unique_ptr<XRROutputInfo, OutputInfoFree>;

// The primary output came with XRandR 1.3; an older server answers that request with an X
// error, which the default handler turns into an exit.
bool HasRandr13(Display* display) {
  int eventBase = 0;
  int errorBase = 0;
  int major = 0;
  int minor = 0;
  return XRRQueryExtension(display, &eventBase, &errorBase) &&
         XRRQueryVersion(display, &major, &minor) && (major > 1 || (major == 1 && minor >= 3));
}

void ReadCrtcs(Display* display, XRRScreenResources* resources, RandrLayout& layout) {
  for (int i = 0; i < resources->ncrtc; ++i) {
    const CrtcInfoPtr info(XRRGetCrtcInfo(display, resources, resources->crtcs[i]));
    if (!info || info->mode == None) continue;
    const Rect rect{info->x, info->y, info->x + static_cast<int32_t>(info->width),
                    info->y + static_cast<int32_t>(info->height)};
    layout.crtcs.push_back({resources->crtcs[i], rect});
  }
}

const XRRModeInfo* FindMode(const XRRScreenResources* resources, RRMode id) {
  for (int i = 0; i < resources->nmode; ++i) {
    if (resources->modes[i].id == id) return &resources->modes[i];
  }
  return nullptr;
}

RandrLayout::Output OutputOf(const XRROutputInfo& info, const XRRScreenResources* resources) {
  RandrLayout::Output output;
  output.name.assign(info.name, info.nameLen);
  output.connected = info.connection == RR_Connected;
  output.crtc = info.crtc;
  const XRRModeInfo* mode = info.nmode > 0 ? FindMode(resources, info.modes[0]) : nullptr;
  if (mode != nullptr) {
    output.firstModeWidth = static_cast<int32_t>(mode->width);
    output.firstModeHeight = static_cast<int32_t>(mode->height);
  }
  return output;
}

void ReadOutputs(Display* display, XRRScreenResources* resources, RandrLayout& layout) {
  const RROutput primary = XRRGetOutputPrimary(display, DefaultRootWindow(display));
  for (int i = 0; i < resources->noutput; ++i) {
    const OutputInfoPtr info(XRRGetOutputInfo(display, resources, resources->outputs[i]));
    if (!info) continue;
    layout.outputs.push_back(OutputOf(*info, resources));
    layout.outputs.back().primary = resources->outputs[i] == primary;
  }
}

RandrLayout ReadLayout(Display* display) {
  RandrLayout layout;
  layout.screenWidth = DisplayWidth(display, DefaultScreen(display));
  // With a probe of the outputs: the server's last known connection state can be stale (the
  // dummy driver reports an output switched off as disconnected until the next probe).
  const ResourcesPtr resources(XRRGetScreenResources(display, DefaultRootWindow(display)));
  if (!resources) return layout;
  ReadCrtcs(display, resources.get(), layout);
  ReadOutputs(display, resources.get(), layout);
  return layout;
}

}  // namespace

std::vector<DisplayMonitor> EnumerateDisplayMonitors(const char* displayName) {
  const DisplayPtr display(XOpenDisplay(displayName));
  if (!display || !HasRandr13(display.get())) return {};
  return ListMonitors(ReadLayout(display.get()));
}

}  // namespace vorlix::platform
