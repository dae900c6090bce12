#include "cli/Cli.h"

#include <algorithm>
#include <array>
#include <exception>
#include <new>

#include "cli/Commands.h"
#include "cli/EscapedText.h"
#include "cli/ExitCode.h"
#include "core/version/ProgramVersion.h"

namespace thornbeck::cli {
namespace {

struct Command {
    std::string_view name;
    std::string_view synopsis;  // operands and options after the name
    std::string_view summary;
    std::string_view help;  // the operands and options explained
    size_t operandCount;
    std::span<const KnownOption> options;
    int (*run)(const Arguments&, const Streams&);
};

constexpr std::array<KnownOption, 1> kListOptions = {{{"--format", true}}};
constexpr std::array<KnownOption, 1> kFindOptions = {{{"--values", false}}};
constexpr std::array<KnownOption, 1> kGetOptions = {{{"--hex", false}}};
constexpr std::array<KnownOption, 9> kSetOptions = {{{"--value", true},
                                                     {"--value-hex", true},
                                                     {"--size", true},
                                                     {"--checksum", true},
                                                     {"--flags", true},
                                                     {"--header-id", true},
                                                     {"--dry-run", false},
                                                     {"--force", false},
                                                     {"-o", true}}};
constexpr std::array<KnownOption, 2> kDiffOptions = {{{"--offsets", false}, {"--format", true}}};
constexpr std::array<KnownOption, 5> kMergeOptions = {
    {{"--keys", true}, {"--fields", true}, {"--dry-run", false}, {"--force", false}, {"-o", true}}};

constexpr std::array<KnownOption, 5> kApplyOptions = {{{"--overwrite", false},
                                                       {"--partial", false},
                                                       {"--dry-run", false},
                                                       {"--force", false},
                                                       {"-o", true}}};

constexpr std::array<KnownOption, 1> kInfoOptions = {{{"--layout", false}}};
constexpr std::array<KnownOption, 3> kRedactOptions = {
    {{"--mask", true}, {"--keep", true}, {"--dry-run", false}}};

constexpr std::array<Command, 10> kCommands = {{
    {"info", "FILE [--layout]", "size, layout, entry counts and every problem of a file",
     "Prints the file's size, whether the data-area marker and the header record are there, the\n"
     "number of entries and of distinct keys, and where the end marker lies. Then one line per\n"
     "problem (a key record, key name or value that reaches outside the file, no data-area\n"
     "marker, no entries) and per note (a name repeated by a later entry, no end marker, no\n"
     "header record).\n"
     "  --layout  also the file's regions (first offset, length, what they hold) and the loose\n"
     "            values of the tail after the end marker (runs of 4 or more printable bytes)\n"
     "Exit status: 0 when nothing is wrong, 1 when a problem was found, 2 for a file that\n"
     "cannot be read or is too short to be a registry file.\n",
     1, kInfoOptions, RunInfo},
    {"list", "FILE [--format tsv|csv|json]", "every list row with its nine texts",
     "Prints one row per key, in the order of the file, with the texts of the window's list:\n"
     "Key, Value, Size, Type, Checksum, Flags, Header ID, Data Offset, Key Offset. A key that\n"
     "several entries share shows its first entry, as the list does.\n"
     "  --format tsv   tab-separated (the default); control characters (0x80-0x9F too) and \\\n"
     "                 as \\t, \\n, \\r, \\\\ and \\xNN, bytes 0xA0-0xFF in UTF-8\n"
     "  --format csv   what Export as CSV writes\n"
     "  --format json  an array of objects; control characters and bytes from 0x80 as \\u00XX\n",
     1, kListOptions, RunList},
    {"export-csv",
     "FILE OUT",
     "write the CSV export of the window",
     "Writes OUT with exactly the bytes the window's Export as CSV writes for FILE with the list\n"
     "in the order of the file. OUT is replaced whole or not at all.\n",
     2,
     {},
     RunExportCsv},
    {"get", "FILE KEY [--hex]", "the eight field texts of one entry",
     "Prints the entry's eight field texts as the details panel shows them, one per line after\n"
     "its caption. A key that several entries share shows its last entry, as the tree does.\n"
     "Control characters and \\ are written as in list's TSV.\n"
     "  --hex  a Binary or String value as hex byte pairs (\"00 1F A7\")\n"
     "Exit status: 1 when FILE has no entry with the key.\n",
     2, kGetOptions, RunGet},
    {"find", "FILE TEXT [--values]", "the keys that Find would stop at",
     "Prints, in the order of the list, every key that matches TEXT as Find matches it: the text\n"
     "anywhere unless it holds a *, letters of either case, ? any one character, # one digit.\n"
     "  --values  also keys whose value matches, as Find does in tree mode\n"
     "Exit status: 1 when nothing matches (\"no key matches\" on stderr).\n",
     2, kFindOptions, RunFind},
    {"set",
     "FILE KEY [--value V] [--value-hex HEX] [--size N] [--checksum H] [--flags H]\n"
     "         [--header-id H] [--dry-run] [--force] [-o OUT]",
     "change one entry as Modify does, then save",
     "Puts the given texts into the entry's fields, keeps the others as the panel shows them, and\n"
     "runs Modify: the same checks in the same order, all or nothing. Then saves as Save does: "
     "the\n"
     "previous file is kept as FILE.bak (or OUT.bak) and the file is never left half written.\n"
     "A key that several entries share changes its last entry, as the tree does.\n"
     "  --value V        the value: hex digits for an Integer entry, else one byte per character\n"
     "                   (U+0000 to U+00FF, as Latin-1; any other character is an invalid value)\n"
     "  --value-hex HEX  a Binary or String value as hex bytes (\"00FF41\" or \"00 FF 41\")\n"
     "  --size N         the data size in decimal (not for an Integer entry)\n"
     "  --checksum H, --flags H, --header-id H   1 to 4 hex digits\n"
     "  --dry-run        print the byte ranges that would change, write nothing\n"
     "  --force          save even when FILE has changed on disk since it was read\n"
     "  -o OUT           save to OUT instead of FILE\n"
     "While it runs, set holds the lock file FILE.lock (OUT.lock) beside the file, as the\n"
     "window does while it saves; a second writer waits up to 2.5 s for it. A file that has\n"
     "changed on disk between reading and saving is not overwritten without --force. A\n"
     "symbolic link stays a link: its target is replaced and gets the backup beside it.\n"
     "Exit status: 1 when Modify rejects a field (its caption and message are printed) or FILE\n"
     "has no entry with the key; nothing is written then. 2 for a text that the field could\n"
     "never hold, a file that is busy, has changed on disk or cannot be read or saved.\n",
     2, kSetOptions, RunSet},
    {"diff", "A B [--offsets] [--format tsv|json]", "compare two files' entries by key",
     "Prints one line per key only in A, per key only in B, and per field text that differs for\n"
     "a key in both (tab-separated: \"changed\", key, field, text in A, text in B). A key that\n"
     "several entries share is compared by its last entry. The window's Compare With shows the\n"
     "same lines.\n"
     "  --offsets      also compare Data Offset and Key Offset\n"
     "  --format tsv   the lines above (the default), texts escaped as in list's TSV\n"
     "  --format tweak the tweak that makes A's entries look like B's, for keys in both whose\n"
     "                 Data Type agrees (see apply; docs/tweaks.md)\n"
     "  --format json  an array of objects with \"kind\" and \"key\", and for a changed field\n"
     "                 \"field\", \"a\" and \"b\"; bytes escaped as in list's JSON\n"
     "Exit status: 0 when the entries are equal, 1 when they differ.\n",
     2, kDiffOptions, RunDiff},
    {"merge",
     "A B [--keys PATTERN] [--fields value,checksum,flags,header-id] [--dry-run]\n"
     "         [--force] [-o OUT]",
     "take the differing fields of B into A, then save",
     "For every key that has an entry in both files, matches PATTERN and differs in a taken\n"
     "field, writes B's texts of the taken fields into A's entry as Modify writes them: all of\n"
     "an entry's fields or none, with Modify's checks (\"Invalid size\" when a growth is not\n"
     "safe). Entries are never added. Prints one line per field taken (key, field, text in A,\n"
     "text in B), then saves as set does: with a backup and the lock, the whole file or nothing.\n"
     "  --keys PATTERN   keys matched as Find matches them (default: every key)\n"
     "  --fields LIST    the fields to take (default: all four); value brings Data Size along\n"
     "                   for a Binary or String entry whose size differs\n"
     "  --dry-run        print what would be taken, write nothing\n"
     "  --force          save even when A has changed on disk since it was read\n"
     "  -o OUT           save to OUT instead of A\n"
     "Exit status: 0 when everything was taken; 1 when an entry was refused (each key and\n"
     "reason is printed, the other entries are still taken and saved); 2 as for set.\n",
     2, kMergeOptions, RunMerge},
    {"apply", "FILE TWEAK [--overwrite] [--partial] [--dry-run] [--force] [-o OUT]",
     "write a tweak's changes into a file, then save",
     "Reads TWEAK, a tweak file (docs/tweaks.md: key, field, the text expected now and the text\n"
     "to write, one line each), and checks every line against FILE. By default the tweak\n"
     "applies whole or not at all: when any line finds another text than it expects, no such\n"
     "key, another Data Type, or a change Modify refuses, nothing is written. The lines of one\n"
     "key are one Modify. Prints each line (key, field, status), then saves as set does: with a\n"
     "backup and the lock, the whole file or nothing. A tweak that changes nothing writes\n"
     "nothing.\n"
     "  --overwrite  also write lines whose field differs from the text they expect\n"
     "  --partial    write what can be written and skip the rest\n"
     "  --dry-run    print each line's status, write nothing\n"
     "  --force      save even when FILE has changed on disk since it was read\n"
     "  -o OUT       save to OUT instead of FILE\n"
     "Exit status: 0 when every line is written or already so; 1 when a line conflicts (nothing\n"
     "is written without --partial); 2 for a file that is no tweak (its line is named) and as\n"
     "for set.\n",
     2, kApplyOptions, RunApply},
    {"redact", "FILE OUT [--mask PATTERN] [--keep PATTERN] [--dry-run]",
     "write a copy of FILE that is safe to share",
     "Writes OUT, never FILE: a copy in which every byte after the end marker is 0 and the\n"
     "values of the keys whose names suggest personal data (docs/sharing.md) are masked: a\n"
     "String's text and a Binary's bytes become a filler of the same length, padding kept, an\n"
     "Integer 0. Every entry, key, size and offset stays, so the copy opens as FILE does. Prints\n"
     "what was masked. The copy is not for putting back on a console.\n"
     "  --mask PATTERN  also mask the keys PATTERN matches, as Find matches them\n"
     "  --keep PATTERN  do not mask the keys PATTERN matches\n"
     "  --dry-run       print what would be masked, write nothing\n",
     2, kRedactOptions, RunRedact},
}};

void PrintCommandHelp(const Command& command, std::ostream& out) {
    out << "usage: thornbeck-cli " << command.name << ' ' << command.synopsis << "\n\n"
        << command.help;
}

void PrintOverview(std::ostream& out) {
    out << "usage: thornbeck-cli COMMAND ARGUMENTS\n\n"
           "Inspects, exports, searches, edits and compares xRegistry.sys files with the rules of\n"
           "the Thornbeck editor.\n\ncommands:\n";
    for (const Command& command : kCommands)
        out << "  " << command.name << std::string(12 - command.name.size(), ' ') << command.summary
            << '\n';
    out << "\n\"thornbeck-cli COMMAND --help\" explains a command; \"thornbeck-cli --version\" "
           "(-v)\n"
           "says the version.\n"
           "Exit status: 0 success; 1 a rejection, a difference, a problem or nothing found;\n"
           "2 wrong usage, or a file that cannot be read or written, is busy (another program\n"
           "is saving it) or has changed on disk since it was read.\n";
}

const Command* CommandNamed(std::string_view name) {
    const auto it = std::find_if(kCommands.begin(), kCommands.end(),
                                 [&](const Command& command) { return command.name == name; });
    return it == kCommands.end() ? nullptr : &*it;
}

}  // namespace

int UsageError(std::string_view command, std::string_view problem, std::ostream& err) {
    err << "thornbeck-cli " << command << ": " << problem << '\n';
    if (const Command* known = CommandNamed(command))
        err << "usage: thornbeck-cli " << known->name << ' ' << known->synopsis << '\n';
    return kExitError;
}

namespace {

int Dispatch(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    // "/?" is how Windows users ask for help.
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help" || args[0] == "/?") {
        PrintOverview(out);
        return kExitOk;
    }
    if (args[0] == "--version" || args[0] == "-v") {
        out << VersionLineOf("thornbeck-cli") << '\n';
        return kExitOk;
    }
    const Command* command = CommandNamed(args[0]);
    if (!command) {
        err << "thornbeck-cli: unknown command " << ArgumentText(args[0])
            << "; \"thornbeck-cli --help\" lists the commands\n";
        return kExitError;
    }
    const ParsedArguments parsed = ParseArguments(args.subspan(1), command->options);
    if (parsed.arguments.help) {
        PrintCommandHelp(*command, out);
        return kExitOk;
    }
    if (!parsed.problem.empty()) return UsageError(command->name, parsed.problem, err);
    const size_t given = parsed.arguments.operands.size();
    if (given != command->operandCount)
        return UsageError(
            command->name,
            given < command->operandCount ? "too few arguments" : "too many arguments", err);
    return command->run(parsed.arguments, Streams{out, err});
}

}  // namespace

int RunCli(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        PrintOverview(err);
        return kExitError;
    }
    return RunCaught(
        ArgumentText(args[0]), [&] { return Dispatch(args, out, err); }, err);
}

int RunCaught(std::string_view command, const std::function<int()>& run, std::ostream& err) {
    try {
        return run();
    } catch (const std::bad_alloc&) {
        err << "thornbeck-cli " << command << ": out of memory\n";
    } catch (const std::exception& error) {
        err << "thornbeck-cli " << command << ": internal error: " << error.what() << '\n';
    } catch (...) {
        err << "thornbeck-cli " << command << ": internal error\n";
    }
    return kExitError;
}

}  // namespace thornbeck::cli
