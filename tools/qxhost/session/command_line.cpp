#include "tools/qxhost/session/command_line.h"

#include <unistd.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <system_error>

#include "automation/error.h"
#include "sim/db/sqlite_db.h"
#include "sim/sim_host.h"
#include "tools/qxhost/workbench.h"

namespace qx::qxhost {

std::optional<std::string> loginLanguage(std::string_view word) {
  std::string id(word);
  for (char& ch : id) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  if (id == "CHS" || id == "EN") return id;
  return std::nullopt;
}

CommandLine parseCommandLine(const std::vector<std::string>& args) {
  CommandLine c;
  bool positional = false;
  for (size_t i = 0; i < args.size() && c.error.empty(); ++i) {
    const std::string& a = args[i];
    if (a == "--home" || a == "--database") {
      if (i + 1 >= args.size() || args[i + 1].empty()) {
        c.error = a + " needs a value, as in " + a + (a == "--home" ? " DIR" : " FILE");
      } else {
        (a == "--home" ? c.home : c.database) = args[++i];
      }
    } else if (a == "--lang") {
      std::string v = i + 1 < args.size() ? args[i + 1] : std::string();
      if (std::optional<std::string> id = loginLanguage(v)) {
        c.language = *id;
        ++i;
      } else {
        c.error = "--lang takes " + std::string(kLoginLanguages) + ", as in --lang EN";
      }
    } else if (a == "-v" || a == "--verbose") {
      c.verbose = true;
    } else if (a == "-h" || a == "--help") {
      c.help = true;
    } else if (a == "--version") {
      c.version = true;
    } else if (a.size() > 1 && a[0] == '-') {
      c.error = "unknown option " + a + " (qxhost --help lists the options)";
    } else if (positional) {
      c.error = "one script at a time: " + c.script + " and " + a;
    } else {
      c.script = a;
      positional = true;
    }
  }
  return c;
}

std::string databaseProblem(sim::SimHost& host) {
  if (host.database().isSample()) return {};
  const std::string hint =
      " (give an existing database of the plant, or leave --database and QX_DATABASE out for "
      "the sample)";
  try {
    // Opening reads the file's header: a missing file is not created, another file is refused.
    sim::SqliteDb db = host.database().open();
    auto tables = db.query(
        "SELECT count(*) AS n FROM sqlite_master WHERE type = 'table' AND name IN "
        "('icmo', 't_resource', 't_eiItemLine')");
    tables->moveFirst();
    if (tables->value(0).toInt32() < 3) {
      return host.database().file().string() +
             " is a database without the plant's tables (icmo, t_resource, t_eiItemLine)" + hint;
    }
  } catch (const automation::Error& e) {
    return e.description() + hint;
  }
  return {};
}

std::string homeProblem(const sim::SimHost& host) {
  const std::filesystem::path& home = host.options().home;
  std::error_code ec;
  std::filesystem::create_directories(home, ec);
  if (!ec) {
    // A file of this process's own, made and removed at once.
    std::filesystem::path probe = home / (".write-test." + std::to_string(::getpid()));
    std::ofstream(probe) << "";
    if (!std::filesystem::exists(probe, ec))
      ec = std::make_error_code(std::errc::permission_denied);
    std::filesystem::remove(probe);
  }
  if (!ec) return {};
  return "the home folder " + home.string() + " cannot be written (" + ec.message() +
         "): the registry and the sample database are not kept; give a writable folder with "
         "--home or QX_HOME";
}

void printHelp(std::ostream& out) {
  out << "usage: qxhost [options] [demo | SCRIPT | -]\n"
         "\n"
         "  demo      the guided tour on the sample database\n"
         "  SCRIPT    runs the commands of a script file\n"
         "  -         reads commands from standard input (also when nothing is given)\n"
         "\n"
         "options:\n"
         "  --home DIR        the host's home folder (registry file, sample database);\n"
         "                    default $QX_HOME, else ~/.qxhost\n"
         "  --database FILE   another SQLite database (default $QX_DATABASE, else the sample)\n"
         "  --lang CHS|EN     the login's language (default CHS, Chinese)\n"
         "  -v, --verbose     the tour also shows the events and by-reference arguments\n"
         "  -h, --help        this text\n"
         "  --version         the workbench's version\n"
         "\n"
         "exit status: 0 when every line ran, 1 when a line was malformed, an expectation\n"
         "failed or (in a script) a host call failed with no expect line right after it,\n"
         "2 when the command line is wrong or the host cannot start.\n"
         "\n"
         "commands:\n";
  for (const Workbench::Command& c : Workbench::commandSet()) {
    out << "  " << c.name << (c.usage.empty() ? "" : " ") << c.usage << "\n      " << c.help
        << "\n";
  }
}

}  // namespace qx::qxhost
