#pragma once

#include <string>

namespace vorlix::platform {

// Where machine state lives. VORLIX_ROOT (environment), when set and not empty, moves all of it
// under one folder, for tests and the demo. Read on every call; safe from any thread as long as
// nobody changes the environment meanwhile.

// $VORLIX_ROOT/registry, else /var/lib/vorlix/registry.
std::string RegistryRoot();

// $VORLIX_ROOT/run, else /run/vorlix: lock files and the input service's socket.
std::string RuntimeDir();

}  // namespace vorlix::platform
