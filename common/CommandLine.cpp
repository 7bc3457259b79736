#include "CommandLine.h"

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

} // namespace tessaron
