#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "core/compare/EntryCompare.h"
#include "core/tweak/Tweak.h"

namespace thornbeck {

// The tweak that turns A's texts into B's for the differences given (DiffEntries of A and B):
// for each key in both files whose Data Type agrees, a Data Type line (the check that A's texts
// mean the same bytes in the file it is applied to) and a line per differing field Modify
// writes: Value, Data Size (Binary and String only, as Take does), Checksum, Flags, Header ID.
// A line expects A's text and writes B's. `typeOfA` gives a key's Data Type text in A.
Tweak TweakOfDifferences(const std::vector<KeyDifference>& differences,
                         const std::function<std::string(std::string_view key)>& typeOfA);

// The tweak as a file: the header line, its title and description, then one line per line.
void WriteTweak(const Tweak& tweak, std::ostream& out);
std::string TweakFileText(const Tweak& tweak);

}  // namespace thornbeck
