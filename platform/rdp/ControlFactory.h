#pragma once

#include "platform/rdp/MsTscAx.h"

// Creating the remote desktop control from its registered module, as the original platform's
// class factory does. GUI thread.
namespace vorlix::platform {

// A new control, a child of `parent`; the caller owns it. Loads the module recorded under the
// control's class in the registry; the module stays loaded for the life of the process. Throws
// EOleSysError: REGDB_E_CLASSNOTREG ("Class not registered") when no module is recorded;
// HResultFromWin32(ERROR_MOD_NOT_FOUND) with the loader's text when the module cannot be loaded;
// HResultFromWin32(ERROR_PROC_NOT_FOUND) when it has no CreateMsTscAxInstance.
TMsTscAx* CreateRemoteDesktopControl(QWidget* parent);

// As CreateRemoteDesktopControl, but registers the module first (RegisterControlModule) when the
// control is not registered yet: for programs that may run before the manager ever did.
TMsTscAx* CreateRemoteDesktopControlRegistering(QWidget* parent);

// Loads the module by name, found as the loader finds libraries (the program's RUNPATH,
// $ORIGIN for ours), and calls its DllRegisterServer; the module stays loaded. Its result, or
// HResultFromWin32(ERROR_MOD_NOT_FOUND) / HResultFromWin32(ERROR_PROC_NOT_FOUND) when the module
// or the entry is missing.
HRESULT RegisterControlModule(const char* moduleName = "msrdp.ocx");

}  // namespace vorlix::platform
