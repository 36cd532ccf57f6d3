// The byte-level protocol shared by the application and the peer.
#include <gtest/gtest.h>

#include "app/protocol/Crc8.h"
#include "app/protocol/Datagrams.h"

namespace skiffwire::protocol {
namespace {

TEST(Crc8, PublishedCheckValuesAndPayloads) {
  struct Case {
    std::string_view bytes;
    uint8_t crc;
  } cases[] = {{"123456789", 0xF4},
               {"abc", 0x5F},
               {"", 0x00},
               {"ABCDEFGHIJ", 0x5E},
               {std::string_view("\x00", 1), 0x00},
               {"\x80", 0x89}};
  for (const Case& c : cases)
    EXPECT_EQ(Crc8(c.bytes), c.crc) << c.bytes;
}

TEST(Crc8, TableStepMatchesTheBitwiseDefinition) {
  for (int crc = 0; crc < 256; crc += 17) {
    for (int byte = 0; byte < 256; ++byte) {
      uint8_t expected = static_cast<uint8_t>(crc ^ byte);
      for (int bit = 0; bit < 8; ++bit) {
        expected = (expected & 0x80) ? static_cast<uint8_t>((expected << 1) ^ 0x07)
                                     : static_cast<uint8_t>(expected << 1);
      }
      ASSERT_EQ(Crc8Step(static_cast<uint8_t>(crc), static_cast<uint8_t>(byte)), expected);
    }
  }
}

TEST(Datagrams, ChecksumDatagramRoundTrip) {
  EXPECT_EQ(ChecksumDatagram(0xF4, 9), "CRCF49");
  EXPECT_EQ(ChecksumDatagram(0x07, 0), "CRC070");
  auto fields = ParseChecksumDatagram("CRC5E10");
  ASSERT_TRUE(fields);
  EXPECT_EQ(fields->crc, 0x5E);
  EXPECT_EQ(fields->length, 10u);
}

TEST(Datagrams, MalformedChecksumDatagramsArePackets) {
  for (std::string_view text :
       {"CRC", "CRC5E", "CRC5e1", "CRCZZ1", "CRC5E1x", "CRC5E-1", "crc5E1"}) {
    EXPECT_FALSE(ParseChecksumDatagram(text)) << text;
    EXPECT_EQ(Classify(text), DatagramKind::Packet) << text;
  }
}

TEST(Datagrams, Classify) {
  EXPECT_EQ(Classify("02"), DatagramKind::StartMarker);
  EXPECT_EQ(Classify("04"), DatagramKind::EndMarker);
  EXPECT_EQ(Classify("CRCF49"), DatagramKind::Checksum);
  EXPECT_EQ(Classify("ABCD"), DatagramKind::Packet);
  EXPECT_EQ(Classify(""), DatagramKind::Packet);
  EXPECT_EQ(Classify("\x02"), DatagramKind::Packet);
}

}  // namespace
}  // namespace skiffwire::protocol
