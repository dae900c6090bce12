#include "core/index/WalkSignature.h"

#include "core/format/EntryScanner.h"
#include "core/format/RegistryFormat.h"

namespace thornbeck {

namespace {
uint64_t Mix(uint64_t value) {
    value += 0x9E3779B97F4A7C15ull;
    value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ull;
    value = (value ^ (value >> 27)) * 0x94D049BB133111EBull;
    return value ^ (value >> 31);
}

uint64_t Combine(uint64_t hash, int64_t value) {
    return Mix(hash ^ Mix(static_cast<uint64_t>(value)));
}
}  // namespace

WalkSignature SignatureOfWalk(const RegistryImage& image,
                              const std::function<EntryRef(const EntryRef&)>& adjust,
                              const std::function<int32_t(int32_t)>& adjustOffset) {
    WalkSignature signature;
    EntryScanner scanner(image);
    while (const auto walked = scanner.next()) {
        const EntryRef entry = adjust(*walked);
        signature.hash =
            Combine(Combine(Combine(signature.hash, entry.offset), entry.size), entry.keyOffset);
        ++signature.entries;
    }
    const auto end = scanner.endMarkerOffset();
    signature.hash = Combine(signature.hash, end ? int64_t{adjustOffset(*end)} : -1);
    return signature;
}

bool WalkKeepsKeyNames(const RegistryImage& image, const KeyNameStore& names) {
    const KeyNameStore now(image);
    EntryScanner scanner(image);
    while (const auto walked = scanner.next())
        if (now.nameAt(walked->keyOffset) != names.nameAt(walked->keyOffset)) return false;
    return true;
}

}  // namespace thornbeck
