#include "Command.h"
#include "Commands.h"

#include "common/FileReadError.h"
#include "common/FileVersion.h"
#include "common/SuiteFolder.h"

#include <ostream>

namespace tessaron::cli {

namespace {

int RunVersion(const Args&, std::ostream& out, std::ostream&)
{
    out << OwnFileVersion() << '\n';
    return 0;
}

// The folder that settings, documents and ports/ go to (made on first use).
int RunFolder(const Args& args, std::ostream& out, std::ostream& err)
{
    if (!args.empty()) {
        err << "usage: tessaron folder\n";
        return 1;
    }
    out << SuiteFolder() << '\n';
    return 0;
}

// Every subcommand, in the order the usage text lists them.
const Command kCommands[] = {
    {"version", "version", RunVersion},          {"new", "new FILE.ckd|FILE.rom", RunNew},
    {"hex", "hex FILE.ckd [OUT]", RunHex},       {"resave", "resave IN OUT", RunResave},
    {"show", "show FILE.ckd|FILE.rom", RunShow}, {"bridge", "bridge", RunBridge},
    {"keypads", "keypads", RunKeypads},          {"folder", "folder", RunFolder},
};

void printUsage(std::ostream& out)
{
    out << "usage:\n";
    for (const Command& c : kCommands) {
        out << "  tessaron " << c.usage << '\n';
    }
}

} // namespace

int RunTool(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err)
{
    if (argv.size() < 2 || argv[1] == "help" || argv[1] == "--help" || argv[1] == "-h") {
        printUsage(argv.size() < 2 ? err : out);
        return argv.size() < 2 ? 1 : 0;
    }
    for (const Command& c : kCommands) {
        if (argv[1] == c.name) {
            try {
                return c.run(std::vector<std::string>(argv.begin() + 2, argv.end()), out, err);
            } catch (const FileReadError& e) {
                // A document that may not be read, from any command.
                err << "tessaron: " << e.what() << '\n';
                return 1;
            }
        }
    }
    err << "tessaron: unknown command \"" << argv[1] << "\" (try tessaron help)\n";
    return 1;
}

} // namespace tessaron::cli
