// The udev rule that lets a user open the keypads without root: uaccess works
// only from a rules file that sorts before 73-seat-late.rules.
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>

namespace tessaron {
namespace {

TEST(UdevRule, GivesTheSeatAccessToTheKeypadsHidrawNodes)
{
    const std::string name = "70-tessaron-keypad.rules";
    EXPECT_LT(std::atoi(name.c_str()), 73);
    const std::string text = test::ReadFile(std::string(TESSARON_SOURCE_DIR) + "/udev/" + name);
    ASSERT_FALSE(text.empty());
    std::istringstream lines(text);
    std::string line;
    int rules = 0;
    while (std::getline(lines, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        ++rules;
        EXPECT_NE(line.find("SUBSYSTEM==\"hidraw\""), std::string::npos) << line;
        EXPECT_NE(line.find("ATTRS{idVendor}==\"16c0\""), std::string::npos) << line;
        EXPECT_NE(line.find("ATTRS{idProduct}==\"0604\""), std::string::npos) << line;
        EXPECT_NE(line.find("TAG+=\"uaccess\""), std::string::npos) << line;
    }
    EXPECT_EQ(rules, 1);
}

} // namespace
} // namespace tessaron
