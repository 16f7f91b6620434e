#include "sim/components/res_loader.h"

namespace qx::sim {

using automation::Args;
using automation::Variant;

std::span<const automation::Member<ResLoader>> ResLoader::members() {
  using R = ResLoader;
  static const automation::Member<ResLoader> m[] = {
      {"ResFileBaseName", 1, nullptr, &R::mResFileBaseName, &R::mPutResFileBaseName},
      {"LanguageID", 2, nullptr, &R::mLanguageID, &R::mPutLanguageID},
      {"LoadString", 3, &R::mLoadString},
  };
  return m;
}

Variant ResLoader::mResFileBaseName(Args) {
  return Variant(base_);
}

void ResLoader::mPutResFileBaseName(Args, const Variant& v) {
  std::string base = v.toString();
  if (base != base_) table_.reset();
  base_ = std::move(base);
}

Variant ResLoader::mLanguageID(Args) {
  return Variant(language_);
}

void ResLoader::mPutLanguageID(Args, const Variant& v) {
  std::string language = v.toString();
  if (language != language_) table_.reset();
  language_ = std::move(language);
}

const StringTable& ResLoader::table() {
  if (!table_) {
    table_ = std::make_unique<StringTable>(
        StringTable::load(StringTable::fileFor(dir_, base_, language_)));
    ++loads_;
  }
  return *table_;
}

Variant ResLoader::mLoadString(Args a) {
  automation::requireArgs(a, 1, "LoadString");
  const Variant& key = a[0].get();
  const std::string* text = key.stringIf();
  std::string owned;
  if (!text) text = &(owned = key.toString());
  const std::string* found = table().find(*text);
  return Variant(found ? *found : *text);
}

}  // namespace qx::sim
