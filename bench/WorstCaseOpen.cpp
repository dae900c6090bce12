// Opens the worst-case files in the window, offscreen, and reports for each the time and the peak
// memory above what the empty window takes, measured in the same run just before the open.
#include <malloc.h>
#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
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

// The sample registry the build writes beside the programs.
std::vector<uint8_t> SampleBeside() {
    std::ifstream in((QCoreApplication::applicationDirPath() + "/xRegistry.sys").toStdString(),
                     std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Prints the window's messages instead of waiting for a click.
class PrintedPrompts : public thornbeck::DialogPrompts {
public:
    QMessageBox::StandardButton message(QWidget*, QMessageBox::Icon, const QString&,
                                        const QString& text,
                                        QMessageBox::StandardButtons) override {
        std::printf("  message: %s\n", text.simplified().toLocal8Bit().constData());
        return QMessageBox::Ok;
    }
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
    thornbeck::formMain window(std::make_unique<PrintedPrompts>());
    window.show();
    QCoreApplication::processEvents();
    // The empty window is one that has shown a registry before: the sample is opened and the
    // window emptied again (a missing file empties it), so that the code and font pages that
    // drawing needs are in memory, and the freed heap is given back, so that reusing it counts.
    const QString sample = QCoreApplication::applicationDirPath() + "/xRegistry.sys";
    window.OpenRegistryFile(sample);
    QCoreApplication::processEvents();
    window.OpenRegistryFile(sample + ".missing");
    QCoreApplication::processEvents();
    malloc_trim(0);
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
    if (window.caption().isEmpty()) {
        // Refused: the window says why and holds nothing of the file.
        std::printf("%s: file %.2f MiB\n  refused in %.2f s (target under 3 s): %s\n", c.name,
                    fileSize / 1048576.0, seconds, seconds < 3 ? "met" : "MISSED");
        std::printf("  peak memory above the empty window: %.2f MiB = %.2f x the file\n",
                    peak / 1048576.0, perFile);
        return seconds < 3 && perFile <= 3;
    }
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
        {"sample registry", SampleBeside},
        {"worst case", bench::WorstCaseImage},
        // Names of about 6,000 levels that part after the first few, 256 KiB files. With 1,000
        // entries the path levels get as many nodes again; 2,048 distinct keys are the most a
        // 256 KiB file may name, so that their path levels are cut; more are refused.
        {"deep distinct names, 1,000 entries", [] { return sample::DeepNamesImage(1000); }},
        {"deep distinct names, 2,000 entries", [] { return sample::DeepNamesImage(2000); }},
        {"deep distinct names, 2,048 entries", [] { return sample::DeepNamesImage(2048); }},
        {"deep distinct names, 4,096 entries", [] { return sample::DeepNamesImage(4096); }},
        {"deep distinct names, 19,000 entries", [] { return sample::DeepNamesImage(19000); }},
        // The same in a larger file, whose budget lets the index create many more levels.
        {"deep distinct names, 19,000 entries, 64 MiB",
         [] { return sample::DeepNamesImage(19000, 64u << 20); }},
    };
    // One case alone, by the start of its name, for a profiler.
    const QString only = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    bool met = true;
    for (const Case& c : cases)
        if (only.isEmpty() || QString::fromLatin1(c.name).startsWith(only)) met = Measure(c) && met;
    return met ? 0 : 1;
}
