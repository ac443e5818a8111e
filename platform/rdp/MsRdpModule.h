#pragma once

#include <string>

#include "platform/rdp/MsTscAx.h"

// The entry points of the control module "msrdp.ocx", and where it registers itself. The factory
// (ControlFactory.h) finds the entries by these names; programs do not call them directly.
extern "C" {

// Our stand-in for the class factory: a new control, a child of `parent`. GUI thread.
[[gnu::visibility("default")]] vorlix::platform::TMsTscAx* CreateMsTscAxInstance(QWidget* parent);

// Records this module, by its absolute path, as the class's in-process server. 0, or
// SELFREG_E_CLASS when the registry cannot be written.
[[gnu::visibility("default")]] vorlix::platform::HRESULT DllRegisterServer();

// Removes the class's registration; 0 also when there was none, else SELFREG_E_CLASS.
[[gnu::visibility("default")]] vorlix::platform::HRESULT DllUnregisterServer();
}

namespace vorlix::platform {

inline constexpr const char* kCreateInstanceEntry = "CreateMsTscAxInstance";
inline constexpr const char* kRegisterServerEntry = "DllRegisterServer";

// SOFTWARE\Classes\CLSID\{...}: the class's registration.
inline std::string ClassKey() { return std::string("SOFTWARE\\Classes\\CLSID\\") + CLSID_MsTscAx; }
// Its default value is the module's path.
inline std::string InprocServerKey() { return ClassKey() + "\\InprocServer32"; }

}  // namespace vorlix::platform
