#include "RegistryBuilder.h"

#include <algorithm>
#include <stdexcept>

namespace thornbeck::sample {
namespace {

constexpr size_t kKeyAreaStart = 0x10;
constexpr size_t kKeyAreaEnd = 0xFFF0;
constexpr size_t kFirstEntry = 0x10000;
const std::vector<uint8_t> kFileHeader = {0xBC, 0xAD, 0xAD, 0xBC, 0x00, 0x00, 0x00, 0x90,
                                          0x00, 0x00, 0x00, 0x02, 0xBC, 0xAD, 0xAD, 0xBC};
const std::vector<uint8_t> kDataAreaHeader = {0x4D, 0x26, 0x00, 0x7A, 0x4D, 0x26, 0x00, 0x62,
                                              0x00, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
const std::vector<uint8_t> kAreaEnd = {0xAA, 0xBB, 0xCC, 0xDD, 0xEE};

void Append(std::vector<uint8_t>& to, const std::vector<uint8_t>& bytes) {
    to.insert(to.end(), bytes.begin(), bytes.end());
}

}  // namespace

std::vector<uint8_t> Bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

std::vector<uint8_t> BigEndian(uint32_t value, int width) {
    std::vector<uint8_t> bytes(static_cast<size_t>(width));
    for (int i = width - 1; i >= 0; --i, value >>= 8) bytes[static_cast<size_t>(i)] = value & 0xFF;
    return bytes;
}

uint16_t RegistryBuilder::addKey(std::string_view name, uint16_t headerId, uint8_t flag) {
    const size_t at = kKeyAreaStart + keyArea.size();
    if (at + 6 + name.size() + kAreaEnd.size() > kKeyAreaEnd)
        throw std::length_error("key area full");
    Append(keyArea, BigEndian(headerId, 2));
    Append(keyArea, BigEndian(static_cast<uint32_t>(name.size()), 2));
    keyArea.push_back(flag);
    Append(keyArea, Bytes(name));
    keyArea.push_back(0);
    const auto keyOffset = static_cast<uint16_t>(at - 16);
    keyNames.emplace_back(std::string(name), keyOffset);
    return keyOffset;
}

uint16_t RegistryBuilder::keyFor(std::string_view name) {
    for (const auto& [known, offset] : keyNames)
        if (known == name) return offset;
    return addKey(name, static_cast<uint16_t>(0x0100 + keyNames.size()));
}

void RegistryBuilder::addEntry(Entry entry) {
    entries.push_back(std::move(entry));
}

void RegistryBuilder::addEntry(std::string_view name, uint8_t type, std::vector<uint8_t> value,
                               uint16_t checksum, uint8_t endByte) {
    Entry entry;
    entry.keyOffset = keyFor(name);
    entry.type = type;
    entry.value = std::move(value);
    entry.checksum = checksum;
    entry.endByte = endByte;
    addEntry(std::move(entry));
}

size_t RegistryBuilder::dataEnd() const {
    size_t at = headerRecord ? kFirstEntry : kKeyAreaEnd + 2;
    for (const Entry& entry : entries) at += 10 + entry.value.size();
    return at;
}

std::vector<uint8_t> RegistryBuilder::build() const {
    std::vector<uint8_t> image(fileSize, 0);
    std::copy(kFileHeader.begin(), kFileHeader.end(), image.begin());
    std::vector<uint8_t> keys = keyArea;
    Append(keys, kAreaEnd);
    std::copy(keys.begin(), keys.end(), image.begin() + kKeyAreaStart);
    const auto& dataHeader = headerRecord ? kDataAreaHeader : std::vector<uint8_t>{0x4D, 0x26};
    std::copy(dataHeader.begin(), dataHeader.end(), image.begin() + kKeyAreaEnd);

    std::vector<uint8_t> data;
    for (const Entry& entry : entries) {
        const uint32_t size = entry.storedSize >= 0 ? static_cast<uint32_t>(entry.storedSize)
                                                    : static_cast<uint32_t>(entry.value.size());
        Append(data, BigEndian(entry.flags, 2));
        Append(data, BigEndian(entry.keyOffset, 2));
        Append(data, BigEndian(entry.checksum, 2));
        Append(data, BigEndian(size, 2));
        data.push_back(entry.type);
        Append(data, entry.value);
        data.push_back(entry.endByte);
    }
    if (endMarker) Append(data, kAreaEnd);
    const size_t start = headerRecord ? kFirstEntry : kKeyAreaEnd + 2;
    if (start + data.size() > fileSize) throw std::length_error("entries do not fit");
    std::copy(data.begin(), data.end(), image.begin() + static_cast<std::ptrdiff_t>(start));
    return image;
}

}  // namespace thornbeck::sample
