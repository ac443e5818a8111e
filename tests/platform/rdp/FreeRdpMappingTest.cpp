#include <freerdp/error.h>
#include <gtest/gtest.h>

#include "platform/rdp/FreeRdpReasons.h"
#include "platform/rdp/KnownServers.h"
#include "platform/rdp/ServerAddress.h"
#include "platform/registry/RegistryKey.h"
#include "tests/support/TempRoot.h"

namespace vorlix::platform {
namespace {

TEST(ServerAddressTest, HostAndOptionalPort) {
  const struct {
    const char* server;
    const char* host;
    uint16_t port;
  } good[] = {
      {"ts", "ts", 3389},
      {"ts.example.org:3390", "ts.example.org", 3390},
      {"127.0.0.1:65535", "127.0.0.1", 65535},
      {"[::1]:3391", "::1", 3391},
      {"[fe80::1]", "fe80::1", 3389},
      {"fe80::1", "fe80::1", 3389},
  };
  for (const auto& c : good) {
    const auto address = ParseServerAddress(c.server);
    ASSERT_TRUE(address) << c.server;
    EXPECT_EQ(address->host, c.host) << c.server;
    EXPECT_EQ(address->port, c.port) << c.server;
  }
  for (const char* bad :
       {"", ":3389", "ts:", "ts:0", "ts:65536", "ts:33a", "[::1", "[::1]x", "[]:3389"}) {
    EXPECT_FALSE(ParseServerAddress(bad)) << bad;
  }
}

TEST(FreeRdpReasonsTest, EndsMapOntoThePlatformsReasons) {
  const struct {
    const char* name;
    ConnectionEnd end;
    int32_t reason;
  } cases[] = {
      {"Disconnect called", {.localRequest = true, .connected = true}, 1},
      {"Disconnect while connecting",
       {.localRequest = true, .lastError = FREERDP_ERROR_CONNECT_CANCELLED},
       1},
      {"certificate changed",
       {.certificateRefused = true, .lastError = FREERDP_ERROR_TLS_CONNECT_FAILED},
       1542},
      {"server logged off by user", {.connected = true, .errorInfo = ERRINFO_LOGOFF_BY_USER}, 2},
      {"user disconnected on server",
       {.connected = true, .errorInfo = ERRINFO_RPC_INITIATED_DISCONNECT_BY_USER},
       2},
      {"administrator disconnected",
       {.connected = true, .errorInfo = ERRINFO_RPC_INITIATED_DISCONNECT},
       3},
      {"server ended in order", {.connected = true, .serverEnded = true}, 3},
      {"socket dropped", {.connected = true}, 2308},
      {"unknown host", {.lastError = FREERDP_ERROR_DNS_NAME_NOT_FOUND}, 260},
      {"name service failed", {.lastError = FREERDP_ERROR_DNS_ERROR}, 1288},
      {"port closed", {.lastError = FREERDP_ERROR_CONNECT_FAILED}, 516},
      {"transport failed while connecting",
       {.lastError = FREERDP_ERROR_CONNECT_TRANSPORT_FAILED},
       516},
      {"TLS failed", {.lastError = FREERDP_ERROR_TLS_CONNECT_FAILED}, 2310},
      {"server wants NLA", {.lastError = FREERDP_ERROR_SECURITY_NEGO_CONNECT_FAILED}, 1030},
      {"nothing known", {}, 516},
  };
  for (const auto& c : cases) EXPECT_EQ(DisconnectReasonOf(c.end), c.reason) << c.name;
}

TEST(KnownServersTest, FirstCertificateIsRememberedAChangedOneRefused) {
  const test::TempRoot root;
  EXPECT_EQ(CheckServerCertificate("ts:3389", "aa:bb"), CertificateCheck::Remembered);
  EXPECT_EQ(CheckServerCertificate("ts:3389", "aa:bb"), CertificateCheck::Known);
  EXPECT_EQ(CheckServerCertificate("TS:3389", "aa:bb"), CertificateCheck::Known);
  EXPECT_EQ(CheckServerCertificate("ts:3389", "cc:dd"), CertificateCheck::Changed);
  EXPECT_EQ(CheckServerCertificate("ts:3390", "cc:dd"), CertificateCheck::Remembered)
      << "another port is another server";

  RegistryKey key;
  ASSERT_EQ(RegistryKey::Open("Software\\Microsoft\\Terminal Server Client\\Servers\\ts:3389",
                              KeyAccess::Full, false, key),
            0u);
  ASSERT_EQ(key.DeleteValue("CertHash"), 0u);
  EXPECT_EQ(CheckServerCertificate("ts:3389", "cc:dd"), CertificateCheck::Remembered)
      << "deleting the value accepts the new certificate";
}

}  // namespace
}  // namespace vorlix::platform
