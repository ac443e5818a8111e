#include "drivers/EvdevBackend.h"

#include <sys/epoll.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "drivers/EvdevDeviceName.h"
#include "drivers/evdev/EvdevDeviceKind.h"

namespace vorlix::drivers {

namespace {

using Kind = InterfaceRegistry::Kind;

bool Watch(int epoll, int fd) {
  epoll_event event{};
  event.events = EPOLLIN;
  event.data.fd = fd;
  return ::epoll_ctl(epoll, EPOLL_CTL_ADD, fd, &event) == 0;
}

}  // namespace

EvdevBackend::EvdevBackend(DeviceHub& hub) : hub_(hub) { hub_.SetListener(this); }

EvdevBackend::~EvdevBackend() { hub_.SetListener(nullptr); }

int EvdevBackend::Start(const std::string& folder) {
  epoll_ = platform::Handle(::epoll_create1(EPOLL_CLOEXEC));
  if (!epoll_) return errno;
  if (const int error = hotplug_.Open(folder); error != 0) {
    std::fprintf(stderr, "vorlixinputd: no real devices, cannot watch %s: %s\n", folder.c_str(),
                 std::strerror(error));
    return 0;
  }
  Watch(epoll_.Get(), hotplug_.Fd());
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ignored)) {
    if (entry.path().filename().string().starts_with("event")) Add(entry.path().string());
  }
  return 0;
}

void EvdevBackend::OnReadable() {
  std::array<epoll_event, 16> ready;
  const int count = ::epoll_wait(epoll_.Get(), ready.data(), ready.size(), 0);
  for (int i = 0; i < count; ++i) {
    const int fd = ready[i].data.fd;
    if (fd == hotplug_.Fd()) {
      hotplug_.ReadChanges(
          [this](const std::string& node, bool added) { added ? Add(node) : Remove(node); });
      continue;
    }
    // An earlier event of this batch may have removed the device.
    const auto served = served_.find(fd);
    const bool hungUp = (ready[i].events & (EPOLLHUP | EPOLLERR)) != 0;
    if (served != served_.end() && !served->second->pump->Drain(hungUp)) Forget(served);
  }
}

void EvdevBackend::Add(const std::string& node) {
  for (const auto& [fd, served] : served_) {
    if (served->node == node) return;  // udev touches a node's attributes more than once
  }
  auto served = std::make_unique<Served>();
  served->node = node;
  // Nodes we may not open yet (udev grants access a little later) come back as a change.
  if (served->device.Open(node) != 0) return;
  const auto& caps = served->device.Capabilities();
  const bool keyboard = evdev::IsKeyboard(caps);
  const bool mouse = evdev::IsMouse(caps);
  if (!keyboard && !mouse) return;
  const std::string file = std::filesystem::path(node).filename();
  const auto name = [&](Kind kind) {
    return EvdevDeviceName(served->device.Phys(), served->device.Uniq(), file, kind);
  };
  const int fd = served->device.Fd();
  served->pump = std::make_unique<EvdevPump>(hub_, fd, keyboard ? name(Kind::kKeyboard) : "",
                                             mouse ? name(Kind::kMouse) : "");
  if (const uint32_t r = served->pump->Plug(!evdev::IsHid(caps)); r != 0) {
    std::fprintf(stderr, "vorlixinputd: cannot serve %s (error %u)\n", node.c_str(), r);
    return;
  }
  if (!Watch(epoll_.Get(), fd)) {
    served->pump->Unplug();
    return;
  }
  served_.emplace(fd, std::move(served));
}

void EvdevBackend::Remove(const std::string& node) {
  for (auto served = served_.begin(); served != served_.end(); ++served) {
    if (served->second->node != node) continue;
    served->second->pump->Unplug();
    Forget(served);
    return;
  }
}

// Closing the node drops a grab along with it.
void EvdevBackend::Forget(std::map<int, std::unique_ptr<Served>>::iterator served) {
  ::epoll_ctl(epoll_.Get(), EPOLL_CTL_DEL, served->first, nullptr);
  served_.erase(served);
}

void EvdevBackend::UseChanged(const std::string& name, bool inUse) {
  for (auto& [fd, served] : served_) {
    if (!served->pump->Serves(name)) continue;
    const bool wasGrabbed = served->users > 0;
    served->users += inUse ? 1 : -1;
    if (wasGrabbed != (served->users > 0)) served->device.SetGrabbed(!wasGrabbed);
    return;
  }
}

}  // namespace vorlix::drivers
