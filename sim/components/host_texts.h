// The substitute host's own texts (grid captions, dialog and report titles, the bill engine's
// messages) in the login's language: one table per language, <strings>/QxHost.<language>.txt,
// keyed by the Chinese text as the component's tables are. A text the table lacks shows as it
// is; "{1}", "{2}" in a text are filled in after translation.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "sim/components/account/login.h"
#include "sim/components/string_table.h"

namespace qx::sim {

class HostTexts {
 public:
  HostTexts(std::filesystem::path dir, std::shared_ptr<const Login> login)
      : dir_(std::move(dir)), login_(std::move(login)) {}

  // The text in the language of the login as it is now.
  std::string operator()(const std::string& source) const;
  std::string format(const std::string& source, const std::vector<std::string>& args) const;
  // "{1}", "{2}" of a text replaced by the arguments.
  static std::string fill(std::string text, const std::vector<std::string>& args);
  // The login's language ("CHS" when it names none).
  std::string language() const;

 private:
  std::filesystem::path dir_;
  std::shared_ptr<const Login> login_;
  // Loaded on first use, by upper-case language; the host runs on one thread.
  mutable std::map<std::string, StringTable> tables_;
};

}  // namespace qx::sim
