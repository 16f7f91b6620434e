// qxhost: the workbench (qxhost --help for its options and commands).
#include <unistd.h>

#include <fstream>
#include <iostream>
#include <sstream>

#include "tools/qxhost/session/command_line.h"
#include "tools/qxhost/session/completion.h"
#include "tools/qxhost/session/line_editor.h"
#include "tools/qxhost/workbench.h"

int main(int argc, char** argv) {
  using namespace qx::qxhost;
  CommandLine cl = parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  if (!cl.error.empty()) {
    std::cerr << "qxhost: " << cl.error << "\n";
    return 2;
  }
  if (cl.help) {
    printHelp(std::cout);
    return 0;
  }
  if (cl.version) {
    std::cout << "qxhost " << QX_VERSION << "\n";
    return 0;
  }
  qx::sim::HostOptions options = qx::sim::HostOptions::fromEnvironment();
  if (cl.home) options.home = *cl.home;
  if (cl.database) options.database = *cl.database;
  std::ifstream file;
  if (!cl.script.empty() && cl.script != "-" && cl.script != "demo") {
    file.open(cl.script);
    if (!file) {
      std::cerr << "qxhost: cannot read the script " << cl.script
                << " (give a readable file, demo, or - for standard input)\n";
      return 2;
    }
  }
  try {
    qx::sim::SimHost host(options);
    if (std::string problem = databaseProblem(host); !problem.empty()) {
      std::cerr << "qxhost: " << problem << "\n";
      return 2;
    }
    // The session goes on: what needs no home still works, and each write that fails says so.
    if (std::string problem = homeProblem(host); !problem.empty()) {
      std::cerr << "qxhost: " << problem << "\n";
    }
    if (!cl.language.empty()) host.login().setEntry("Language", cl.language);
    Workbench bench(host, std::cout);
    int failed = 0;
    if (cl.script == "demo") {
      bench.setVerbose(cl.verbose);
      std::istringstream in(demoScript());
      failed = bench.run(in);
    } else if (file.is_open()) {
      failed = bench.run(file);
    } else if (isatty(0)) {
      std::cout << "qxhost " << QX_VERSION
                << ": help lists the commands, help COMMAND shows one with examples, TAB "
                   "completes, Ctrl-D ends the session\n";
      LineEditor editor(
          argv[0], "qxhost> ", options.home / "history",
          [&bench](std::string_view before) { return completions(bench.commands(), before); });
      failed = bench.run(
          [&](std::string& line) {
            std::cout.flush();
            return editor.read(line);
          },
          true);
      std::cout << "\n";
    } else {
      failed = bench.run(std::cin);
    }
    std::string where = file.is_open() ? cl.script + ":" : std::string();
    for (const std::string& f : bench.failures()) {
      std::cerr << "qxhost: " << where << (where.empty() ? f : f.substr(5)) << "\n";
    }
    return failed == 0 ? 0 : 1;
  } catch (const qx::automation::Error& e) {
    std::cerr << "qxhost: " << e.description() << "\n";
    return 2;
  }
}
