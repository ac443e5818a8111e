#include "platform/system/MachinePaths.h"

#include <cstdlib>

namespace vorlix::platform {

namespace {

std::string UnderRoot(const char* child, const char* standard) {
  const char* root = std::getenv("VORLIX_ROOT");
  if (root == nullptr || *root == '\0') return standard;
  return std::string(root) + "/" + child;
}

}  // namespace

std::string RegistryRoot() { return UnderRoot("registry", "/var/lib/vorlix/registry"); }

std::string RuntimeDir() { return UnderRoot("run", "/run/vorlix"); }

}  // namespace vorlix::platform
