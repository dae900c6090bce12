#include "ShortNamesImage.h"

#include <stdexcept>
#include <string>

#include "RegistryBuilder.h"

namespace thornbeck::sample {

namespace {
std::string Padded(size_t number, size_t width) {
    std::string text = std::to_string(number);
    if (text.size() < width) text.insert(0, width - text.size(), '0');
    return text;
}
}  // namespace

std::vector<uint8_t> ShortNamesImage(size_t nameLength, size_t fileSize, size_t* keys) {
    if (nameLength < 8) throw std::invalid_argument("names of at least 8 characters");
    RegistryBuilder builder;
    builder.fileSize = fileSize;
    size_t count = 0;
    for (;; ++count) {
        // "/" two letters "/" two digits "/" the last digit and letters up to the length.
        std::string name = "/";
        name += static_cast<char>('a' + count / 26000 % 26);
        name += static_cast<char>('a' + count / 1000 % 26);
        name += '/' + Padded(count / 10 % 100, 2) + '/' + Padded(count % 10, 1);
        name.append(nameLength - name.size(), 'k');
        RegistryBuilder::Entry entry;
        try {
            entry.keyOffset = builder.addKey(name, static_cast<uint16_t>(0x0100 + count));
        } catch (const std::length_error&) {
            break;
        }
        entry.type = 1;
        entry.value = BigEndian(static_cast<uint32_t>(count), 4);
        builder.addEntry(std::move(entry));
    }
    if (keys) *keys = count;
    return builder.build();
}

}  // namespace thornbeck::sample
