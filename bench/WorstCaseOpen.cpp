// Opens the worst-case files in the window, offscreen, and reports for each the time and the peak
// memory above what the empty window takes, measured in the same run just before the open.
#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "DeepNamesImage.h"
#include "WorstCaseImage.h"
#include "window/formMain.h"

namespace {

// Peak resident memory of this process, in bytes (Linux).
long long PeakResident() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::stoll(line.substr(6)) * 1024;
    return -1;
}

void ResetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

struct Case {
    const char* name;
    std::function<std::vector<uint8_t>()> image;
};

// Opens one file into a fresh window; true when both targets are met.
bool Measure(const Case& c) {
    const auto path = std::filesystem::temp_directory_path() / "thornbeck-worst-case.sys";
    long long fileSize = 0;
    {
        const auto bytes = c.image();
        fileSize = static_cast<long long>(bytes.size());
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    thornbeck::formMain window;
    window.show();
    QCoreApplication::processEvents();
    ResetPeak();
    const long long empty = PeakResident();

    QElapsedTimer timer;
    timer.start();
    window.OpenRegistryFile(QString::fromStdString(path.string()));
    QCoreApplication::processEvents();
    const double seconds = timer.nsecsElapsed() / 1e9;
    const long long peak = PeakResident() - empty;
    std::filesystem::remove(path);

    const double perFile = static_cast<double>(peak) / static_cast<double>(fileSize);
    std::printf("%s: entries %lld, keys %zu, nodes %zu, file %.2f MiB\n", c.name,
                static_cast<long long>(window.registryIndex().entryCount()),
                window.registryIndex().rows().size(), window.registryIndex().nodes().size(),
                fileSize / 1048576.0);
    std::printf("  open: %.2f s (target under 3 s): %s\n", seconds, seconds < 3 ? "met" : "MISSED");
    std::printf(
        "  peak memory above the empty window (%.1f MiB): %.2f MiB = %.2f x the file (target at "
        "most 3): %s\n",
        empty / 1048576.0, peak / 1048576.0, perFile, perFile <= 3 ? "met" : "MISSED");
    return seconds < 3 && perFile <= 3;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    using namespace thornbeck;
    const Case cases[] = {
        {"worst case", bench::WorstCaseImage},
        // Names of about 6,000 levels that part after the first few, 256 KiB files.
        {"deep distinct names, 2,000 entries", [] { return sample::DeepNamesImage(2000); }},
        {"deep distinct names, 19,000 entries", [] { return sample::DeepNamesImage(19000); }},
        // The same in a larger file, whose budget lets the index create many more levels.
        {"deep distinct names, 19,000 entries, 64 MiB",
         [] { return sample::DeepNamesImage(19000, 64u << 20); }},
    };
    bool met = true;
    for (const Case& c : cases) met = Measure(c) && met;
    return met ? 0 : 1;
}
