#include "inputdev/DeviceRegistry.h"

#include <chrono>
#include <thread>

#include "common/ResultCodes.h"
#include "platform/devices/DeviceInterfaces.h"

namespace vorlix {

using platform::KeyAccess;
using platform::RegistryKey;

DeviceRegistry& DeviceRegistry::Of(DeviceKind kind) {
  static DeviceRegistry mice(DeviceKind::Mouse);
  static DeviceRegistry keyboards(DeviceKind::Keyboard);
  return kind == DeviceKind::Mouse ? mice : keyboards;
}

void DeviceRegistry::Acquire() {
  if (users_.fetch_add(1) + 1 == 1) {
    Build();
    return;
  }
  // The first user may still be building; its lock then holds our first query back.
  for (int i = 0; i < 100 && !eventExists_; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

void DeviceRegistry::Build() {
  std::lock_guard guard(lock_);
  devices_.clear();
  changed_.emplace(platform::Event::Reset::Manual, true);
  eventExists_ = true;
  state_ = dsStarting;
  Refresh();
}

void DeviceRegistry::Release() {
  if (users_.fetch_sub(1) - 1 > 0) return;
  std::lock_guard guard(lock_);
  // A new first user may have come in between and rebuilt already.
  if (users_ > 0) return;
  devices_.clear();
  changeKey_.Close();
  changed_.reset();
  eventExists_ = false;
  state_ = dsNone;
}

void DeviceRegistry::Refresh() {
  changeKey_.Close();
  changed_->ResetEvent();
  for (InpDevInfo& device : devices_) device.Present = false;

  if (!driverSeen_) {
    RegistryKey service;
    const uint32_t error = RegistryKey::Open(traits_.serviceKey, KeyAccess::Read, false, service);
    if (error != 0) {
      state_ = error == ERROR_ACCESS_DENIED ? dsAccessDenied : dsNoDriver;
      return;
    }
    driverSeen_ = true;
  }

  const uint32_t error = RegistryKey::Open(traits_.changeKey, KeyAccess::Read, false, changeKey_);
  if (error != 0) {
    state_ = error == ERROR_ACCESS_DENIED ? dsAccessDenied : dsNoDevice;
    return;
  }
  // Armed before the walk, so a device coming or going during the walk is not missed. A watch
  // that cannot be armed leaves the event set, so the next query refreshes again.
  if (changeKey_.NotifyChange(true, *changed_) != 0) changed_->Set();
  Walk();
}

void DeviceRegistry::Walk() {
  std::vector<platform::DeviceInterface> interfaces;
  if (platform::EnumerateDeviceInterfaces(traits_.classGuid, interfaces) != 0) {
    changeKey_.Close();
    state_ = dsNoDevice;
    return;
  }
  int active = 0;
  for (const platform::DeviceInterface& found : interfaces) {
    if (found.path.empty()) continue;  // no detail to be had
    int index = IndexOfPath(found.path);
    if (index < 0) {
      index = static_cast<int>(devices_.size());
      devices_.push_back({nextId_++, found.path, true});
    }
    devices_[index].Present = found.active;
    if (found.active) ++active;
  }
  if (active > 0) {
    state_ = dsReady;
  } else {
    changeKey_.Close();
    state_ = dsNoDevice;
  }
}

int DeviceRegistry::IndexOfPath(const std::string& path) const {
  for (size_t i = 0; i < devices_.size(); ++i) {
    if (devices_[i].Path == path) return static_cast<int>(i);
  }
  return -1;
}

uint8_t DeviceRegistry::GetState() {
  std::lock_guard guard(lock_);
  if (!changed_) return state_;
  if (changed_->IsSet()) {
    state_ = dsChanged;
  } else if (state_ != dsReady) {
    Refresh();
  }
  return state_;
}

std::vector<InpDevInfo> DeviceRegistry::GetDeviceList() {
  std::lock_guard guard(lock_);
  if (GetState() == dsChanged) Refresh();
  return devices_;
}

int32_t DeviceRegistry::FindDeviceId(const std::string& path) {
  std::lock_guard guard(lock_);
  GetDeviceList();
  const int index = IndexOfPath(path);
  return index >= 0 && devices_[index].Present ? devices_[index].Id : -1;
}

std::string DeviceRegistry::GetDevicePath(int32_t id) {
  std::lock_guard guard(lock_);
  GetDeviceList();
  for (const InpDevInfo& device : devices_) {
    if (device.Id == id && device.Present) return device.Path;
  }
  return {};
}

}  // namespace vorlix
