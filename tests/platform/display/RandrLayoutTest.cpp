#include "platform/display/RandrLayout.h"

#include <gtest/gtest.h>

#include "tests/platform/display/DisplayMonitorPrinter.h"

namespace vorlix::platform {
namespace {

constexpr uint32_t kAttached = DISPLAY_DEVICE_ATTACHED_TO_DESKTOP;
constexpr uint32_t kPrimary = DISPLAY_DEVICE_ATTACHED_TO_DESKTOP | DISPLAY_DEVICE_PRIMARY_DEVICE;
constexpr uint32_t kMirror = DISPLAY_DEVICE_ATTACHED_TO_DESKTOP | DISPLAY_DEVICE_MIRRORING_DRIVER;

constexpr Rect kLeft{0, 0, 1280, 1024};
constexpr Rect kMiddle{1280, 0, 2560, 1024};
constexpr Rect kRight{2560, 0, 3584, 768};

RandrLayout::Output On(const char* name, uint64_t crtc, bool primary = false) {
  return {.name = name, .connected = true, .primary = primary, .crtc = crtc};
}

RandrLayout::Output Off(const char* name, int32_t width, int32_t height, bool primary = false) {
  return {.name = name,
          .connected = true,
          .primary = primary,
          .firstModeWidth = width,
          .firstModeHeight = height};
}

RandrLayout::Output Unplugged(const char* name) { return {.name = name}; }

DisplayMonitor Monitor(const char* name, Rect rect, uint32_t state, bool systemPrimary = false) {
  return {rect, name, systemPrimary, true, state};
}

TEST(DisplayMonitorList, OutputsBecomeMonitors) {
  const struct {
    const char* what;
    RandrLayout layout;
    std::vector<DisplayMonitor> expected;
  } cases[] = {
      {"primary output at the origin",
       {.outputs = {On("DUMMY0", 1, true), On("DUMMY1", 2), On("DUMMY2", 3)},
        .crtcs = {{1, kLeft}, {2, kMiddle}, {3, kRight}},
        .screenWidth = 3584},
       {Monitor("DUMMY0", kLeft, kPrimary, true), Monitor("DUMMY1", kMiddle, kAttached),
        Monitor("DUMMY2", kRight, kAttached)}},
      {"primary output away from the origin",
       {.outputs = {On("A", 1), On("B", 2, true)},
        .crtcs = {{1, kLeft}, {2, kMiddle}},
        .screenWidth = 2560},
       {Monitor("A", kLeft, kAttached), Monitor("B", kMiddle, kPrimary, true)}},
      {"no primary output",
       {.outputs = {On("A", 1), On("B", 2)},
        .crtcs = {{1, kLeft}, {2, kMiddle}},
        .screenWidth = 2560},
       {Monitor("A", kLeft, kAttached), Monitor("B", kMiddle, kAttached)}},
      {"outputs without a CRTC lie right of the screen and never mirror each other",
       {.outputs = {On("A", 1, true), Off("B", 800, 600), Off("C", 800, 600), Off("D", 0, 0)},
        .crtcs = {{1, kLeft}},
        .screenWidth = 1280},
       {Monitor("A", kLeft, kPrimary, true), Monitor("B", {1280, 0, 2080, 600}, 0),
        Monitor("C", {1280, 0, 2080, 600}, 0), Monitor("D", {1280, 0, 1280, 0}, 0)}},
      {"a primary output without a CRTC is not primary",
       {.outputs = {On("A", 1), Off("B", 800, 600, true)},
        .crtcs = {{1, kLeft}},
        .screenWidth = 1280},
       {Monitor("A", kLeft, kAttached), Monitor("B", {1280, 0, 2080, 600}, 0)}},
      {"outputs sharing a CRTC",
       {.outputs = {On("A", 1, true), On("B", 2), On("C", 2)},
        .crtcs = {{1, kLeft}, {2, kMiddle}},
        .screenWidth = 2560},
       {Monitor("A", kLeft, kPrimary, true), Monitor("B", kMiddle, kAttached),
        Monitor("C", kMiddle, kMirror)}},
      {"CRTCs over the same area",
       {.outputs = {On("A", 1, true), On("B", 2), On("C", 3), On("D", 4)},
        .crtcs = {{1, kLeft}, {2, kMiddle}, {3, kMiddle}, {4, kMiddle}},
        .screenWidth = 2560},
       {Monitor("A", kLeft, kPrimary, true), Monitor("B", kMiddle, kAttached),
        Monitor("C", kMiddle, kMirror), Monitor("D", kMiddle, kMirror)}},
      {"the primary output is never the mirror",
       {.outputs = {On("A", 1), On("B", 2, true)},
        .crtcs = {{1, kMiddle}, {2, kMiddle}},
        .screenWidth = 2560},
       {Monitor("A", kMiddle, kMirror), Monitor("B", kMiddle, kPrimary, true)}},
      {"disconnected outputs are left out, the server's order is kept",
       {.outputs = {Unplugged("DUMMY5"), On("DUMMY2", 3), Unplugged("DUMMY3"),
                    On("DUMMY0", 1, true), On("DUMMY1", 2)},
        .crtcs = {{1, kLeft}, {2, kMiddle}, {3, kRight}},
        .screenWidth = 3584},
       {Monitor("DUMMY2", kRight, kAttached), Monitor("DUMMY0", kLeft, kPrimary, true),
        Monitor("DUMMY1", kMiddle, kAttached)}},
  };
  for (const auto& c : cases) EXPECT_EQ(ListMonitors(c.layout), c.expected) << c.what;
}

}  // namespace
}  // namespace vorlix::platform
