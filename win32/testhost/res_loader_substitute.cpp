#include <objbase.h>

#include "automation/text.h"
#include "win32/testhost/substitutes.h"

namespace qx::testhost {

using automation::Args;
using automation::Error;
using automation::Variant;

namespace {

struct Translation {
  std::string_view key;
  std::string_view text;
};

// "但你可以禁用该资源。" is left out on purpose: it comes back unchanged.
constexpr Translation kEnglish[] = {
    {"生产率", "Productivity"},
    {"非生产线资源不能定义生产率.",
     "A productivity can only be defined for production-line resources."},
    {"有生产线和物料对应关系引用该资源，不能删除.",
     "Line/item relations still refer to this resource; it cannot be deleted."},
    {"无法检查该资源的引用关系,不能删除.",
     "The references of this resource cannot be checked; it cannot be deleted."},
    {"数据检查出错,原因：", "Data check failed, reason: "},
};

}  // namespace

std::string translatedText(std::string_view key) {
  for (const Translation& t : kEnglish) {
    if (t.key == key) return std::string(t.text);
  }
  return std::string(key);
}

std::span<const automation::Member<ResLoaderSubstitute>> ResLoaderSubstitute::members() {
  using L = ResLoaderSubstitute;
  static const automation::Member<L> m[] = {
      {"ResFileBaseName", 1, nullptr, &L::mResFileBaseName, &L::mPutResFileBaseName},
      {"LanguageID", 2, nullptr, &L::mLanguageID, &L::mPutLanguageID},
      {"LoadString", 3, &L::mLoadString},
  };
  return m;
}

ResLoaderSubstitute::ResLoaderSubstitute() noexcept {
  ++log().created;
  ++log().live;
}
ResLoaderSubstitute::~ResLoaderSubstitute() {
  --log().live;
  APTTYPE type{};
  APTTYPEQUALIFIER qualifier{};
  if (CoGetApartmentType(&type, &qualifier) != S_OK) ++log().releasedOutsideApartment;
}

ResLoaderSubstitute::Log& ResLoaderSubstitute::log() noexcept {
  static Log l;
  return l;
}

Variant ResLoaderSubstitute::mResFileBaseName(Args a) {
  automation::requireArgs(a, 0, "ResFileBaseName");
  return Variant(baseName_);
}

void ResLoaderSubstitute::mPutResFileBaseName(Args a, const Variant& v) {
  automation::requireArgs(a, 0, "ResFileBaseName");
  baseName_ = v.toString();
  log().baseName = baseName_;
}

Variant ResLoaderSubstitute::mLanguageID(Args a) {
  automation::requireArgs(a, 0, "LanguageID");
  return Variant(language_);
}

void ResLoaderSubstitute::mPutLanguageID(Args a, const Variant& v) {
  automation::requireArgs(a, 0, "LanguageID");
  language_ = v.toString();
  log().language = language_;
}

Variant ResLoaderSubstitute::mLoadString(Args a) {
  automation::requireArgs(a, 1, "LoadString");
  if (baseName_ != "QxEIGroup") {
    throw Error(5, "no resource file \"" + baseName_ + "\"", std::string(kTypeName));
  }
  ++log().lookups;
  std::string key = a[0].get().toString();
  if (!automation::equalsIgnoreCase(language_, "EN")) return Variant(key);
  return Variant(translatedText(key));
}

}  // namespace qx::testhost
