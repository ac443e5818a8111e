#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <optional>
#include <string>
#include <vector>

#include "drivers/DeviceHub.h"
#include "drivers/EvdevDeviceName.h"
#include "drivers/EvdevPump.h"
#include "drivers/InterfaceRegistry.h"
#include "drivers/evdev/RawRecords.h"
#include "platform/system/Handle.h"
#include "tests/drivers/evdev/EventStream.h"
#include "tests/support/TempRoot.h"

namespace vorlix::drivers {
namespace {

using evdev::RawKeyboardRecord;
using evdev::RawMouseRecord;
using evdev::test::Events;
using evdev::test::kSync;
using Kind = InterfaceRegistry::Kind;

constexpr uint16_t kBreak = evdev::kKeyBreak;
constexpr uint16_t kE0 = evdev::kKeyE0;

// A pipe stands in for the event node: the pump reads it as it would read the device.
class EvdevPumpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(registry_.Start(), 0u);
    int ends[2];
    ASSERT_EQ(::pipe2(ends, O_NONBLOCK | O_CLOEXEC), 0);
    readEnd_ = platform::Handle(ends[0]);
    writeEnd_ = platform::Handle(ends[1]);
  }

  // Plugs a pump for the halves named and opens each through the hub.
  void Serve(const std::string& keyboard, const std::string& mouse) {
    pump_.emplace(hub_, readEnd_.Get(), keyboard, mouse);
    ASSERT_EQ(pump_->Plug(false), 0u);
    if (!keyboard.empty()) Open(Kind::kKeyboard, keyboard, keyboardOpen_);
    if (!mouse.empty()) Open(Kind::kMouse, mouse, mouseOpen_);
  }

  void Open(Kind kind, const std::string& name, DeviceOpen& open) {
    ASSERT_EQ(hub_.Open(DeviceHub::DevicePath(kind, name, false) + "edo", open), 0u);
  }

  void Send(const std::vector<input_event>& events) {
    const size_t bytes = events.size() * sizeof(input_event);
    ASSERT_EQ(::write(writeEnd_.Get(), events.data(), bytes), static_cast<ssize_t>(bytes));
  }

  template <typename Record>
  static std::vector<Record> Drained(DeviceOpen& open) {
    std::vector<Record> records(platform::RecordRing::kCapacity);
    records.resize(open.ring.Pop(records.data(), platform::RecordRing::kCapacity));
    return records;
  }

  test::TempRoot root_;
  InterfaceRegistry registry_;
  DeviceHub hub_{registry_};
  platform::Handle readEnd_;
  platform::Handle writeEnd_;
  std::optional<EvdevPump> pump_;
  DeviceOpen keyboardOpen_;
  DeviceOpen mouseOpen_;
};

struct Key {
  uint16_t make;
  uint16_t flags;
};

std::vector<Key> Keys(const std::vector<RawKeyboardRecord>& records) {
  std::vector<Key> keys;
  for (const auto& record : records) keys.push_back({record.makeCode, record.flags});
  return keys;
}

bool operator==(const Key& a, const Key& b) { return a.make == b.make && a.flags == b.flags; }

TEST_F(EvdevPumpTest, KeyboardStreamGivesMakeAndBreakRecords) {
  Serve("kbd", "");
  Send(Events({{EV_KEY, KEY_A, 1},
               kSync,
               {EV_KEY, KEY_A, 0},
               kSync,
               {EV_KEY, KEY_RIGHTCTRL, 1},
               {EV_KEY, KEY_B, 2},
               kSync}));
  EXPECT_TRUE(pump_->Drain(false));
  const std::vector<Key> expected = {{0x1E, 0}, {0x1E, kBreak}, {0x1D, kE0}, {0x30, 0}};
  EXPECT_EQ(Keys(Drained<RawKeyboardRecord>(keyboardOpen_)), expected);
}

TEST_F(EvdevPumpTest, MoreEventsThanOneReadTakesAreAllQueued) {
  Serve("kbd", "");
  std::vector<input_event> events;
  for (int i = 0; i < 100; ++i) {
    const auto press = Events({{EV_KEY, KEY_A, 1}, kSync, {EV_KEY, KEY_A, 0}, kSync});
    events.insert(events.end(), press.begin(), press.end());
  }
  Send(events);
  EXPECT_TRUE(pump_->Drain(false));
  EXPECT_EQ(Drained<RawKeyboardRecord>(keyboardOpen_).size(), 200u);
}

TEST_F(EvdevPumpTest, MouseStreamGivesMotionButtonAndWheelRecords) {
  Serve("", "mouse");
  Send(Events({{EV_REL, REL_X, 5},
               {EV_REL, REL_Y, -3},
               kSync,
               {EV_KEY, BTN_LEFT, 1},
               kSync,
               {EV_REL, REL_WHEEL, -1},
               {EV_KEY, BTN_LEFT, 0},
               kSync}));
  EXPECT_TRUE(pump_->Drain(false));
  const auto records = Drained<RawMouseRecord>(mouseOpen_);
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].lastX, 5);
  EXPECT_EQ(records[0].lastY, -3);
  EXPECT_EQ(records[0].buttonFlags, 0);
  EXPECT_EQ(records[1].buttonFlags, evdev::kMouseLeftDown);
  EXPECT_EQ(records[2].buttonFlags, evdev::kMouseLeftUp | evdev::kMouseWheel);
  EXPECT_EQ(records[2].buttonData, -120);
}

