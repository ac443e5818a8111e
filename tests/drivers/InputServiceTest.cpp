#include <gtest/gtest.h>

#include <signal.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "drivers/evdev/RawRecords.h"
#include "platform/devices/DeviceFile.h"
#include "platform/devices/DeviceInterfaces.h"
#include "platform/devices/FrameSocket.h"
#include "platform/devices/RecordRing.h"
#include "platform/registry/RegistryKey.h"
#include "platform/system/Event.h"
#include "platform/system/Process.h"
#include "tests/support/InputServiceFixture.h"
#include "tests/support/RunTool.h"
#include "tests/support/TempRoot.h"

namespace vorlix::platform {
namespace {

namespace protocol = input_protocol;

const std::string kK1 =
    "\\\\?\\HID#VID_0000&PID_0000#vorlix&k1#{884b96c3-56ef-11d1-bc8c-00a0c91405dd}";

using Key = evdev::RawKeyboardRecord;
using Mouse = evdev::RawMouseRecord;

std::vector<DeviceInterface> Interfaces(const char* classGuid) {
  std::vector<DeviceInterface> out;
  EXPECT_EQ(EnumerateDeviceInterfaces(classGuid, out), 0u);
  return out;
}

uint32_t Queued(DeviceFile& file) {
  uint32_t queued = 0;
  uint32_t returned = 0;
  EXPECT_EQ(file.Control(IOCTL_INPDEV_GET_QUEUED, nullptr, 0, &queued, 4, returned), 0u);
  return queued;
}

std::vector<Key> ReadKeys(DeviceFile& file, uint32_t maxRecords) {
  std::vector<Key> keys(maxRecords);
  uint32_t bytes = 0;
  EXPECT_EQ(file.Read(keys.data(), maxRecords * sizeof(Key), bytes), 0u);
  EXPECT_EQ(bytes % sizeof(Key), 0u);
  keys.resize(bytes / sizeof(Key));
  return keys;
}

class InputServiceTest : public test::InputServiceFixture {
 protected:
  DeviceFile OpenK1() {
    DeviceFile file;
    EXPECT_EQ(DeviceFile::Open(kK1 + "edo", file), 0u);
    return file;
  }
};

TEST_F(InputServiceTest, PublishesEveryDeviceInRegistrationOrderWithItsBusInThePath) {
  Tool("plug keyboard k1");
  Tool("plug keyboard k3 --ps2");
  Tool("plug keyboard k2");
  Tool("plug mouse m1 --ps2");
  const auto keyboards = Interfaces(kKeyboardClassGuid);
  ASSERT_EQ(keyboards.size(), 3u);
  EXPECT_EQ(keyboards[0].path, kK1);
  EXPECT_EQ(keyboards[1].path,
            "\\\\?\\ACPI#PNP0303#vorlix&k3#{884b96c3-56ef-11d1-bc8c-00a0c91405dd}");
  EXPECT_NE(keyboards[2].path.find("\\HID#"), std::string::npos);
  for (const auto& keyboard : keyboards) EXPECT_TRUE(keyboard.active);
  const auto mice = Interfaces(kMouseClassGuid);
  ASSERT_EQ(mice.size(), 1u);
  EXPECT_EQ(mice[0].path, "\\\\?\\ACPI#PNP0F13#vorlix&m1#{378de44c-56ef-11d1-bc8c-00a0c91405dd}");
}

TEST_F(InputServiceTest, UnplugSignalsTheEnumKeyAndKeepsTheInterfaceAcrossReplugAndRestart) {
  Tool("plug keyboard k1");
  Tool("plug keyboard k2");
  RegistryKey enumKey;
  ASSERT_EQ(RegistryKey::Open("SYSTEM\\CurrentControlSet\\Services\\kbvorlix\\Enum",
                              KeyAccess::Read, false, enumKey),
            0u);
  Event changed;
  ASSERT_EQ(enumKey.NotifyChange(true, changed), 0u);
  Tool("unplug k1");
  const Event* events[] = {&changed};
  EXPECT_EQ(WaitAny(events, kGenerous), 0);
  auto keyboards = Interfaces(kKeyboardClassGuid);
  ASSERT_EQ(keyboards.size(), 2u);
  EXPECT_EQ(keyboards[0].path, kK1);
  EXPECT_FALSE(keyboards[0].active);

  Tool("plug keyboard k1");
  keyboards = Interfaces(kKeyboardClassGuid);
  ASSERT_EQ(keyboards.size(), 2u);
  EXPECT_EQ(keyboards[0].path, kK1);
  EXPECT_TRUE(keyboards[0].active);

  StopService();
  StartService();
  keyboards = Interfaces(kKeyboardClassGuid);
  ASSERT_EQ(keyboards.size(), 2u);
  EXPECT_EQ(keyboards[0].path, kK1);
  EXPECT_FALSE(keyboards[0].active || keyboards[1].active);
  uint32_t count = 99;
  EXPECT_EQ(enumKey.ReadInteger("Count", count), 0u);
  EXPECT_EQ(count, 0u);
}

TEST_F(InputServiceTest, OpenFailures) {
  Tool("plug keyboard k1");
  Tool("plug keyboard gone");
  Tool("unplug gone");
  // A path that fills the 256 bytes with "edo" and its zero is one character too long here.
  const std::string overLong = kK1 + std::string(253 - kK1.size(), 'x') + "edo";
  const struct {
    std::string name;
    uint32_t expected;
  } cases[] = {
      {kK1, 2},
      {"\\\\?\\HID#nothing#{884b96c3-56ef-11d1-bc8c-00a0c91405dd}edo", 2},
      {kK1 + "edo", 0},
      {kK1 + "edo", 32},
      {std::string("\\\\?\\HID#VID_0000&PID_0000#vorlix&gone#{884b96c3-56ef-11d1-bc8c-"
                   "00a0c91405dd}edo"),
       2},
      {overLong, 123},
  };
  std::vector<DeviceFile> opened;
  for (const auto& c : cases) {
    DeviceFile file;
    EXPECT_EQ(DeviceFile::Open(c.name, file), c.expected) << c.name;
    EXPECT_EQ(file.IsOpen(), c.expected == 0);
    opened.push_back(std::move(file));
  }
  opened.clear();
  DeviceFile again;
  EXPECT_EQ(DeviceFile::Open(kK1 + "edo", again), 0u) << "a closed open frees the device";
  again.Close();
  StopService();
  EXPECT_EQ(DeviceFile::Open(kK1 + "edo", again), 2u);
}

TEST_F(InputServiceTest, ReadsReturnWholeRecordsInOrderAndNeverWait) {
  Tool("plug keyboard k1");
  DeviceFile file = OpenK1();
  EXPECT_TRUE(ReadKeys(file, 4).empty());
  Tool("type k1 aB");
  EXPECT_EQ(Queued(file), 6u);
  auto keys = ReadKeys(file, 4);
  ASSERT_EQ(keys.size(), 4u);
  const uint16_t expected[][2] = {{0x1E, 0}, {0x1E, 1}, {0x2A, 0}, {0x30, 0}, {0x30, 1}, {0x2A, 1}};
  for (size_t i = 0; i < keys.size(); ++i) {
    EXPECT_EQ(keys[i].makeCode, expected[i][0]) << i;
    EXPECT_EQ(keys[i].flags, expected[i][1]) << i;
  }
  // A buffer of 17 bytes holds one whole record.
  Key last[2] = {};
  uint32_t bytes = 0;
  EXPECT_EQ(file.Read(last, 17, bytes), 0u);
  EXPECT_EQ(bytes, 12u);
  EXPECT_EQ(last[0].makeCode, 0x30);
  keys = ReadKeys(file, 4);
  ASSERT_EQ(keys.size(), 1u);
  EXPECT_EQ(keys[0].flags, 1);
  EXPECT_TRUE(ReadKeys(file, 4).empty());
}

TEST_F(InputServiceTest, ThePauseKeyIsFourRecordsStartingWithE1) {
  Tool("plug keyboard k1");
  DeviceFile file = OpenK1();
  Tool("pause k1");
  const auto keys = ReadKeys(file, 8);
  ASSERT_EQ(keys.size(), 4u);
  const uint16_t expected[][2] = {{0x1D, 4}, {0x45, 0}, {0x1D, 5}, {0x45, 1}};
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(keys[i].makeCode, expected[i][0]) << i;
    EXPECT_EQ(keys[i].flags, expected[i][1]) << i;
  }
}

TEST_F(InputServiceTest, MouseRecords) {
  Tool("plug mouse m1");
  DeviceFile file;
  ASSERT_EQ(
      DeviceFile::Open(
          "\\\\?\\HID#VID_0000&PID_0000#vorlix&m1#{378de44c-56ef-11d1-bc8c-00a0c91405dd}edo", file),
      0u);
  Tool("move m1 5 -3");
  Tool("button m1 3 down");
  Tool("button m1 5 up");
  Tool("wheel m1 -120");
  Mouse records[5] = {};
  uint32_t bytes = 0;
  ASSERT_EQ(file.Read(records, sizeof records, bytes), 0u);
  ASSERT_EQ(bytes, 4 * sizeof(Mouse));
  EXPECT_EQ(records[0].lastX, 5);
  EXPECT_EQ(records[0].lastY, -3);
  EXPECT_EQ(records[0].buttonFlags, 0);
  EXPECT_EQ(records[1].buttonFlags, 0x10);
  EXPECT_EQ(records[2].buttonFlags, 0x200);
  EXPECT_EQ(records[3].buttonFlags, 0x400);
  EXPECT_EQ(records[3].buttonData, -120);
}

TEST_F(InputServiceTest, TheEventIsSetFromTheServiceUntilWithdrawn) {
  Tool("plug keyboard k1");
  DeviceFile file = OpenK1();
  Event event;
  const Event* events[] = {&event};
  int32_t fd = event.Fd();
  uint32_t returned = 0;
  ASSERT_EQ(file.Control(IOCTL_INPDEV_SET_EVENT, &fd, 4, nullptr, 0, returned), 0u);
  Tool("key k1 0x1c");
  EXPECT_EQ(WaitAny(events, kGenerous), 0);

  event.ResetEvent();
  fd = 0;
  ASSERT_EQ(file.Control(IOCTL_INPDEV_SET_EVENT, &fd, 4, nullptr, 0, returned), 0u);
  Tool("key k1 0x1c --up");
  EXPECT_EQ(Queued(file), 2u);
  EXPECT_FALSE(event.IsSet());
}

// A reader that hands over a blocking event whose counter is full must not stall the service,
// and one that shrinks its ring must not bring it down.
TEST_F(InputServiceTest, AHostileReaderCannotStopTheService) {
  Tool("plug keyboard k1");
  Tool("plug keyboard k2");
  DeviceFile file = OpenK1();
  Handle full(::eventfd(0, EFD_CLOEXEC));
  const uint64_t nearlyMax = 0xFFFFFFFFFFFFFFFEull;
  ASSERT_EQ(::write(full.Get(), &nearlyMax, sizeof nearlyMax), 8);
  int32_t fd = full.Get();
  uint32_t returned = 0;
  ASSERT_EQ(file.Control(IOCTL_INPDEV_SET_EVENT, &fd, 4, nullptr, 0, returned), 0u);
  Tool("key k1 0x1c");
  Tool("key k1 0x1c --up");
  Tool("key k2 0x1c");

  RecordRing ring;
  ASSERT_EQ(RecordRing::Create(12, ring), 0u);
  EXPECT_NE(::ftruncate(ring.Fd(), 0), 0) << "the ring a reader gets is sealed against shrinking";
}

TEST_F(InputServiceTest, ControlRequests) {
  Tool("plug keyboard k1");
  Tool("plug mouse m1");
  DeviceFile keyboard = OpenK1();
  DeviceFile mouse;
  ASSERT_EQ(DeviceFile::Open(
                "\\\\?\\HID#VID_0000&PID_0000#vorlix&m1#{378de44c-56ef-11d1-bc8c-00a0c91405dd}edo",
                mouse),
            0u);
  const uint16_t leds = 0x4;
  const uint32_t bound = 1;
  const uint32_t badMode = 3;
  int32_t notAnEventFd = 1;
  uint32_t returned = 0;
  const struct {
    DeviceFile* file;
    uint32_t code;
    const void* in;
    uint32_t size;
    uint32_t expected;
  } cases[] = {
      {&keyboard, IOCTL_INPDEV_SEND_WORD, &leds, 2, 0},
      {&keyboard, IOCTL_INPDEV_SEND_WORD, &leds, 1, 13},
      {&mouse, IOCTL_INPDEV_SEND_WORD, &leds, 2, 13},
      {&mouse, IOCTL_INPDEV_SET_MODE, &bound, 4, 0},
      {&keyboard, IOCTL_INPDEV_SET_MODE, &badMode, 4, 87},
      {&keyboard, IOCTL_INPDEV_SET_EVENT, &notAnEventFd, 4, 6},
      {&keyboard, 0x22200C, &bound, 4, 13},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.file->Control(c.code, c.in, c.size, nullptr, 0, returned), c.expected)
        << std::hex << c.code << " size " << c.size;
  }
  DeviceFile closed;
  EXPECT_EQ(closed.Control(IOCTL_INPDEV_SET_MODE, &bound, 4, nullptr, 0, returned), 6u);
}

