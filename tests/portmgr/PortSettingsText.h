#pragma once

#include <string>
#include <utility>
#include <vector>

namespace tessaron::test {

// Corvandelle.ini remembering each (identity, COM port) pair in its order, as
// the configuration dialog writes it.
inline std::string PortSettingsText(const std::vector<std::pair<std::string, int>>& assignments)
{
    std::string text = "[Port Settings]\r\n";
    int n = 1;
    for (const auto& [identity, port] : assignments) {
        text += "COM_Assignment_" + std::to_string(n) + "=" + std::to_string(port) + "\r\n";
        text += "GUID_" + std::to_string(n++) + "=" + identity + "\r\n";
    }
    return text;
}

// count simulated keypads, "sim-1" to "sim-<count>", each on the COM port of its number.
inline std::vector<std::pair<std::string, int>> NumberedKeypads(int count)
{
    std::vector<std::pair<std::string, int>> keypads;
    for (int i = 1; i <= count; ++i) {
        keypads.emplace_back("sim-" + std::to_string(i), i);
    }
    return keypads;
}

} // namespace tessaron::test
