#include "Arguments.h"

#include "common/AsciiText.h"

#include <algorithm>

namespace tessaron::cli {

bool TakeFlag(Args& args, std::string_view flag)
{
    const auto end = std::remove(args.begin(), args.end(), flag);
    const bool found = end != args.end();
    args.erase(end, args.end());
    return found;
}

bool TakeOption(Args& args, std::string_view name, std::string& value)
{
    const std::string joined = std::string(name) + "=";
    int found = 0;
    for (size_t i = 0; i < args.size();) {
        if (args[i] == name) {
            if (i + 1 >= args.size()) {
                return false;
            }
            value = args[i + 1];
            args.erase(args.begin() + static_cast<long>(i),
                       args.begin() + static_cast<long>(i) + 2);
            ++found;
        } else if (args[i].rfind(joined, 0) == 0) {
            value = args[i].substr(joined.size());
            args.erase(args.begin() + static_cast<long>(i));
            ++found;
        } else {
            ++i;
        }
    }
    return found <= 1;
}

std::string UnknownOption(const Args& args)
{
    for (const std::string& a : args) {
        if (a.size() > 1 && a[0] == '-') {
            return a;
        }
    }
    return {};
}

int ParseComPort(std::string_view text)
{
    if (text.size() < 4 || text.size() > 5 || !EqualsIgnoreCase(text.substr(0, 3), "COM") ||
        text[3] == '0') {
        return 0;
    }
    int n = 0;
    for (char c : text.substr(3)) {
        if (c < '0' || c > '9') {
            return 0;
        }
        n = n * 10 + (c - '0');
    }
    return n <= 16 ? n : 0;
}

} // namespace tessaron::cli
