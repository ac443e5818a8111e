#include "platform/rdp/MsRdpModule.h"

#include <dlfcn.h>

#include <filesystem>

#include "common/ResultCodes.h"
#include "platform/rdp/FreeRdpEngine.h"
#include "platform/rdp/TMsTscAxControl.h"
#include "platform/registry/RegistryKey.h"

namespace vorlix::platform {

namespace {

// The absolute path this module was loaded from; empty when it cannot be told.
std::string ModulePath() {
  static const char anchor = 0;
  Dl_info info{};
  if (::dladdr(&anchor, &info) == 0 || info.dli_fname == nullptr) return {};
  std::error_code error;
  return std::filesystem::canonical(info.dli_fname, error).string();
}

uint32_t WriteRegistration(const std::string& modulePath) {
  RegistryKey key;
  if (const uint32_t error = RegistryKey::Open(InprocServerKey(), KeyAccess::Full, true, key)) {
    return error;
  }
  if (const uint32_t error = key.WriteString("", modulePath)) return error;
  return key.WriteString("ThreadingModel", "Apartment");
}

}  // namespace

}  // namespace vorlix::platform

namespace rdp = vorlix::platform;

rdp::TMsTscAx* CreateMsTscAxInstance(QWidget* parent) {
  return new rdp::TMsTscAxControl(parent, [](rdp::RdpEventSink sink) {
    return std::make_unique<rdp::FreeRdpEngine>(std::move(sink));
  });
}

rdp::HRESULT DllRegisterServer() {
  const std::string path = rdp::ModulePath();
  return !path.empty() && rdp::WriteRegistration(path) == 0 ? 0 : rdp::SELFREG_E_CLASS;
}

rdp::HRESULT DllUnregisterServer() {
  const uint32_t error = rdp::RegistryKey::DeleteTree(rdp::ClassKey());
  return error == 0 || error == vorlix::ERROR_FILE_NOT_FOUND ? 0 : rdp::SELFREG_E_CLASS;
}
