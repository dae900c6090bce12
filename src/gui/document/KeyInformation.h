#pragma once

#include <QString>
#include <string_view>

#include "core/keyinfo/KeyInfoTable.h"

namespace thornbeck {

// The key information file, xRegistry_info.txt beside the program: a description and a typical
// value for known keys, read once at start-up.
class KeyInformation {
public:
    // The file in `folder` (its name in any letter case); empty when there is none.
    static KeyInformation LoadFrom(const QString& folder);

    struct Texts {
        QString description;
        QString typical;
    };
    // What the file says about `key`; empty texts for a key it does not know.
    Texts of(std::string_view key) const;

private:
    KeyInfoTable table;
};

}  // namespace thornbeck
