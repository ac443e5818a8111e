#include "common/ChannelReassembler.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/ChannelMessageText.h"

namespace vorlix {
namespace {

// A message of `length` bytes in all, of type `type`, its payload bytes counting up from 1.
std::string Message(uint16_t length, uint16_t type) {
  std::string message{static_cast<char>(length & 0xFF), static_cast<char>(length >> 8),
                      static_cast<char>(type & 0xFF), static_cast<char>(type >> 8)};
  for (uint16_t i = 4; i < length; ++i) message += static_cast<char>(i - 3);
  return message;
}

struct Collected {
  std::vector<std::string> messages;
  ChannelReassembler reassembler{
      [this](std::string_view message) { messages.emplace_back(message); }};
};

TEST(ChannelReassemblerTest, CutsDeliveriesIntoWholeMessagesInOrder) {
  const std::string a = Message(8, 100), b = Message(4, 104), c = Message(36, 203),
                    d = Message(1608, 101);
  const std::string all = a + b + c + d;
  const std::vector<std::string> everything{a, b, c, d};
  std::vector<std::string> byteByByte;
  for (const char byte : all) byteByByte.emplace_back(1, byte);
  const struct {
    const char* name;
    std::vector<std::string> deliveries;
    std::vector<std::string> expected;
    size_t held;
  } cases[] = {
      {"one per delivery", {a, b, c, d}, everything, 0},
      {"all in one", {all}, everything, 0},
      {"header split after 2 bytes", {all.substr(0, 2), all.substr(2)}, everything, 0},
      {"byte by byte", byteByByte, everything, 0},
      {"three whole and 10 bytes", {a + b + c + d.substr(0, 10)}, {a, b, c}, 10},
  };
  for (const auto& test : cases) {
    Collected collected;
    for (const std::string& delivery : test.deliveries) collected.reassembler.Deliver(delivery);
    EXPECT_EQ(collected.messages, test.expected) << test.name;
    EXPECT_EQ(collected.reassembler.Held(), test.held) << test.name;
    EXPECT_EQ(collected.reassembler.Malformed(), 0u) << test.name;
  }
}

TEST(ChannelReassemblerTest, MalformedLengthDropsTheRestOfItsDeliveryOnly) {
  const std::string good = Message(8, 100);
  for (const uint16_t badLength : {0, 2, 3, 1609, 65535}) {
    Collected collected;
    std::string bad = Message(4, 100);
    bad[0] = static_cast<char>(badLength & 0xFF);
    bad[1] = static_cast<char>(badLength >> 8);
    collected.reassembler.Deliver(good + bad + good);
    collected.reassembler.Deliver(good);
    EXPECT_EQ(collected.messages, (std::vector<std::string>{good, good})) << badLength;
    EXPECT_EQ(collected.reassembler.Malformed(), 1u) << badLength;
    EXPECT_EQ(collected.reassembler.Held(), 0u) << badLength;
  }
}

TEST(ChannelReassemblerTest, MalformedHeaderCompletedByALaterDeliveryIsDropped) {
  Collected collected;
  collected.reassembler.Deliver(std::string("\x02", 1));
  collected.reassembler.Deliver(std::string("\x00\x64\x00", 3) + Message(8, 100));
  collected.reassembler.Deliver(Message(4, 104));
  EXPECT_EQ(collected.messages, (std::vector<std::string>{Message(4, 104)}));
  EXPECT_EQ(collected.reassembler.Malformed(), 1u);
}

TEST(ChannelMessageTextTest, FormatsAndParsesHex) {
  EXPECT_EQ(FormatChannelMessage(Message(8, 100)), "type=100 len=8 0800640001020304");
  EXPECT_EQ(ParseHex("0800 6400 01"), std::string("\x08\x00\x64\x00\x01", 5));
  EXPECT_EQ(ParseHex("AbcD"), std::string("\xab\xcd", 2));
  for (const char* bad : {"0", "0g", "0 8", "080"}) EXPECT_FALSE(ParseHex(bad)) << bad;
}

}  // namespace
}  // namespace vorlix
