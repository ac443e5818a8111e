#pragma once

#include <string_view>

namespace vorlix::platform {

enum class CertificateCheck {
  Known,       // the one remembered for the server
  Remembered,  // the first seen for the server, remembered from now on
  Unsaved,     // the first seen, but the registry did not take it: good for this connection only
  Changed,     // differs from the one remembered: the connection is refused
};

// The fingerprint of the certificate a server shows, against the one remembered for it under
// "Software\Microsoft\Terminal Server Client\Servers\<host:port>", value "CertHash". To accept a
// server's new certificate, an administrator deletes that value.
CertificateCheck CheckServerCertificate(std::string_view hostAndPort, std::string_view fingerprint);

}  // namespace vorlix::platform
