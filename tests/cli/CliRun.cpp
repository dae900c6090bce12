#include "cli/CliRun.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;
#endif

#include <csignal>
#include <stdexcept>
#include <thread>

#include "RegistryBuilder.h"
#include "core/fileio/SystemText.h"
#include "support/TestFiles.h"

namespace thornbeck::test {

using sample::BigEndian;
using sample::Bytes;

namespace {
std::string TextOf(const std::filesystem::path& path) {
    const auto bytes = ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}
}  // namespace

#ifdef _WIN32
namespace {
std::wstring Wide(const std::string& utf8) {
    return PathFromText(utf8).wstring();
}

// One argument quoted as CommandLineToArgvW splits it: backslashes double only before a quote.
std::wstring Quoted(const std::wstring& arg) {
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (const wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    return quoted + L'"';
}

HANDLE Inheritable(const std::filesystem::path& path) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}
}  // namespace

CliRun RunCli(const std::vector<std::string>& args, std::chrono::milliseconds limit) {
    const TempFolder folder;
    const auto outPath = folder.path() / "out";
    const auto errPath = folder.path() / "err";
    std::wstring commandLine = Quoted(Wide(THORNBECK_CLI_PATH));
    for (const std::string& arg : args) commandLine += L' ' + Quoted(Wide(arg));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = INVALID_HANDLE_VALUE;
    startup.hStdOutput = Inheritable(outPath);
    startup.hStdError = Inheritable(errPath);
    PROCESS_INFORMATION process{};
    const bool started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0,
                                        nullptr, nullptr, &startup, &process);
    CloseHandle(startup.hStdOutput);
    CloseHandle(startup.hStdError);
    if (!started) throw std::runtime_error("cannot start " THORNBECK_CLI_PATH);
    CliRun run;
    if (WaitForSingleObject(process.hProcess, static_cast<DWORD>(limit.count())) == WAIT_TIMEOUT) {
        run.timedOut = true;
        TerminateProcess(process.hProcess, 137);
        WaitForSingleObject(process.hProcess, INFINITE);
    }
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    run.exitCode = static_cast<int>(code);
    run.out = TextOf(outPath);
    run.err = TextOf(errPath);
    return run;
}
#else
CliRun RunCli(const std::vector<std::string>& args, std::chrono::milliseconds limit) {
    std::vector<std::string> all = {THORNBECK_CLI_PATH};
    all.insert(all.end(), args.begin(), args.end());
    return RunProgram(all, limit);
}

CliRun RunProgram(std::vector<std::string> all, std::chrono::milliseconds limit) {
    const TempFolder folder;
    const std::string outPath = (folder.path() / "out").string();
    const std::string errPath = (folder.path() / "err").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT, 0600);
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
    run.out = TextOf(outPath);
    run.err = TextOf(errPath);
    return run;
}
#endif

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
