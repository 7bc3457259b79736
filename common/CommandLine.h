#pragma once

#include <iostream>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tessaron {

// Splits a parameter string the way a Windows program splits its command line:
// blanks and tabs separate arguments; double quotes group blanks into one
// argument and are removed; 2n backslashes before a quote give n backslashes
// and the quote keeps its meaning, 2n+1 give n backslashes and a literal quote;
// a doubled quote inside quotes is a literal quote; other backslashes are kept.
// So "\"/home/a b/keys.hex\"" gives the single argument /home/a b/keys.hex.
std::vector<std::string> SplitWindowsCommandLine(std::string_view parameters);

// One argument in double quotes, written so that SplitWindowsCommandLine gives
// it back unchanged: a quote inside becomes \" and the backslashes before a
// quote (or before the closing one) are doubled. An ordinary path just gains
// the two quotes.
std::string QuoteWindowsArgument(std::string_view argument);

// The command lines of the suite's programs. Every program answers --help and
// --version without a display, so they are read before QApplication exists;
// "--" ends the options, so that a document may start with '-' (as may
// "./-x"), and "-5" is a number, not an option. Qt's own options (-platform
// NAME, -style NAME, -reverse, ...) are passed on to QApplication; anything
// else that starts with '-' is a mistake: a message and the usage on standard
// error, status 1.

// An option of one program besides those every program answers.
struct ProgramOption
{
    const char* Name; // "--no-window"
    bool TakesValue;  // "--command St", also "--command=St"
};

// What a program accepts and what its --help says.
struct ProgramSyntax
{
    const char* Name;        // --version prints "Tavrix 6.0.0.0"
    const char* Synopsis;    // lines after "usage: ": "Tavrix [PATH]\nTavrix --no-window PATH"
    const char* Description; // --help's text below the synopsis, each line ending in '\n'
    std::span<const ProgramOption> Options = {};
};

// A command line read against a program's syntax.
struct ProgramArguments
{
    // -1: run the program; else end it at once with this status (--help,
    // --version or a mistake, already answered).
    int Exit = -1;
    // The program's own options as given, with their values ("" for none).
    std::vector<std::pair<std::string, std::string>> Options;
    std::vector<std::string> Operands;
    // QApplication's argc and argv (Qt keeps both): the program's path and
    // Qt's options, then a null pointer.
    int QtArgc = 0;
    std::vector<char*> QtArguments;

    // The value of an option, nullptr when it was not given.
    const std::string* Option(std::string_view name) const;
};

ProgramArguments ReadProgramArguments(const ProgramSyntax& syntax, int argc, char** argv,
                                      std::ostream& out = std::cout,
                                      std::ostream& err = std::cerr);

// A mistake that the program finds itself (an operand missing or too many):
// the usage on err; returns the status 1.
int ProgramUsageError(const ProgramSyntax& syntax, std::ostream& err = std::cerr);

} // namespace tessaron
