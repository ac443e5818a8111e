#pragma once

namespace vorlix::platform {

// The own process may administer the machine: effective uid 0, or a member of group "sudo" or
// "wheel" (effective group or a supplementary group). Any failure to find out gives false.
// May be called from any thread.
bool IsAdministrator();

}  // namespace vorlix::platform
