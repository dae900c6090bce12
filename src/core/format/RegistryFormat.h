#pragma once

#include <array>
#include <cstdint>

// The layout of xRegistry.sys. All numbers in the file are unsigned and big-endian.
namespace thornbeck::format {

// A file shorter than this is not a registry file.
constexpr int32_t kMinimumFileSize = 0xFFF0;

constexpr int32_t kMarkerOffset = 0xFFF0;
constexpr std::array<uint8_t, 2> kDataAreaMarker = {0x4D, 0x26};  // "M&"
constexpr int32_t kDataAreaStart = 0xFFF2;
constexpr std::array<uint8_t, 4> kEndMarker = {0xAA, 0xBB, 0xCC, 0xDD};

// Real dumps start their data area with a 14-byte header record whose key-offset field repeats
// the marker and whose value is 4 bytes long, so that the first real entry starts at 0x10000.
constexpr int32_t kHeaderRecordSize = 4;

// A stored key offset is relative to the end of the 16-byte file header.
constexpr int32_t kKeyOffsetBias = 16;

// RegEntry, relative to the entry offset E.
constexpr int32_t kFlagsAt = 0;
constexpr int32_t kKeyOffsetAt = 2;
constexpr int32_t kChecksumAt = 4;
constexpr int32_t kSizeAt = 6;
constexpr int32_t kTypeAt = 8;
constexpr int32_t kValueAt = 9;
// Header numbers, type byte and terminator: an entry occupies this plus its data size.
constexpr int32_t kEntryOverhead = 10;

// RegKey, relative to the key-record offset K.
constexpr int32_t kHeaderIdAt = 0;
constexpr int32_t kNameLengthAt = 2;
constexpr int32_t kNameAt = 5;

// The largest key-record offset a 16-bit key offset can reach, and the end of the longest name
// such a record can hold.
constexpr int32_t kLastKeyRecord = 0xFFFF + kKeyOffsetBias;
constexpr int32_t kKeyRegionEnd = kLastKeyRecord + kNameAt + 0xFFFF;

enum class DataType : uint8_t { Binary = 0, Integer = 1, String = 2 };

}  // namespace thornbeck::format
