#pragma once
// corvane-cli: the editor's work on the game's files without a window. Plain C++, no Qt.
//
// Exit status: 0 done, 1 the work failed (nothing written), 2 wrong usage. `diff` answers as diff does:
// 0 equal, 1 different, 2 trouble.
#include <iosfwd>
#include <string>
#include <vector>

// Runs one command line (the arguments after the program's name); texts go to out and err (UTF-8).
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
