#include "sim/components/host_texts.h"

#include "automation/text.h"

namespace qx::sim {

std::string HostTexts::language() const {
  std::string l = login_ ? login_->entry("Language") : std::string();
  return l.empty() ? std::string("CHS") : automation::asciiUpper(l);
}

std::string HostTexts::operator()(const std::string& source) const {
  std::string lang = language();
  auto it = tables_.find(lang);
  if (it == tables_.end()) {
    it = tables_.emplace(lang, StringTable::load(StringTable::fileFor(dir_, "QxHost", lang))).first;
  }
  const std::string* t = it->second.find(source);
  return t ? *t : source;
}

std::string HostTexts::format(const std::string& source,
                              const std::vector<std::string>& args) const {
  return fill((*this)(source), args);
}

std::string HostTexts::fill(std::string text, const std::vector<std::string>& args) {
  for (size_t i = args.size(); i-- > 0;) {
    std::string mark = "{" + std::to_string(i + 1) + "}";
    for (size_t at = text.find(mark); at != std::string::npos;
         at = text.find(mark, at + args[i].size())) {
      text.replace(at, mark.size(), args[i]);
    }
  }
  return text;
}

}  // namespace qx::sim
