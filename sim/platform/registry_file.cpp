#include "sim/platform/registry_file.h"

#include <cerrno>
#include <fstream>
#include <sstream>
#include <system_error>

#include "automation/conversions.h"
#include "automation/error.h"
#include "automation/text.h"
#include "sim/platform/durable_file.h"

namespace qx::sim {

using automation::asciiLower;
using automation::Error;
using automation::VarType;

namespace {

constexpr std::pair<std::string_view, std::string_view> kRoots[] = {
    {"HKEY_CLASSES_ROOT", "HKCR"},
    {"HKEY_CURRENT_USER", "HKCU"},
    {"HKEY_LOCAL_MACHINE", "HKLM"},
};

std::string quote(std::string_view s) {
  std::string r = "\"";
  for (char c : s) {
    switch (c) {
      case '"':
        r += "\\\"";
        break;
      case '\\':
        r += "\\\\";
        break;
      case '\n':
        r += "\\n";
        break;
      case '\r':
        r += "\\r";
        break;
      case '\t':
        r += "\\t";
        break;
      default:
        r += c;
    }
  }
  return r + "\"";
}

// Reads a quoted text starting at s[i] == '"'; advances i past the closing quote.
std::optional<std::string> unquote(std::string_view s, size_t& i) {
  if (i >= s.size() || s[i] != '"') return std::nullopt;
  std::string r;
  for (++i; i < s.size(); ++i) {
    char c = s[i];
    if (c == '"') {
      ++i;
      return r;
    }
    if (c == '\\') {
      if (++i >= s.size()) return std::nullopt;
      switch (s[i]) {
        case 'n':
          r += '\n';
          break;
        case 'r':
          r += '\r';
          break;
        case 't':
          r += '\t';
          break;
        case '"':
        case '\\':
          r += s[i];
          break;
        default:
          return std::nullopt;
      }
    } else {
      r += c;
    }
  }
  return std::nullopt;
}

std::string encode(const Variant& v) {
  switch (v.type()) {
    case VarType::String:
      return "string:" + quote(*v.stringIf());
    case VarType::Integer:
      return "integer:" + v.toString();
    case VarType::Long:
      return "long:" + v.toString();
    case VarType::Double:
      return "double:" + automation::formatDoubleRoundTrip(v.toDouble());  // reads back the same
    case VarType::Boolean:
      return v.toBool() ? "boolean:true" : "boolean:false";
    case VarType::Date:
      return "date:" + automation::formatDatePattern(v.toDate(), "yyyy-mm-dd hh:nn:ss");
    default:
      throw Error::typeMismatch(std::string("the registry cannot store a ") +
                                automation::varTypeName(v.type()));
  }
}

std::optional<Variant> decode(std::string_view text) {
  size_t colon = text.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  std::string_view type = text.substr(0, colon), body = text.substr(colon + 1);
  try {
    if (type == "string") {
      size_t i = 0;
      auto s = unquote(body, i);
      if (!s || i != body.size()) return std::nullopt;
      return Variant(*s);
    }
    if (type == "boolean") {
      if (body == "true") return Variant(true);
      if (body == "false") return Variant(false);
      return std::nullopt;
    }
    if (type == "date") {
      auto d = automation::parseDate(body);
      if (!d) return std::nullopt;
      return Variant(*d);
    }
    auto n = automation::parseNumber(body);
    if (!n) return std::nullopt;
    if (type == "integer") return Variant(automation::roundToInt16(*n));
    if (type == "long") return Variant(automation::roundToInt32(*n));
    if (type == "double") return Variant(*n);
  } catch (const Error&) {
    return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace

std::string RegistryFile::normalizeKey(std::string_view key) {
  std::string k(key);
  while (!k.empty() && k.back() == '\\') k.pop_back();
  size_t slash = k.find('\\');
  std::string root = k.substr(0, slash);
  for (auto [full, abbrev] : kRoots) {
    if (automation::equalsIgnoreCase(root, full) || automation::equalsIgnoreCase(root, abbrev)) {
      return std::string(full) + (slash == std::string::npos ? "" : k.substr(slash));
    }
  }
  throw Error::invalidProcedureCall("not a registry key path: \"" + std::string(key) + "\"",
                                    "RegHelper");
}

RegistryFile::RegistryFile(std::filesystem::path file) : file_(std::move(file)) {
  load();
}

void RegistryFile::load() {
  keys_.clear();
  if (file_.empty()) return;
  std::ifstream in(file_, std::ios::binary);
  if (!in) return;  // no file yet: an empty registry
  std::string line;
  Key* current = nullptr;
  int lineNo = 0;
  auto fail = [&](const std::string& why) {
    keys_.clear();
    loadProblem_ = file_.string() + " line " + std::to_string(lineNo) + ": " + why;
    setAside_ = setAside();
  };
  while (std::getline(in, line)) {
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      if (line.back() != ']') return fail("unclosed key");
      std::string path;
      try {
        path = normalizeKey(line.substr(1, line.size() - 2));
      } catch (const Error& e) {
        return fail(e.description());
      }
      Key& k = keys_[asciiLower(path)];
      k.path = path;
      current = &k;
      continue;
    }
    if (!current) return fail("value outside a key");
    size_t i = 0;
    std::string name;
    if (line[0] == '@') {
      i = 1;
    } else {
      auto n = unquote(line, i);
      if (!n) return fail("bad value name");
      name = *n;
    }
    if (i >= line.size() || line[i] != '=') return fail("expected =");
    auto v = decode(std::string_view(line).substr(i + 1));
    if (!v) return fail("bad value");
    current->values[asciiLower(name)] = Value{name, *v};
  }
}

// A file that cannot be read is copied beside it (".corrupt") before anything replaces it.
bool RegistryFile::setAside() const {
  std::ifstream in(file_, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (!in && !in.eof()) return false;
  try {
    replaceFileDurably(file_.string() + ".corrupt", bytes.str(), "Registry");
    return true;
  } catch (const Error&) {
    return false;
  }
}

void RegistryFile::save() const {
  if (file_.empty()) return;
  // Until the unreadable file is set aside, writing would lose what it holds.
  if (!setAside_ && !(setAside_ = setAside())) {
    throw Error(75,
                "Path/File access error: " + file_.string() +
                    " cannot be read and could not be set aside; nothing was written",
                "Registry");
  }
  std::ostringstream out;
  out << "; substitute host registry\n";
  for (const auto& [lower, key] : keys_) {
    out << "\n[" << key.path << "]\n";
    for (const auto& [n, v] : key.values) {
      out << (v.name.empty() ? std::string("@") : quote(v.name)) << "=" << encode(v.value) << "\n";
    }
  }
  std::error_code folderError;
  std::filesystem::path folder = file_.parent_path().empty() ? "." : file_.parent_path();
  std::filesystem::create_directories(folder, folderError);
  if (folderError) {
    throw Error(75,
                "Path/File access error: cannot create the folder " + folder.string() + ": " +
                    folderError.message(),
                "Registry");
  }
  replaceFileDurably(file_, out.str(), "Registry");
}

std::optional<Variant> RegistryFile::read(std::string_view key, std::string_view name) const {
  auto k = keys_.find(asciiLower(normalizeKey(key)));
  if (k == keys_.end()) return std::nullopt;
  auto v = k->second.values.find(asciiLower(name));
  if (v == k->second.values.end()) return std::nullopt;
  return v->second.value;
}

void RegistryFile::write(std::string_view key, std::string_view name, const Variant& value) {
  std::string path = normalizeKey(key);
  if (path.find('\\') == std::string::npos) {
    throw Error::invalidProcedureCall("values cannot be written at a root key", "RegHelper");
  }
  encode(value);  // rejects types the registry cannot keep before anything changes
  auto before = keys_;
  Key& k = keys_[asciiLower(path)];
  if (k.path.empty()) k.path = path;
  k.values[asciiLower(name)] = Value{std::string(name), value};
  try {
    save();
  } catch (...) {
    keys_ = std::move(before);
    throw;
  }
}

bool RegistryFile::deleteKey(std::string_view key) {
  std::string lower = asciiLower(normalizeKey(key));
  auto before = keys_;
  bool removed = false;
  for (auto it = keys_.begin(); it != keys_.end();) {
    const std::string& p = it->first;
    if (p == lower || (p.size() > lower.size() && p.compare(0, lower.size(), lower) == 0 &&
                       p[lower.size()] == '\\')) {
      it = keys_.erase(it);
      removed = true;
    } else {
      ++it;
    }
  }
  if (!removed) return false;
  try {
    save();
  } catch (...) {
    keys_ = std::move(before);
    throw;
  }
  return true;
}

bool RegistryFile::keyExists(std::string_view key) const {
  return keys_.count(asciiLower(normalizeKey(key))) > 0;
}

std::vector<std::string> RegistryFile::keysUnder(std::string_view prefix) const {
  std::string lower = asciiLower(normalizeKey(prefix));
  std::vector<std::string> r;
  for (const auto& [p, k] : keys_) {
    if (p == lower || (p.size() > lower.size() && p.compare(0, lower.size(), lower) == 0 &&
                       p[lower.size()] == '\\')) {
      r.push_back(k.path);
    }
  }
  return r;
}

std::vector<std::pair<std::string, Variant>> RegistryFile::values(std::string_view key) const {
  std::vector<std::pair<std::string, Variant>> r;
  auto k = keys_.find(asciiLower(normalizeKey(key)));
  if (k == keys_.end()) return r;
  for (const auto& [n, v] : k->second.values) r.emplace_back(v.name, v.value);
  return r;
}

}  // namespace qx::sim
