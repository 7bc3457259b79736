#include "Command.h"
#include "Commands.h"
#include "JsonWriter.h"

#include "common/FileReadError.h"
#include "common/FileVersion.h"
#include "common/SuiteFolder.h"

#include <cstring>
#include <ostream>

namespace tessaron::cli {

namespace {

int RunVersion(const Args& args, std::ostream& out, std::ostream& err)
{
    if (!args.empty()) {
        return UsageError(err, "version");
    }
    out << OwnFileVersion() << '\n';
    return ExitDone;
}

// The folder that settings, documents and ports/ go to (made on first use).
int RunFolder(const Args& given, std::ostream& out, std::ostream& err)
{
    Args args = given;
    const bool json = TakeFlag(args, "--json");
    if (!args.empty()) {
        return UsageError(err, "folder");
    }
    const std::string folder = SuiteFolder();
    if (json) {
        JsonWriter w(out);
        w.beginObject();
        w.field("folder", folder);
        w.endObject();
    } else {
        out << folder << '\n';
    }
    return ExitDone;
}

// Every subcommand, in the order the usage text lists them.
const Command kCommands[] = {
    {"new", "new FILE.ckd|FILE.rom", RunNew},
    {"hex", "hex FILE.ckd [OUT]", RunHex},
    {"resave", "resave IN OUT", RunResave},
    {"show", "show [--json] FILE.ckd|FILE.rom", RunShow},
    {"download", "download FILE.ckd|FILE.hex [--port COMn]", RunDownload},
    {"keypads", "keypads [--json]", RunKeypads},
    {"assign", "assign KEYPAD COMn", RunAssign},
    {"unassign", "unassign KEYPAD", RunUnassign},
    {"bridge", "bridge", RunBridge},
    {"command", "command St|Go|Ck", RunControl},
    {"folder", "folder [--json]", RunFolder},
    {"version", "version", RunVersion},
};

void printUsage(std::ostream& out)
{
    out << "usage: tessaron COMMAND [ARGUMENTS]\n"
           "       tessaron --help | --version\n"
           "commands:\n";
    for (const Command& c : kCommands) {
        out << "  tessaron " << c.usage << '\n';
    }
    out << "KEYPAD is a keypad's row or identity as tessaron keypads lists it. Exit status:\n"
           "0 done, 1 refused or failed (the reason on standard error), 2 usage error;\n"
           "download: 2 also when interrupted. See tessaron(1).\n";
}

int usageFailure(std::ostream& err, const std::string& problem)
{
    err << "tessaron: " << problem << '\n';
    printUsage(err);
    return ExitUsage;
}

} // namespace

int UsageError(std::ostream& err, const char* command)
{
    for (const Command& c : kCommands) {
        if (std::strcmp(c.name, command) == 0) {
            err << "usage: tessaron " << c.usage << '\n';
        }
    }
    return ExitUsage;
}

int RunTool(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err)
{
    if (argv.size() < 2) {
        printUsage(err);
        return ExitUsage;
    }
    const std::string& first = argv[1];
    if (first == "help" || first == "--help" || first == "-h") {
        printUsage(out);
        return ExitDone;
    }
    if (first == "--version") {
        out << "tessaron " << OwnFileVersion() << '\n';
        return ExitDone;
    }
    if (first.size() > 1 && first[0] == '-') {
        return usageFailure(err, "unknown option " + first);
    }
    for (const Command& c : kCommands) {
        if (first != c.name) {
            continue;
        }
        const Args args(argv.begin() + 2, argv.end());
        for (const std::string& a : args) {
            if (a == "--help" || a == "-h") {
                out << "usage: tessaron " << c.usage << '\n';
                return ExitDone;
            }
        }
        try {
            return c.run(args, out, err);
        } catch (const FileReadError& e) {
            // A document that may not be read, from any command.
            err << "tessaron: " << e.what() << '\n';
            return ExitFailed;
        }
    }
    return usageFailure(err, "unknown command \"" + first + "\"");
}

} // namespace tessaron::cli
