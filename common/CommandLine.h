#pragma once

#include <string>
#include <string_view>
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

} // namespace tessaron
