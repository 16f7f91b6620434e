// The workbench's command line: options, the script to run, and the help and version texts.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace qx::sim {
class SimHost;
}

namespace qx::qxhost {

struct CommandLine {
  std::optional<std::string> home, database;
  std::string script;    // "demo", a file, "-" or empty for standard input
  std::string language;  // the login's language for this session: CHS or EN; empty: as set
  bool help = false, version = false, verbose = false;
  std::string error;  // what is wrong with the command line, empty when it is sound
};

CommandLine parseCommandLine(const std::vector<std::string>& args);

// What is wrong with the database the session was given (--database, QX_DATABASE): missing,
// unreadable, not a database, or without the plant's tables; empty when it is sound or when
// the session uses the sample database, which is built on first use.
std::string databaseProblem(sim::SimHost& host);

// What keeps the host from writing in its home folder (the registry file, the sample
// database), or empty when it can.
std::string homeProblem(const sim::SimHost& host);

// The usage, the options and every command with its arguments.
void printHelp(std::ostream& out);

}  // namespace qx::qxhost
