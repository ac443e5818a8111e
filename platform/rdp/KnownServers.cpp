#include "platform/rdp/KnownServers.h"

#include <string>

#include "platform/registry/RegistryKey.h"

namespace vorlix::platform {

namespace {

constexpr std::string_view kServersKey = "Software\\Microsoft\\Terminal Server Client\\Servers\\";
constexpr std::string_view kCertHash = "CertHash";

}  // namespace

CertificateCheck CheckServerCertificate(std::string_view hostAndPort,
                                        std::string_view fingerprint) {
  const std::string path = std::string(kServersKey) + std::string(hostAndPort);
  RegistryKey key;
  std::string known;
  if (RegistryKey::Open(path, KeyAccess::Read, false, key) == 0 &&
      key.ReadString(kCertHash, known) == 0) {
    return known == fingerprint ? CertificateCheck::Known : CertificateCheck::Changed;
  }
  RegistryKey writable;
  if (RegistryKey::Open(path, KeyAccess::Full, true, writable) != 0 ||
      writable.WriteString(kCertHash, fingerprint) != 0) {
    return CertificateCheck::Unsaved;
  }
  return CertificateCheck::Remembered;
}

}  // namespace vorlix::platform
