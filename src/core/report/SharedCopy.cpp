#include "core/report/SharedCopy.h"

#include <algorithm>
#include <unordered_set>

#include "core/format/EntryScanner.h"
#include "core/format/RegistryFormat.h"
#include "core/index/KeyNameStore.h"
#include "core/report/FileLayout.h"
#include "core/text/TextFunctions.h"

namespace thornbeck {

using namespace format;

namespace {

// Words of key names that say the value is the owner's: logins and passwords, names and mail
// addresses, network keys and addresses, ids and serials. docs/sharing.md lists them.
constexpr std::string_view kPersonalWords[] = {
    "password", "passwd",   "passphrase", "pass",   "pin",   "secret", "token",
    "mail",     "email",    "account",    "login",  "logon", "user",   "username",
    "nick",     "nickname", "name",       "owner",  "ssid",  "wep",    "wpa",
    "psk",      "key",      "address",    "addr",   "ip",    "dns",    "gateway",
    "mac",      "id",       "serial",     "uuid",   "guid",  "phone",  "birthday",
    "birth",    "credit",   "card",       "server", "host",  "domain",
};

// The words of a key's last level, in lower case: split at every character that is no letter,
// and where a lower-case letter meets an upper-case one ("wlanSSID2" gives wlan, ssid).
std::vector<std::string> WordsOfLastLevel(std::string_view key) {
    const size_t slash = key.rfind('/');
    const std::string_view level = slash == std::string_view::npos ? key : key.substr(slash + 1);
    std::vector<std::string> words(1);
    const auto isLower = [](char c) { return c >= 'a' && c <= 'z'; };
    const auto isUpper = [](char c) { return c >= 'A' && c <= 'Z'; };
    for (size_t i = 0; i < level.size(); ++i) {
        const char c = level[i];
        if (!isLower(c) && !isUpper(c)) {
            if (!words.back().empty()) words.emplace_back();
            continue;
        }
        if (isUpper(c) && i > 0 && isLower(level[i - 1]) && !words.back().empty())
            words.emplace_back();
        words.back() += ToLowerAscii(c);
    }
    if (words.back().empty()) words.pop_back();
    return words;
}

constexpr uint8_t kFiller = 'x';

}  // namespace

bool SuggestsPersonalData(std::string_view key) {
    for (const std::string& word : WordsOfLastLevel(key))
        if (std::find(std::begin(kPersonalWords), std::end(kPersonalWords), word) !=
            std::end(kPersonalWords))
            return true;
    return false;
}

std::vector<int32_t> ProposedMasks(const RegistryIndex& index) {
    std::vector<int32_t> rows;
    for (size_t row = 0; row < index.rows().size(); ++row)
        if (SuggestsPersonalData(index.keyOf(index.rows()[row])))
            rows.push_back(static_cast<int32_t>(row));
    return rows;
}

SharedCopy MakeSharedCopy(const RegistryImage& image, const RegistryIndex& index,
                          const std::vector<int32_t>& rows) {
    SharedCopy copy;
    copy.bytes.assign(image.bytes().begin(), image.bytes().end());
    const auto size = static_cast<int64_t>(copy.bytes.size());
    const int64_t tail = TailStart(image);
    for (int64_t at = tail; at < size; ++at) {
        auto& byte = copy.bytes[static_cast<size_t>(at)];
        copy.tailBytesCleared += byte != 0;
        byte = 0;
    }
    // Every entry of a chosen key is masked, also those of a name that several entries share.
    std::unordered_set<std::string_view> keys;
    for (const int32_t row : rows) {
        if (row < 0 || static_cast<size_t>(row) >= index.rows().size()) continue;
        const std::string_view key = index.keyOf(index.rows()[static_cast<size_t>(row)]);
        if (keys.insert(key).second) copy.masked.emplace_back(key);
    }
    const KeyNameStore names(image);
    EntryScanner scanner(image);
    while (const auto entry = scanner.next()) {
        if (!keys.count(names.nameAt(entry->keyOffset))) continue;
        const int64_t from = std::clamp<int64_t>(int64_t{entry->offset} + kValueAt, 0, size);
        const int64_t to = std::clamp<int64_t>(from + entry->size, 0, size);
        const auto first = copy.bytes.begin() + from;
        const auto last = copy.bytes.begin() + to;
        if (image.byteAt(int64_t{entry->offset} + kTypeAt) ==
            static_cast<uint8_t>(DataType::Integer)) {
            std::fill(first, last, uint8_t{0});
        } else {
            // The padding stays: only the bytes before the trailing NULs are replaced.
            auto end = last;
            while (end != first && *(end - 1) == 0) --end;
            std::fill(first, end, kFiller);
        }
    }
    return copy;
}

std::string SharedCopyReport(const SharedCopy& copy) {
    std::string report =
        "A copy to share, NOT for putting back on a console: masked values would replace the "
        "console's own settings.\n";
    report += std::to_string(copy.tailBytesCleared) +
              " bytes after the end marker were set to 0; every entry, key, size and offset is "
              "as in the original.\n";
    report += std::to_string(copy.masked.size()) + " values masked:\n";
    for (const std::string& key : copy.masked) report += "  " + key + "\n";
    return report;
}

}  // namespace thornbeck
