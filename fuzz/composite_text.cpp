// Composite texts: the pieces handed to the resource loader never hold a separator; with a
// loader that answers every key with itself the translated text is the text without its marks,
// the same as when no loader can be had; nothing fails out of the translation.
#include <memory>

#include "automation/arg.h"
#include "fuzz_host.h"
#include "fuzz_support.h"
#include "host/prog_ids.h"
#include "services/local_string.h"

using qx::automation::Args;
using qx::automation::CallKind;
using qx::automation::Variant;
using qx::fuzz::shown;
namespace services = qx::services;

namespace {

enum class Loader { Identity, Missing, Failing, Wrapping };

struct Host {
  qx::fuzz::FuzzPlatform platform;
  std::vector<std::string> keys;  // LoadString's keys, in order
  Loader loader = Loader::Identity;

  Host() {
    platform.factories[qx::automation::asciiLower(qx::host::prog_id::kShareProps)] = [] {
      return qx::fuzz::sharePropsWith("Language=EN;UserName=fuzz");
    };
    platform.factories[qx::automation::asciiLower(qx::host::prog_id::kResLoader)] = [this] {
      if (loader == Loader::Missing) throw qx::automation::Error::cannotCreate("loader");
      auto o = qx::automation::makeObject<qx::fuzz::FunctionObject>();
      auto property = [](std::shared_ptr<Variant> held) {
        return [held](CallKind kind, Args a) {
          if (kind == CallKind::Put) *held = a.back().get();
          return *held;
        };
      };
      o->add("ResFileBaseName", property(std::make_shared<Variant>()));
      o->add("LanguageID", property(std::make_shared<Variant>()));
      o->add("LoadString", [this](CallKind, Args a) {
        if (a.size() != 1) throw qx::automation::Error::wrongArgumentCount("LoadString");
        std::string key = a[0].get().toString();
        keys.push_back(key);
        if (loader == Loader::Failing) throw qx::automation::Error(5, "no translation");
        return Variant(loader == Loader::Wrapping ? "<" + key + ">" : key);
      });
      return qx::automation::ObjectRef(o);
    };
  }
};

std::string withoutMarks(std::string_view text, Host& host) {
  Loader mode = host.loader;
  host.loader = Loader::Missing;
  services::releaseModuleState();
  std::string r = services::LoadCompositeString(text);
  host.loader = mode;
  services::releaseModuleState();
  return r;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Host host;
  qx::fuzz::Input in(data, size);
  host.loader = static_cast<Loader>(in.pick(4));
  const std::string text = in.rest();
  host.keys.clear();
  services::releaseModuleState();

  const bool composite = text.find(services::kCompositeSeparator) != std::string::npos;
  std::string local = services::LoadLocalString(text);
  std::string joined = services::LoadCompositeString(text);
  for (const std::string& key : host.keys) {
    QX_FUZZ_CHECK(key.find(services::kCompositeSeparator) == std::string::npos,
                  shown(text) + ": the loader was asked for " + shown(key));
  }
  if (composite) {
    QX_FUZZ_CHECK(local == joined, shown(text) + ": " + shown(local) + " and " + shown(joined));
  }
  if (host.loader == Loader::Wrapping) return 0;

  // Without translations only the marks go.
  QX_FUZZ_CHECK(joined.size() <= text.size(), shown(text) + " grew to " + shown(joined));
  QX_FUZZ_CHECK(joined == withoutMarks(text, host),
                shown(text) + ": " + shown(joined) + " is not the text without its marks");
  if (!composite) QX_FUZZ_CHECK(local == text, shown(text) + " came back as " + shown(local));
  return 0;
}
