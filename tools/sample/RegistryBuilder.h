#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace thornbeck::sample {

// Writes registry images laid out as console dumps are: the 16-byte file header, key records from
// 0x10 followed by AA BB CC DD EE, the marker and header record at 0xFFF0, data entries from
// 0x10000, the end marker, then zero padding. Used by the sample generator, the tests and the
// benchmarks to build files of any shape.
class RegistryBuilder {
public:
    struct Entry {
        uint16_t keyOffset = 0;  // as stored: the key record's offset - 16
        uint8_t type = 0;
        std::vector<uint8_t> value;
        uint16_t flags = 0;
        uint16_t checksum = 0;
        uint8_t endByte = 0;
        // When set, the stored data size differs from the value's length.
        int32_t storedSize = -1;
    };

    // Adds a key record; returns its stored key offset. Throws std::length_error when the key
    // area is full.
    uint16_t addKey(std::string_view name, uint16_t headerId = 0, uint8_t flag = 0);
    // The stored key offset of a name added before, adding the key when it is new.
    uint16_t keyFor(std::string_view name);
    void addEntry(Entry entry);
    void addEntry(std::string_view name, uint8_t type, std::vector<uint8_t> value,
                  uint16_t checksum = 0, uint8_t endByte = 0);

    // Options for the shape of the data area.
    bool headerRecord = true;
    bool endMarker = true;
    size_t fileSize = 256 * 1024;

    // Throws std::length_error when the entries do not fit into fileSize.
    std::vector<uint8_t> build() const;
    // Where the end marker goes (or the next entry would) in the built image.
    size_t dataEnd() const;

private:
    std::vector<uint8_t> keyArea;  // the key records from 0x10 on
    std::vector<std::pair<std::string, uint16_t>> keyNames;
    std::vector<Entry> entries;
};

std::vector<uint8_t> Bytes(std::string_view text);
std::vector<uint8_t> BigEndian(uint32_t value, int width);

}  // namespace thornbeck::sample