TEST_F(InputServiceTest, FlushDropsWhatIsQueued) {
  Tool("plug keyboard k1");
  DeviceFile file = OpenK1();
  Tool("type k1 abc");
  ASSERT_EQ(Queued(file), 6u);
  EXPECT_EQ(file.Flush(), 0u);
  EXPECT_EQ(Queued(file), 0u);
  EXPECT_TRUE(ReadKeys(file, 4).empty());
}

TEST_F(InputServiceTest, AFullRingDropsTheNewestRecords) {
  Tool("plug keyboard k1");
  DeviceFile file = OpenK1();
  Tool("key k1 0x10");
  for (int i = 0; i < 4; ++i) Tool("type k1 " + std::string(170, 'a'));
  EXPECT_EQ(Queued(file), 1024u);
  const auto keys = ReadKeys(file, 1);
  ASSERT_EQ(keys.size(), 1u);
  EXPECT_EQ(keys[0].makeCode, 0x10);
}

TEST_F(InputServiceTest, AnOpenOfAnUnpluggedDeviceDrainsThenReportsTheLoss) {
  Tool("plug keyboard k1");
  DeviceFile file = OpenK1();
  Tool("key k1 0x1e");
  Tool("unplug k1");
  EXPECT_EQ(ReadKeys(file, 4).size(), 1u);
  Key key{};
  uint32_t bytes = 0;
  EXPECT_EQ(file.Read(&key, sizeof key, bytes), 1167u);
  Tool("plug keyboard k1");
  EXPECT_EQ(file.Read(&key, sizeof key, bytes), 1167u) << "a replug needs a new open";
}