TEST_F(EvdevPumpTest, DeviceWithBothHalvesFeedsEach) {
  Serve("combo.kbd", "combo.mouse");
  Send(Events({{EV_KEY, KEY_A, 1}, {EV_REL, REL_X, 2}, kSync}));
  EXPECT_TRUE(pump_->Drain(false));
  const std::vector<Key> expected = {{0x1E, 0}};
  EXPECT_EQ(Keys(Drained<RawKeyboardRecord>(keyboardOpen_)), expected);
  const auto moves = Drained<RawMouseRecord>(mouseOpen_);
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ(moves[0].lastX, 2);
}

TEST_F(EvdevPumpTest, HangUpQueuesWhatIsLeftThenUnplugs) {
  Serve("kbd", "");
  Send(Events({{EV_KEY, KEY_A, 1}, kSync}));
  writeEnd_.Reset();
  EXPECT_FALSE(pump_->Drain(true));
  EXPECT_EQ(Drained<RawKeyboardRecord>(keyboardOpen_).size(), 1u);
  EXPECT_TRUE(keyboardOpen_.ring.IsDead());
  EXPECT_EQ(hub_.Unplug("kbd"), 2u);
}

TEST_F(EvdevPumpTest, ReadErrorUnplugsBothHalves) {
  Serve("combo.kbd", "combo.mouse");
  // Half an event is what no event node ever hands out.
  const char half[8] = {};
  ASSERT_EQ(::write(writeEnd_.Get(), half, sizeof half), 8);
  EXPECT_FALSE(pump_->Drain(false));
  EXPECT_TRUE(keyboardOpen_.ring.IsDead());
  EXPECT_TRUE(mouseOpen_.ring.IsDead());
}

TEST_F(EvdevPumpTest, SecondDeviceOfTheSameNameIsNotPlugged) {
  Serve("kbd", "");
  EvdevPump twin(hub_, readEnd_.Get(), "other.kbd", "kbd");
  EXPECT_EQ(twin.Plug(false), 183u);
  EXPECT_EQ(hub_.Unplug("other.kbd"), 2u);
}

struct NameCase {
  const char* phys;
  const char* uniq;
  Kind kind;
  std::string expected;
};

TEST(EvdevDeviceNameTest, FollowsTheRule) {
  const std::string longPhys(80, 'p');
  const NameCase cases[] = {
      {"usb-0000:00:14.0-2/input0", "", Kind::kKeyboard, "evdev-usb-0000_00_14.0-2_input0.kbd"},
      {"usb-0000:00:14.0-2/input0", "", Kind::kMouse, "evdev-usb-0000_00_14.0-2_input0.mouse"},
      {"isa0060/serio0/input0", "", Kind::kKeyboard, "evdev-isa0060_serio0_input0.kbd"},
      {"5c:f3:70:00:00:01", "a4:c1:38:00:00:02", Kind::kMouse,
       "evdev-5c_f3_70_00_00_01-a4_c1_38_00_00_02.mouse"},
      {"", "SN 12#", Kind::kKeyboard, "evdev-SN_12_.kbd"},
      {"", "", Kind::kKeyboard, "evdev-event7.kbd"},
      {longPhys.c_str(), "", Kind::kMouse, "evdev-" + std::string(52, 'p') + ".mouse"},
  };
  for (const NameCase& c : cases) {
    const std::string name = EvdevDeviceName(c.phys, c.uniq, "event7", c.kind);
    EXPECT_EQ(name, c.expected) << c.phys << " " << c.uniq;
    EXPECT_LE(name.size(), 64u);
  }
}

// Records what the hub asks of the device's grab.
class FakeGrabber : public DeviceUseListener {
 public:
  void UseChanged(const std::string& name, bool inUse) override {
    calls.push_back(name + (inUse ? " grab" : " release"));
  }
  std::vector<std::string> calls;
};

class DeviceUseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(registry_.Start(), 0u);
    ASSERT_EQ(hub_.Plug(Kind::kKeyboard, "k1", false), 0u);
    hub_.SetListener(&grabber_);
  }

  uint32_t Open(DeviceOpen& open) {
    return hub_.Open(DeviceHub::DevicePath(Kind::kKeyboard, "k1", false) + "edo", open);
  }

  test::TempRoot root_;
  InterfaceRegistry registry_;
  DeviceHub hub_{registry_};
  FakeGrabber grabber_;
};

using Calls = std::vector<std::string>;

TEST_F(DeviceUseTest, OpenGrabsAndCloseReleases) {
  DeviceOpen open;
  ASSERT_EQ(Open(open), 0u);
  EXPECT_EQ(grabber_.calls, Calls{"k1 grab"});
  DeviceOpen second;
  EXPECT_EQ(Open(second), 32u);
  hub_.Close(open);
  EXPECT_EQ(grabber_.calls, (Calls{"k1 grab", "k1 release"}));
}

TEST_F(DeviceUseTest, BoundDeviceStaysGrabbedUntilSetFree) {
  DeviceOpen open;
  ASSERT_EQ(Open(open), 0u);
  hub_.SetBound(open, true);
  hub_.Close(open);
  EXPECT_EQ(grabber_.calls, Calls{"k1 grab"});

  DeviceOpen again;
  ASSERT_EQ(Open(again), 0u);
  hub_.SetBound(again, false);
  EXPECT_EQ(grabber_.calls, Calls{"k1 grab"});
  hub_.Close(again);
  EXPECT_EQ(grabber_.calls, (Calls{"k1 grab", "k1 release"}));
}

TEST_F(DeviceUseTest, CloseAfterUnplugAsksNothing) {
  DeviceOpen open;
  ASSERT_EQ(Open(open), 0u);
  ASSERT_EQ(hub_.Unplug("k1"), 0u);
  hub_.Close(open);
  EXPECT_EQ(grabber_.calls, Calls{"k1 grab"});
}

}  // namespace
}  // namespace vorlix::drivers
