#include "core/version/ProgramVersion.h"

namespace thornbeck {

std::string_view ProgramName() {
    return "Thornbeck";
}

std::string_view ProgramVersion() {
    return THORNBECK_VERSION;
}

std::string VersionLineOf(std::string_view executable) {
    return std::string(executable) + ' ' + std::string(ProgramVersion());
}

}  // namespace thornbeck
