#pragma once

#include <optional>
#include <string>

namespace vorlix::testserver {

// The server's TLS certificate and private key as one PEM text, kept as "server.pem" in `dir`
// so that clients see the same certificate across restarts. Made when missing, or anew (replacing
// the stored one) when `fresh`. Nothing, with `error` set, when it can be neither read nor made.
std::optional<std::string> LoadServerCertificate(const std::string& dir, bool fresh,
                                                 std::string& error);

}  // namespace vorlix::testserver
