#include "CommandLine.h"

#include "FileVersion.h"

#include <algorithm>

namespace tessaron {

std::vector<std::string> SplitWindowsCommandLine(std::string_view parameters)
{
    std::vector<std::string> arguments;
    size_t i = 0;
    const size_t n = parameters.size();
    while (true) {
        while (i < n && (parameters[i] == ' ' || parameters[i] == '\t')) {
            ++i;
        }
        if (i >= n) {
            break;
        }
        std::string argument;
        bool quoted = false;
        while (i < n) {
            const char c = parameters[i];
            if (!quoted && (c == ' ' || c == '\t')) {
                break;
            }
            if (c == '\\') {
                size_t backslashes = 0;
                while (i < n && parameters[i] == '\\') {
                    ++backslashes;
                    ++i;
                }
                if (i < n && parameters[i] == '"') {
                    argument.append(backslashes / 2, '\\');
                    if (backslashes % 2 == 1) {
                        argument += '"';
                        ++i;
                    }
                    // An even count leaves the quote to the next round.
                } else {
                    argument.append(backslashes, '\\');
                }
                continue;
            }
            if (c == '"') {
                if (quoted && i + 1 < n && parameters[i + 1] == '"') {
                    argument += '"';
                    i += 2;
                    continue;
                }
                quoted = !quoted;
                ++i;
                continue;
            }
            argument += c;
            ++i;
        }
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

std::string QuoteWindowsArgument(std::string_view argument)
{
    std::string quoted(1, '"');
    size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
        } else if (c == '"') {
            quoted.append(backslashes + 1, '\\');
            backslashes = 0;
        } else {
            backslashes = 0;
        }
        quoted += c;
    }
    // The closing quote must not be escaped by backslashes that end the text.
    quoted.append(backslashes, '\\');
    quoted += '"';
    return quoted;
}

namespace {

// The options that every Qt program takes (see QApplication and
// QGuiApplication), written with one dash or two.
constexpr ProgramOption QtOptions[] = {
    {"display", true},         {"dograb", false},          {"geometry", true},
    {"nograb", false},         {"platform", true},         {"platformpluginpath", true},
    {"platformtheme", true},   {"plugin", true},           {"qwindowgeometry", true},
    {"qwindowicon", true},     {"qwindowtitle", true},     {"reverse", false},
    {"session", true},         {"style", true},            {"stylesheet", true},
    {"widgetcount", false},
};

const ProgramOption* qtOption(std::string_view argument)
{
    argument.remove_prefix(argument.starts_with("--") ? 2 : 1);
    for (const ProgramOption& option : QtOptions) {
        if (argument == option.Name) {
            return &option;
        }
    }
    return nullptr;
}

bool isNumber(std::string_view text)
{
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

void printUsage(const ProgramSyntax& syntax, std::ostream& out)
{
    std::string_view lines = syntax.Synopsis;
    const char* lead = "usage: ";
    while (!lines.empty()) {
        const size_t end = std::min(lines.find('\n'), lines.size());
        out << lead << lines.substr(0, end) << '\n';
        lines.remove_prefix(std::min(end + 1, lines.size()));
        lead = "       ";
    }
}

int mistake(const ProgramSyntax& syntax, std::ostream& err, const std::string& what)
{
    err << syntax.Name << ": " << what << '\n';
    return ProgramUsageError(syntax, err);
}

} // namespace

const std::string* ProgramArguments::Option(std::string_view name) const
{
    const std::string* value = nullptr;
    for (const auto& [given, v] : Options) {
        if (given == name) {
            value = &v;
        }
    }
    return value;
}

int ProgramUsageError(const ProgramSyntax& syntax, std::ostream& err)
{
    printUsage(syntax, err);
    err << "Try '" << syntax.Name << " --help' for more.\n";
    return 1;
}

ProgramArguments ReadProgramArguments(const ProgramSyntax& syntax, int argc, char** argv,
                                      std::ostream& out, std::ostream& err)
{
    ProgramArguments result;
    if (argc > 0) {
        result.QtArguments.push_back(argv[0]);
    }
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (optionsEnded || argument.size() < 2 || argument[0] != '-' ||
            isNumber(argument.substr(1))) {
            result.Operands.emplace_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (argument == "--help" || argument == "-h") {
            printUsage(syntax, out);
            out << syntax.Description
                << "  -h, --help   print this help and exit\n"
                   "  --version    print the name and version and exit\n"
                   "  --           what follows is no option, also when it starts with '-'\n"
                   "Qt's options (-platform NAME, -style NAME, -reverse, ...) are passed to Qt.\n";
            result.Exit = 0;
            return result;
        }
        if (argument == "--version") {
            out << syntax.Name << ' ' << OwnFileVersion() << '\n';
            result.Exit = 0;
            return result;
        }
        const size_t equals = argument.find('=');
        const std::string_view name = argument.substr(0, equals);
        const ProgramOption* own = nullptr;
        for (const ProgramOption& option : syntax.Options) {
            if (name == option.Name) {
                own = &option;
            }
        }
        const ProgramOption* qt = own == nullptr && equals == std::string_view::npos
                                      ? qtOption(argument)
                                      : nullptr;
        if (own == nullptr && qt == nullptr) {
            result.Exit = mistake(syntax, err, "unknown option " + std::string(argument));
            return result;
        }
        const bool takesValue = own != nullptr ? own->TakesValue : qt->TakesValue;
        if (equals != std::string_view::npos && !takesValue) {
            result.Exit = mistake(syntax, err, "option " + std::string(name) + " takes no value");
            return result;
        }
        if (takesValue && equals == std::string_view::npos && i + 1 >= argc) {
            result.Exit = mistake(syntax, err, "option " + std::string(name) + " needs a value");
            return result;
        }
        if (qt != nullptr) {
            result.QtArguments.push_back(argv[i]);
            if (takesValue) {
                result.QtArguments.push_back(argv[++i]);
            }
            continue;
        }
        std::string value;
        if (equals != std::string_view::npos) {
            value = argument.substr(equals + 1);
        } else if (takesValue) {
            value = argv[++i];
        }
        result.Options.emplace_back(std::string(name), std::move(value));
    }
    result.QtArgc = static_cast<int>(result.QtArguments.size());
    result.QtArguments.push_back(nullptr);
    return result;
}

} // namespace tessaron
