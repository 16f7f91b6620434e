#include "tools/qxhost/session/completion.h"

#include <algorithm>
#include <cctype>

#include "automation/text.h"

namespace qx::qxhost {

namespace {

std::vector<std::string> split(std::string_view text, std::string_view separator) {
  std::vector<std::string> parts;
  for (size_t at = 0;;) {
    size_t end = text.find(separator, at);
    parts.emplace_back(text.substr(at, end == std::string_view::npos ? end : end - at));
    if (end == std::string_view::npos) return parts;
    at = end + separator.size();
  }
}

// A word of a usage that is typed as it stands ("open", "on|off", "--csv"), as opposed to a
// placeholder ("<id>", "[nth]", "FILE", "FIELD=VALUE...", "\"text\"").
bool literal(const std::string& token) {
  if (token.empty() || token[0] == '<' || token[0] == '[' || token[0] == '"') return false;
  if (token.find('=') != std::string::npos || token.find("...") != std::string::npos) {
    return false;
  }
  return std::any_of(token.begin(), token.end(),
                     [](char c) { return std::islower(static_cast<unsigned char>(c)); });
}

bool startsWith(const std::string& word, const std::string& lowerPrefix) {
  return automation::asciiLower(word).compare(0, lowerPrefix.size(), lowerPrefix) == 0;
}

}  // namespace

std::vector<std::string> completions(const std::vector<Workbench::Command>& commands,
                                     std::string_view before) {
  std::vector<std::string> typed;
  for (const std::string& w : split(before, " ")) {
    if (!w.empty()) typed.push_back(w);
  }
  bool fresh = before.empty() || before.back() == ' ';
  std::string current = fresh || typed.empty() ? std::string() : typed.back();
  if (!fresh && !typed.empty()) typed.pop_back();
  std::string prefix = automation::asciiLower(current);
  std::vector<std::string> found;
  bool names = typed.empty() || (typed.size() == 1 && automation::asciiLower(typed[0]) == "help");
  for (const Workbench::Command& c : commands) {
    if (names) {
      if (startsWith(c.name, prefix)) found.push_back(c.name);
      continue;
    }
    if (c.name != automation::asciiLower(typed[0])) continue;
    size_t position = typed.size() - 1;  // of the word being typed, among the arguments
    for (const std::string& alternative : split(c.usage, " | ")) {
      std::vector<std::string> tokens = split(alternative, " ");
      if (position >= tokens.size()) continue;
      bool fits = true;
      for (size_t k = 0; k < position && fits; ++k) {
        if (!literal(tokens[k])) continue;
        std::vector<std::string> options = split(tokens[k], "|");
        fits = std::any_of(options.begin(), options.end(), [&](const std::string& o) {
          return automation::equalsIgnoreCase(o, typed[k + 1]);
        });
      }
      if (!fits || !literal(tokens[position])) continue;
      for (const std::string& option : split(tokens[position], "|")) {
        if (startsWith(option, prefix)) found.push_back(option);
      }
    }
  }
  std::sort(found.begin(), found.end());
  found.erase(std::unique(found.begin(), found.end()), found.end());
  return found;
}

std::string commonPrefix(const std::vector<std::string>& words) {
  if (words.empty()) return {};
  std::string prefix = words[0];
  for (const std::string& w : words) {
    size_t n = 0;
    while (n < prefix.size() && n < w.size() && prefix[n] == w[n]) ++n;
    prefix.resize(n);
  }
  return prefix;
}

}  // namespace qx::qxhost
