#include "platform/rdp/CertificateFingerprint.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>

#include <memory>

namespace vorlix::platform {

std::string CertificateFingerprint(std::string_view pem) {
  const std::unique_ptr<BIO, decltype(&BIO_free)> text(
      BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size())), BIO_free);
  if (text == nullptr) return {};
  const std::unique_ptr<X509, decltype(&X509_free)> certificate(
      PEM_read_bio_X509(text.get(), nullptr, nullptr, nullptr), X509_free);
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned length = 0;
  if (certificate == nullptr ||
      X509_digest(certificate.get(), EVP_sha256(), digest, &length) != 1) {
    return {};
  }
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string fingerprint;
  for (unsigned i = 0; i < length; ++i) {
    if (i > 0) fingerprint += ':';
    fingerprint += kDigits[digest[i] >> 4];
    fingerprint += kDigits[digest[i] & 0xF];
  }
  return fingerprint;
}

}  // namespace vorlix::platform
