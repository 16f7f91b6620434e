// Login properties: a value is the rest of a whole entry whose key matches in any letter case,
// never holds a ";", is not changed by an entry of a longer key put before it, and a property
// string built from entries gives each key the value of its first entry.
#include <cctype>

#include "automation/text.h"
#include "fuzz_host.h"
#include "fuzz_support.h"
#include "host/prog_ids.h"
#include "services/login_props.h"

using qx::automation::asciiLower;
using qx::automation::asciiUpper;
using qx::fuzz::shown;
namespace services = qx::services;

namespace {

struct Host {
  qx::fuzz::FuzzPlatform platform;
  std::string props;
  Host() {
    platform.factories[asciiLower(qx::host::prog_id::kShareProps)] = [this] {
      return qx::fuzz::sharePropsWith(props);
    };
  }
  std::string value(const std::string& p, std::string_view key) {
    props = p;
    return services::GetPropValue(key);
  }
};

// Whether `props` has an entry "key=value" (key in any letter case) ending at a ";" or the end.
bool hasEntry(std::string_view props, std::string_view key, std::string_view value) {
  std::string lower = asciiLower(props), wanted = asciiLower(key) + "=";
  for (size_t at = lower.find(wanted); at != std::string::npos; at = lower.find(wanted, at + 1)) {
    size_t v = at + wanted.size();
    if (props.substr(v, value.size()) == value &&
        (v + value.size() == props.size() || props[v + value.size()] == ';')) {
      return true;
    }
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Host host;
  qx::fuzz::Input in(data, size);
  const bool built = in.byte() & 1;
  const std::string key = in.text();

  if (!built) {
    const std::string props = in.rest();
    std::string v = host.value(props, key);
    QX_FUZZ_CHECK(v.find(';') == std::string::npos, shown(props) + ": " + shown(v));
    if (!v.empty()) {
      QX_FUZZ_CHECK(hasEntry(props, key, v),
                    shown(props) + ": " + shown(key) + " has no entry " + shown(v));
    }
    QX_FUZZ_CHECK(
        host.value(props, asciiUpper(key)) == v && host.value(props, asciiLower(key)) == v,
        shown(props) + ": the letter case of " + shown(key) + " changes its value");
    QX_FUZZ_CHECK(host.value("x" + key + "=other;" + props, key) == v,
                  shown(props) + ": an entry of a longer key changes " + shown(key));
    int32_t edition = (host.props = props, services::GetEdition(-7));
    std::string code = asciiUpper(host.value(props, "QxVersion"));
    int32_t expected = code == "ZRA" ? 0 : code == "ZRB" ? 1 : code == "ZRC" ? 2 : -7;
    QX_FUZZ_CHECK(edition == expected, shown(props) + ": edition " + std::to_string(edition));
    return 0;
  }

  // A property string of entries "key=value"; keys are letters, digits and "_", values anything
  // but ";". Blanks may stand before a key.
  std::vector<std::pair<std::string, std::string>> entries;
  std::string props;
  while (!in.empty() && entries.size() < 8) {
    std::string k, v = in.text(';');
    for (char c : in.text('=')) {
      if (std::isalnum(static_cast<unsigned char>(c)) || c == '_') k += c;
    }
    if (k.empty()) k = "k";
    props += std::string(in.pick(3), ' ') + k + "=" + v + ";";
    entries.emplace_back(k, v);
  }
  if (in.pick(2) && !props.empty()) props.pop_back();  // the last ";" is optional
  for (const auto& [k, v] : entries) {
    std::string expected;
    for (const auto& [k2, v2] : entries) {
      if (asciiLower(k2) == asciiLower(k)) {
        expected = v2;
        break;
      }
    }
    std::string got = host.value(props, k);
    QX_FUZZ_CHECK(got == expected, shown(props) + ": " + shown(k) + " gave " + shown(got) +
                                       ", not " + shown(expected));
  }
  (void)key;
  return 0;
}
