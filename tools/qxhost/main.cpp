// qxhost: the workbench. Usage:
//   qxhost [--home DIR] [--database FILE] demo      the built-in demo scenario
//   qxhost [--home DIR] [--database FILE] FILE      runs a script file
//   qxhost [--home DIR] [--database FILE] [-]       reads commands from standard input
#include <unistd.h>

#include <fstream>
#include <iostream>
#include <sstream>

#include "tools/qxhost/workbench.h"

int main(int argc, char** argv) {
  qx::sim::HostOptions options = qx::sim::HostOptions::fromEnvironment();
  std::string script;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if ((a == "--home" || a == "--database") && i + 1 < argc) {
      (a == "--home" ? options.home : options.database) = argv[++i];
    } else if (a == "-h" || a == "--help") {
      std::cout << "usage: qxhost [--home DIR] [--database FILE] [demo | SCRIPT | -]\n";
      return 0;
    } else {
      script = a;
    }
  }
  try {
    qx::sim::SimHost host(options);
    qx::qxhost::Workbench bench(host, std::cout);
    int failed = 0;
    if (script == "demo") {
      std::istringstream in(qx::qxhost::demoScript());
      failed = bench.run(in);
    } else if (!script.empty() && script != "-") {
      std::ifstream in(script);
      if (!in) {
        std::cerr << "qxhost: cannot open " << script << "\n";
        return 2;
      }
      failed = bench.run(in);
    } else {
      failed = bench.run(std::cin, isatty(0) != 0);
    }
    return failed == 0 ? 0 : 1;
  } catch (const qx::automation::Error& e) {
    std::cerr << "qxhost: " << e.description() << "\n";
    return 2;
  }
}
