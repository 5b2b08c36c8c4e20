#pragma once
// tevlanctl as a function: arguments in, output on the two streams, the exit
// code back. main() only hands over the process's arguments and streams.
#include <ostream>
#include <string>
#include <vector>

// args excludes the program name; executablePath locates the installed
// language files (empty: none but the data folder's).
int RunCtl(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const std::string& executablePath);
