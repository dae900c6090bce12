#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/format/RegistryImage.h"
#include "core/index/RegistryIndex.h"

namespace thornbeck {

// The list rows whose key names suggest personal data (docs/sharing.md gives the words), in list
// order: the entries a shared copy masks unless the user says otherwise.
std::vector<int32_t> ProposedMasks(const RegistryIndex& index);

// True when a key path names personal data by the words of ProposedMasks.
bool SuggestsPersonalData(std::string_view key);

struct SharedCopy {
    std::vector<uint8_t> bytes;
    int64_t tailBytesCleared = 0;
    std::vector<std::string> masked;  // the keys of the masked entries, in the order given
};

// A copy of the image that is safe to share: every byte after the end marker becomes 0, and the
// values of the given list rows' entries are masked in place (a String's text and a Binary's
// bytes up to their NUL padding become a filler of the same length, an Integer becomes 0). Every
// entry, key, size and offset stays, so the copy opens exactly as the original does. Rows outside
// the index are skipped; a value that runs outside the image is masked where it lies inside.
SharedCopy MakeSharedCopy(const RegistryImage& image, const RegistryIndex& index,
                          const std::vector<int32_t>& rows);

// The text that goes with a shared copy: what was masked and that it is not for a console.
std::string SharedCopyReport(const SharedCopy& copy);

}  // namespace thornbeck
