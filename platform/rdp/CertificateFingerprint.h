#pragma once

#include <string>
#include <string_view>

namespace vorlix::platform {

// The SHA-256 fingerprint of a PEM certificate as "ab:cd:...", lower case; empty when the text
// holds no certificate.
std::string CertificateFingerprint(std::string_view pem);

}  // namespace vorlix::platform
