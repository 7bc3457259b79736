// What the subcommands share: their options, port names and JSON strings.
#include "cli/Arguments.h"
#include "cli/JsonWriter.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tessaron::cli {
namespace {

TEST(Arguments, PortsAndOptions)
{
    for (const auto& [text, port] : std::vector<std::pair<std::string, int>>{{"COM1", 1},
                                                                             {"com16", 16},
                                                                             {"Com9", 9},
                                                                             {"COM17", 0},
                                                                             {"COM0", 0},
                                                                             {"COM05", 0},
                                                                             {"COM", 0},
                                                                             {"COM1x", 0},
                                                                             {"5", 0},
                                                                             {"COM+5", 0},
                                                                             {"LPT1", 0}}) {
        EXPECT_EQ(ParseComPort(text), port) << text;
    }

    struct Case
    {
        Args args;
        bool ok;
        std::string value;
        Args rest;
    };
    for (const Case& c : std::vector<Case>{
             {{"a.ckd", "--port", "COM3"}, true, "COM3", {"a.ckd"}},
             {{"--port=COM4", "a.ckd"}, true, "COM4", {"a.ckd"}},
             {{"a.ckd"}, true, "", {"a.ckd"}},
             {{"a.ckd", "--port"}, false, "", {}},
             {{"--port", "COM1", "--port", "COM2"}, false, "", {}},
         }) {
        Args args = c.args;
        std::string value;
        EXPECT_EQ(TakeOption(args, "--port", value), c.ok) << c.args.size();
        if (c.ok) {
            EXPECT_EQ(value, c.value);
            EXPECT_EQ(args, c.rest);
        }
    }
    Args args = {"--json", "x", "--json", "-", "--jsn"};
    EXPECT_TRUE(TakeFlag(args, "--json"));
    EXPECT_EQ(args, (Args{"x", "-", "--jsn"}));
    EXPECT_EQ(UnknownOption(args), "--jsn");
}

TEST(JsonWriter, EscapesEveryTextIntoValidUtf8)
{
    for (const auto& [text, json] : std::vector<std::pair<std::string, std::string>>{
             {"plain", R"("plain")"},
             {"a\"b\\c", R"("a\"b\\c")"},
             {"tab\there\r\n", R"("tab\there\r\n")"},
             {std::string("\x00\x01\x1f\x7f", 4), R"("\u0000\u0001\u001f\u007f")"},
             {"caf\xc3\xa9 \xe2\x82\xac", "\"caf\xc3\xa9 \xe2\x82\xac\""}, // UTF-8 stays
             {"\xe9t\xe9", "\"\xc3\xa9t\xc3\xa9\""},                       // Latin-1 é
             {"\xc3", "\"\xc3\x83\""},                                     // cut sequence
             {"\xed\xa0\x80", "\"\xc3\xad\xc2\xa0\xc2\x80\""},             // a surrogate
             {"\xc0\xaf", "\"\xc3\x80\xc2\xaf\""},                         // overlong '/'
         }) {
        EXPECT_EQ(JsonWriter::Quote(text), json) << text;
    }

    std::ostringstream out;
    {
        JsonWriter w(out);
        w.beginArray();
        w.beginObject();
        w.field("row", 1);
        w.key("port");
        w.null();
        w.key("list");
        w.beginArray();
        w.endArray();
        w.field("ok", true);
        w.endObject();
        w.endArray();
    }
    EXPECT_EQ(out.str(), "[\n  {\n    \"row\": 1,\n    \"port\": null,\n    \"list\": [],\n"
                         "    \"ok\": true\n  }\n]\n");
}

} // namespace
} // namespace tessaron::cli
