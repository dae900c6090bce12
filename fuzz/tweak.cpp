// The tweak parser on any bytes: it never fails to answer, and a tweak it reads comes back the
// same from the file text the writer makes of it. Any bytes also go through a text's escaping
// and back unchanged.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "Check.h"
#include "core/tweak/TweakParser.h"
#include "core/tweak/TweakText.h"
#include "core/tweak/TweakWriter.h"

namespace {

bool SameLines(const thornbeck::Tweak& a, const thornbeck::Tweak& b) {
    if (a.lines.size() != b.lines.size()) return false;
    for (size_t i = 0; i < a.lines.size(); ++i) {
        const auto& x = a.lines[i];
        const auto& y = b.lines[i];
        if (x.key != y.key || x.field != y.field || x.expected != y.expected || x.text != y.text)
            return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    std::string problem;
    const auto back = thornbeck::BytesOfTweakText(thornbeck::TweakTextOf(input), problem);
    FUZZ_CHECK(back && *back == input);

    const auto parsed = thornbeck::ParseTweak(input);
    if (const auto* error = std::get_if<thornbeck::TweakFileError>(&parsed)) {
        FUZZ_CHECK(error->line >= 1 && !error->message.empty());
        return 0;
    }
    const auto& tweak = std::get<thornbeck::Tweak>(parsed);
    for (const auto& line : tweak.lines) FUZZ_CHECK(thornbeck::IsTweakField(line.field));
    const auto again = thornbeck::ParseTweak(thornbeck::TweakFileText(tweak));
    FUZZ_CHECK(std::holds_alternative<thornbeck::Tweak>(again));
    FUZZ_CHECK(SameLines(tweak, std::get<thornbeck::Tweak>(again)));
    return 0;
}
