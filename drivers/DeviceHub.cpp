#include "drivers/DeviceHub.h"

#include <unistd.h>

#include <algorithm>
#include <vector>

#include "common/ResultCodes.h"
#include "drivers/evdev/RawRecords.h"

namespace vorlix::drivers {

namespace {

constexpr size_t kMaxNameLength = 64;

// The name sits inside a path and a registry key name: keep it to plain characters.
bool ValidName(const std::string& name) {
  return !name.empty() && name.size() <= kMaxNameLength &&
         std::all_of(name.begin(), name.end(), [](char c) {
           return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                  c == '_' || c == '-' || c == '.';
         });
}

}  // namespace

void SignalOpen(const DeviceOpen& open) {
  if (!open.event) return;
  const uint64_t one = 1;
  [[maybe_unused]] auto written = ::write(open.event.Get(), &one, sizeof one);
}

std::string DeviceHub::DevicePath(Kind kind, const std::string& name, bool ps2) {
  const bool mouse = kind == Kind::kMouse;
  // The platform's keyboard and mouse interface classes, as real interface paths end.
  const char* classGuid =
      mouse ? "{378de44c-56ef-11d1-bc8c-00a0c91405dd}" : "{884b96c3-56ef-11d1-bc8c-00a0c91405dd}";
  const char* bus = !ps2 ? "HID#VID_0000&PID_0000" : mouse ? "ACPI#PNP0F13" : "ACPI#PNP0303";
  return std::string("\\\\?\\") + bus + "#vorlix&" + name + "#" + classGuid;
}

uint32_t DeviceHub::RecordSize(Kind kind) {
  return kind == Kind::kMouse ? sizeof(evdev::RawMouseRecord) : sizeof(evdev::RawKeyboardRecord);
}

uint32_t DeviceHub::Plug(Kind kind, const std::string& name, bool ps2) {
  if (!ValidName(name)) return ERROR_INVALID_NAME;
  if (devices_.contains(name)) return ERROR_ALREADY_EXISTS;
  const std::string path = DevicePath(kind, name, ps2);
  devices_.emplace(name, Device{kind, path});
  uint32_t r = registry_.SetActive(kind, path, true);
  if (r == 0) r = Publish(kind);
  if (r != 0) devices_.erase(name);  // a device the registry does not show is not served
  return r;
}

uint32_t DeviceHub::Unplug(const std::string& name) {
  const auto found = devices_.find(name);
  if (found == devices_.end()) return ERROR_FILE_NOT_FOUND;
  const Device device = found->second;
  devices_.erase(found);
  if (device.open != nullptr) {
    device.open->device.clear();
    device.open->ring.MarkDead();
    SignalOpen(*device.open);
  }
  if (const uint32_t r = registry_.SetActive(device.kind, device.path, false); r != 0) return r;
  return Publish(device.kind);
}

uint32_t DeviceHub::Publish(Kind kind) {
  std::vector<std::string> present;
  for (const auto& [name, device] : devices_) {
    if (device.kind == kind) present.push_back(device.path);
  }
  return registry_.RewriteEnum(kind, present);
}

uint32_t DeviceHub::Queue(Kind kind, const std::string& name, const void* records, uint32_t count) {
  const auto found = devices_.find(name);
  if (found == devices_.end()) return ERROR_FILE_NOT_FOUND;
  if (found->second.kind != kind) return ERROR_INVALID_DATA;
  DeviceOpen* open = found->second.open;
  if (open == nullptr || count == 0) return 0;
  const auto* bytes = static_cast<const unsigned char*>(records);
  for (uint32_t i = 0; i < count; ++i) open->ring.Push(bytes + size_t{i} * RecordSize(kind));
  SignalOpen(*open);
  return 0;
}

uint32_t DeviceHub::Open(const std::string& openName, DeviceOpen& open) {
  for (auto& [name, device] : devices_) {
    if (device.path + "edo" != openName) continue;
    if (device.open != nullptr) return ERROR_SHARING_VIOLATION;
    if (const uint32_t r = platform::RecordRing::Create(RecordSize(device.kind), open.ring);
        r != 0) {
      return r;
    }
    open.device = name;
    open.kind = device.kind;
    const bool wasInUse = device.InUse();
    device.open = &open;
    Notify(name, wasInUse, device);
    return 0;
  }
  return ERROR_FILE_NOT_FOUND;
}

void DeviceHub::Close(DeviceOpen& open) {
  const auto found = devices_.find(open.device);
  if (found != devices_.end() && found->second.open == &open) {
    const bool wasInUse = found->second.InUse();
    found->second.open = nullptr;
    Notify(found->first, wasInUse, found->second);
  }
  open.device.clear();
}

void DeviceHub::SetBound(const DeviceOpen& open, bool bound) {
  const auto found = devices_.find(open.device);
  if (found == devices_.end() || found->second.open != &open) return;
  const bool wasInUse = found->second.InUse();
  found->second.bound = bound;
  Notify(found->first, wasInUse, found->second);
}

void DeviceHub::Notify(const std::string& name, bool wasInUse, const Device& device) {
  if (listener_ != nullptr && device.InUse() != wasInUse) listener_->UseChanged(name, !wasInUse);
}

}  // namespace vorlix::drivers
