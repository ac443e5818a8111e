#include "platform/rdp/ControlFactory.h"

#include <dlfcn.h>

#include <string>

#include "platform/rdp/EOleSysError.h"
#include "platform/rdp/MsRdpModule.h"
#include "platform/registry/RegistryKey.h"

namespace vorlix::platform {

namespace {

// The InprocServer32 default value of the control's class.
std::string RegisteredModule() {
  RegistryKey key;
  std::string path;
  if (RegistryKey::Open(InprocServerKey(), KeyAccess::Read, false, key) != 0 ||
      key.ReadString("", path) != 0 || path.empty()) {
    throw EOleSysError("Class not registered", REGDB_E_CLASSNOTREG);
  }
  return path;
}

std::string LoaderError() {
  const char* text = ::dlerror();
  return text != nullptr ? text : "";
}

template <class Entry>
Entry FindEntry(void* module, const char* name) {
  return reinterpret_cast<Entry>(::dlsym(module, name));
}

}  // namespace

TMsTscAx* CreateRemoteDesktopControl(QWidget* parent) {
  const std::string path = RegisteredModule();
  void* module = ::dlopen(path.c_str(), RTLD_NOW);
  if (module == nullptr) {
    throw EOleSysError(LoaderError(), HResultFromWin32(ERROR_MOD_NOT_FOUND));
  }
  const auto create = FindEntry<decltype(&CreateMsTscAxInstance)>(module, kCreateInstanceEntry);
  if (create == nullptr) {
    throw EOleSysError(LoaderError(), HResultFromWin32(ERROR_PROC_NOT_FOUND));
  }
  return create(parent);
}

TMsTscAx* CreateRemoteDesktopControlRegistering(QWidget* parent) {
  try {
    return CreateRemoteDesktopControl(parent);
  } catch (const EOleSysError&) {
    RegisterControlModule();
    return CreateRemoteDesktopControl(parent);
  }
}

HRESULT RegisterControlModule(const char* moduleName) {
  void* module = ::dlopen(moduleName, RTLD_NOW);
  if (module == nullptr) return HResultFromWin32(ERROR_MOD_NOT_FOUND);
  const auto registerServer = FindEntry<decltype(&DllRegisterServer)>(module, kRegisterServerEntry);
  if (registerServer == nullptr) return HResultFromWin32(ERROR_PROC_NOT_FOUND);
  return registerServer();
}

}  // namespace vorlix::platform
