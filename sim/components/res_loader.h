// "QxResLoader.Loader": the host's resource-string loader. ResFileBaseName and LanguageID choose
// a translation file in the strings folder; LoadString(key) gives the key's translation, or the
// key unchanged when there is none. The table is read once per base name and language and kept
// in memory.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "automation/dispatch.h"
#include "sim/components/string_table.h"

namespace qx::sim {

class ResLoader final : public automation::Dispatch<ResLoader> {
 public:
  static constexpr std::string_view kTypeName = "QxResLoader.Loader";
  static std::span<const automation::Member<ResLoader>> members();
  explicit ResLoader(std::filesystem::path stringsDir) : dir_(std::move(stringsDir)) {}

  // How many times a translation file was read (the table is cached between lookups).
  int loads() const noexcept { return loads_; }

 private:
  automation::Variant mResFileBaseName(automation::Args a);
  void mPutResFileBaseName(automation::Args a, const automation::Variant& v);
  automation::Variant mLanguageID(automation::Args a);
  void mPutLanguageID(automation::Args a, const automation::Variant& v);
  automation::Variant mLoadString(automation::Args a);
  const StringTable& table();

  std::filesystem::path dir_;
  std::string base_, language_;
  std::unique_ptr<StringTable> table_;  // for base_ and language_; null until needed
  int loads_ = 0;
};

}  // namespace qx::sim