TEST_F(InputServiceTest, MalformedFramesAreRefusedAndTheServiceLivesOn) {
  const struct {
    protocol::FrameHeader header;
    std::string payload;
  } cases[] = {
      {{protocol::kInput, 0xFFFFFFFF}, ""},
      {{protocol::kInput, 3}, std::string("\x00\x05k", 3)},
      {{protocol::kPlug, 2}, std::string("\x07\x00", 2)},
      {{protocol::kOpen, 300}, std::string(300, 'x')},
      {{0xDEAD, 0}, ""},
  };
  for (const auto& c : cases) {
    Handle socket;
    ASSERT_EQ(ConnectToInputService(socket), 0u);
    std::string frame(reinterpret_cast<const char*>(&c.header), sizeof c.header);
    frame += c.payload;
    ASSERT_EQ(::send(socket.Get(), frame.data(), frame.size(), MSG_NOSIGNAL),
              static_cast<ssize_t>(frame.size()));
    protocol::FrameHeader reply{};
    Handle passed;
    EXPECT_EQ(ReceiveFrame(socket.Get(), reply, nullptr, 0, passed), 0u) << c.header.code;
    EXPECT_EQ(reply.code, 13u) << c.header.code;
  }
  {
    Handle cut;
    ASSERT_EQ(ConnectToInputService(cut), 0u);
    ::send(cut.Get(), "\x01\x00", 2, MSG_NOSIGNAL);
  }
  Tool("plug keyboard k1");
  DeviceFile file = OpenK1();
  EXPECT_TRUE(file.IsOpen());
}

}  // namespace
}  // namespace vorlix::platform
