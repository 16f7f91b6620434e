// The workbench's command line: options, the script to run, and the help and version texts.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace qx::qxhost {

struct CommandLine {
  std::optional<std::string> home, database;
  std::string script;    // "demo", a file, "-" or empty for standard input
  std::string language;  // the login's language for this session: CHS or EN; empty: as set
  bool help = false, version = false, verbose = false;
  std::string error;  // what is wrong with the command line, empty when it is sound
};

CommandLine parseCommandLine(const std::vector<std::string>& args);

// The usage, the options and every command with its arguments.
void printHelp(std::ostream& out);

}  // namespace qx::qxhost
