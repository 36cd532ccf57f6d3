// The tag bytes of the property value stream (shared by the reader and the
// design compiler).
#pragma once

#include <cstdint>

namespace rt::tag {

inline constexpr uint8_t Int16 = 0x02;
inline constexpr uint8_t Int32 = 0x03;
inline constexpr uint8_t Single = 0x04;
inline constexpr uint8_t Double = 0x05;
inline constexpr uint8_t Date = 0x07;
inline constexpr uint8_t String = 0x08;
inline constexpr uint8_t EmbeddedObject = 0x09;
inline constexpr uint8_t False = 0x0B;
inline constexpr uint8_t NullObject = 0x0D;
inline constexpr uint8_t Byte = 0x11;
inline constexpr uint8_t Int64 = 0x14;
inline constexpr uint8_t Nothing = 0x18;
inline constexpr uint8_t Record = 0x24;
inline constexpr uint8_t Invalid = 0xE8;
inline constexpr uint8_t RawString = 0xE9;
inline constexpr uint8_t PersistedObject = 0xEA;
inline constexpr uint8_t Handle = 0xEC;
inline constexpr uint8_t HostedState = 0xED;
inline constexpr uint8_t HostedNoState = 0xEE;
inline constexpr uint8_t HostedStateNoFlag = 0xEF;
inline constexpr uint8_t ByteArray = 0xF0;
inline constexpr uint8_t ShortRecord = 0xF1;
inline constexpr uint8_t True = 0xF2;
inline constexpr uint8_t ShortString = 0xF3;
inline constexpr uint8_t NullString = 0xF4;
inline constexpr uint8_t Int16Byte = 0xF5;
inline constexpr uint8_t Int16Zero = 0xF6;
inline constexpr uint8_t Int32Byte = 0xF7;
inline constexpr uint8_t Int32Word = 0xF8;
inline constexpr uint8_t Int32Zero = 0xF9;
inline constexpr uint8_t EmbeddedObjectWithEvents = 0xFA;
inline constexpr uint8_t ShortArray = 0xFB;
inline constexpr uint8_t Array = 0xFC;
inline constexpr uint8_t Skip8 = 0xFD;
inline constexpr uint8_t Skip16 = 0xFE;
inline constexpr uint8_t Skip32 = 0xFF;

// The number shown for the never-valid tag 0xE8.
inline constexpr int kInvalidTagNumber = 123;

}  // namespace rt::tag
