// The workbench's command line and its line tokenizer. A command line either has an error or
// its options, given again in their plain form, parse to the same result. A line either fails
// with an unclosed quote or gives words that read back the same when each is quoted again, and
// (the words written bare) when joined by blanks.
#include "tools/qxhost/session/command_line.h"
#include "fuzz_support.h"
#include "tools/qxhost/workbench.h"

using qx::fuzz::shown;
using qx::qxhost::CommandLine;
using qx::qxhost::Line;
using qx::qxhost::tokenize;
using qx::qxhost::UsageError;

namespace {

bool same(const CommandLine& a, const CommandLine& b) {
  return a.home == b.home && a.database == b.database && a.script == b.script &&
         a.language == b.language && a.help == b.help && a.version == b.version &&
         a.verbose == b.verbose && a.error == b.error;
}

std::string joined(const std::vector<std::string>& args) {
  std::string r;
  for (const std::string& a : args) r += shown(a) + " ";
  return r;
}

void commandLine(const std::vector<std::string>& args) {
  CommandLine c = qx::qxhost::parseCommandLine(args);
  if (!c.error.empty()) return;
  QX_FUZZ_CHECK(c.language.empty() || c.language == "EN" || c.language == "CHS",
                joined(args) + ": language " + shown(c.language));
  std::vector<std::string> plain;
  if (c.home) plain.insert(plain.end(), {"--home", *c.home});
  if (c.database) plain.insert(plain.end(), {"--database", *c.database});
  if (!c.language.empty()) plain.insert(plain.end(), {"--lang", c.language});
  if (c.verbose) plain.push_back("--verbose");
  if (c.help) plain.push_back("--help");
  if (c.version) plain.push_back("--version");
  if (!c.script.empty()) plain.push_back(c.script);
  QX_FUZZ_CHECK(same(qx::qxhost::parseCommandLine(plain), c),
                joined(args) + " and " + joined(plain) + " parse differently");
}

std::string quoted(const std::string& w) {
  std::string r = "\"";
  for (char c : w) {
    if (c == '"' || c == '\\') r += '\\';
    r += c;
  }
  return r + "\"";
}

void line(const std::string& text) {
  Line l;
  try {
    l = tokenize(text);
  } catch (const UsageError& e) {
    QX_FUZZ_CHECK(!e.message.empty(), shown(text) + " failed without a reason");
    return;
  }
  QX_FUZZ_CHECK(l.words.size() == l.quoted.size(), shown(text));
  std::string requoted, bare;
  bool bareable = true;
  for (size_t i = 0; i < l.size(); ++i) {
    const std::string& w = l.words[i];
    if (!l.quoted[i]) {
      QX_FUZZ_CHECK(!w.empty() && w.find_first_of(" \t\r") == std::string::npos && w[0] != '#',
                    shown(text) + " gave the bare word " + shown(w));
    }
    requoted += quoted(w) + " ";
    bareable = bareable && !l.quoted[i];
    bare += w + " ";
  }
  Line q = tokenize(requoted);
  QX_FUZZ_CHECK(q.words == l.words,
                shown(text) + " quoted again as " + shown(requoted) + " reads otherwise");
  if (bareable) {
    QX_FUZZ_CHECK(tokenize(bare).words == l.words,
                  shown(text) + " written bare as " + shown(bare) + " reads otherwise");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qx::fuzz::Input in(data, size);
  if (in.byte() & 1) {
    line(in.rest());
    return 0;
  }
  std::vector<std::string> args;
  while (!in.empty()) args.push_back(in.text());
  commandLine(args);
  return 0;
}
