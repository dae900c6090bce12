#pragma once

#include <cstdint>
#include <functional>

#include "core/format/EntryRef.h"
#include "core/format/RegistryImage.h"
#include "core/index/KeyNameStore.h"

namespace thornbeck {

// A fingerprint of what a load walks: every entry's offset, size and key record, in order, and
// where the walk stopped. Two images that load into the same entries have equal signatures.
struct WalkSignature {
    uint64_t hash = 0;
    int64_t entries = 0;
    friend bool operator==(const WalkSignature&, const WalkSignature&) = default;
};

// The walk of `image`, each entry passed through `adjust` first (to predict the walk of the
// image after an edit), and the end marker's offset through `adjustOffset`.
WalkSignature SignatureOfWalk(const RegistryImage& image,
                              const std::function<EntryRef(const EntryRef&)>& adjust,
                              const std::function<int32_t(int32_t)>& adjustOffset);

// True when every key name the walk of `image` reaches reads as it does in `names`.
bool WalkKeepsKeyNames(const RegistryImage& image, const KeyNameStore& names);

}  // namespace thornbeck
