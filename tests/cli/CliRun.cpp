#include "cli/CliRun.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <csignal>
#include <stdexcept>
#include <thread>

#include "RegistryBuilder.h"
#include "support/TestFiles.h"

extern char** environ;

namespace thornbeck::test {

using sample::BigEndian;
using sample::Bytes;

CliRun RunCli(const std::vector<std::string>& args, std::chrono::milliseconds limit) {
    const TempFolder folder;
    const std::string outPath = (folder.path() / "out").string();
    const std::string errPath = (folder.path() / "err").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT, 0600);
    std::vector<std::string> all = {THORNBECK_CLI_PATH};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : all) argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) throw std::runtime_error("cannot start " + all[0]);
    int status = 0;
    CliRun run;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            run.timedOut = true;
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    const auto text = [](const std::string& path) {
        const auto bytes = ReadBytes(path);
        return std::string(bytes.begin(), bytes.end());
    };
    run.out = text(outPath);
    run.err = text(errPath);
    return run;
}

std::vector<uint8_t> CommandTestImage() {
    sample::RegistryBuilder builder;
    builder.fileSize = 0x20000;
    builder.addEntry("/t/int", 1, BigEndian(0x1234, 4), 0x00C1);
    builder.addEntry("/t/short", 1, BigEndian(7, 2), 0x00C2);
    std::vector<uint8_t> text = Bytes("say \"hi\",\tnow\n");
    text.insert(text.end(), {0x80, 0xE9, 0xFF, 0x00});
    builder.addEntry("/t/text", 2, text, 0x00C3);
    builder.addEntry("/t/bin", 0, {0x01, 0x00, 0x5C}, 0x00C4);
    builder.addEntry("/t/twice", 1, BigEndian(1, 4), 0x0001);
    builder.addEntry("/t/odd", 7, Bytes("??"), 0x00C5);
    builder.addEntry("/t/twice", 1, BigEndian(2, 4), 0x0002);
    return builder.build();
}

}  // namespace thornbeck::test
