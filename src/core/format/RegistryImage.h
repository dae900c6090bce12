#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace thornbeck {

// The whole registry file as one byte image, first byte at offset 0. It is the only copy of the
// file's bytes. Every read and write is bounds-checked: offsets are 64-bit so that arithmetic on
// 32-bit offsets read from the file cannot overflow before the check.
//
// The length never changes after construction, so the buffer never moves: a load's key names
// view it (sharedBytes) instead of copying it. A copy of an image is a copy of its bytes.
class RegistryImage {
public:
    RegistryImage() = default;
    explicit RegistryImage(std::vector<uint8_t> bytes);
    RegistryImage(const RegistryImage& other);
    RegistryImage& operator=(const RegistryImage& other);
    RegistryImage(RegistryImage&& other) noexcept;
    RegistryImage& operator=(RegistryImage&& other) noexcept;

    int32_t size() const { return static_cast<int32_t>(data.size()); }
    bool empty() const { return data.empty(); }
    std::span<const uint8_t> bytes() const { return data; }
    // The buffer, for views that must outlive this image's use of it; null for a default-made
    // or moved-from image.
    std::shared_ptr<const std::vector<uint8_t>> sharedBytes() const { return owner; }

    // True when [offset, offset + length) lies inside the image.
    bool contains(int64_t offset, int64_t length) const {
        return offset >= 0 && length >= 0 && offset <= static_cast<int64_t>(data.size()) &&
               length <= static_cast<int64_t>(data.size()) - offset;
    }
    std::optional<uint8_t> byteAt(int64_t offset) const;
    // Unsigned big-endian number of `width` (1..4) bytes; a byte outside the image counts as 0.
    // Inline, with the whole number inside the image read at once: every entry of a load is
    // read through here.
    uint32_t readNumber(int64_t offset, int width) const {
        if (width < 1 || width > 4 || !contains(offset, width))
            return readNumberClipped(offset, width);
        uint32_t value = 0;
        for (int i = 0; i < width; ++i) value = value << 8 | data[static_cast<size_t>(offset + i)];
        return value;
    }
    // True when the bytes at `offset` equal `pattern` (all of them inside the image).
    bool matches(int64_t offset, std::span<const uint8_t> pattern) const {
        if (!contains(offset, static_cast<int64_t>(pattern.size()))) return false;
        return std::equal(pattern.begin(), pattern.end(), data.begin() + offset);
    }

    // Writes only when the whole range lies inside the image; false (and nothing written)
    // otherwise.
    bool write(int64_t offset, std::span<const uint8_t> bytes);
    // Writes the bytes that lie inside the image and skips the others; false when any was skipped.
    bool writeClipped(int64_t offset, std::span<const uint8_t> bytes);
    // A big-endian number of 1..4 bytes, written as writeClipped writes.
    bool writeNumber(int64_t offset, int width, uint32_t value);
    // Moves every byte from `from` to the end by `delta` within the image: growing drops the
    // last delta bytes, shrinking leaves the last |delta| bytes as they were. The length stays.
    void shiftTail(int64_t from, int64_t delta);

private:
    uint32_t readNumberClipped(int64_t offset, int width) const;

    std::shared_ptr<std::vector<uint8_t>> owner;
    std::span<uint8_t> data;  // all of *owner; empty when there is none
};

}  // namespace thornbeck
