#include "core/format/RegistryImage.h"

#include <algorithm>
#include <utility>

namespace thornbeck {

RegistryImage::RegistryImage(std::vector<uint8_t> bytes)
    : owner(std::make_shared<std::vector<uint8_t>>(std::move(bytes))), data(*owner) {}

RegistryImage::RegistryImage(const RegistryImage& other)
    : RegistryImage(std::vector<uint8_t>(other.data.begin(), other.data.end())) {}

RegistryImage& RegistryImage::operator=(const RegistryImage& other) {
    if (this != &other) *this = RegistryImage(other);
    return *this;
}

RegistryImage::RegistryImage(RegistryImage&& other) noexcept
    : owner(std::move(other.owner)), data(std::exchange(other.data, {})) {}

RegistryImage& RegistryImage::operator=(RegistryImage&& other) noexcept {
    if (this == &other) return *this;
    owner = std::move(other.owner);
    data = std::exchange(other.data, {});
    return *this;
}

std::optional<uint8_t> RegistryImage::byteAt(int64_t offset) const {
    if (!contains(offset, 1)) return std::nullopt;
    return data[static_cast<size_t>(offset)];
}

uint32_t RegistryImage::readNumberClipped(int64_t offset, int width) const {
    uint32_t value = 0;
    for (int i = 0; i < width && i < 4; ++i) value = (value << 8) | byteAt(offset + i).value_or(0);
    return value;
}

bool RegistryImage::write(int64_t offset, std::span<const uint8_t> bytes) {
    if (!contains(offset, static_cast<int64_t>(bytes.size()))) return false;
    std::copy(bytes.begin(), bytes.end(), data.begin() + offset);
    return true;
}

bool RegistryImage::writeClipped(int64_t offset, std::span<const uint8_t> bytes) {
    bool whole = true;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const int64_t at = offset + static_cast<int64_t>(i);
        if (contains(at, 1)) {
            data[static_cast<size_t>(at)] = bytes[i];
        } else {
            whole = false;
        }
    }
    return whole;
}

bool RegistryImage::writeNumber(int64_t offset, int width, uint32_t value) {
    if (width < 1 || width > 4) return false;
    uint8_t bytes[4];
    for (int i = width - 1; i >= 0; --i, value >>= 8) bytes[i] = static_cast<uint8_t>(value);
    return writeClipped(offset, std::span<const uint8_t>(bytes, static_cast<size_t>(width)));
}

void RegistryImage::shiftTail(int64_t from, int64_t delta) {
    const int64_t size = static_cast<int64_t>(data.size());
    if (from < 0 || from >= size || delta == 0) return;
    if (delta > 0) {
        if (from + delta >= size) return;
        std::copy_backward(data.begin() + from, data.end() - delta, data.end());
    } else {
        const int64_t distance = -delta;
        if (from + distance >= size) return;
        std::copy(data.begin() + from + distance, data.end(), data.begin() + from);
    }
}

}  // namespace thornbeck
