#include "sim/components/account/login.h"

#include "automation/text.h"

namespace qx::sim {

namespace {

struct Span {
  size_t begin = std::string::npos, end = 0;  // the value's place
};

Span findValue(const std::string& props, std::string_view key) {
  size_t start = 0;
  while (start < props.size()) {
    size_t end = props.find(';', start);
    if (end == std::string::npos) end = props.size();
    size_t eq = props.find('=', start);
    if (eq < end &&
        automation::equalsIgnoreCase(std::string_view(props).substr(start, eq - start), key)) {
      return {eq + 1, end};
    }
    start = end + 1;
  }
  return {};
}

}  // namespace

std::string Login::entry(std::string_view key) const {
  Span s = findValue(props, key);
  return s.begin == std::string::npos ? std::string() : props.substr(s.begin, s.end - s.begin);
}

void Login::setEntry(std::string_view key, std::string_view value) {
  Span s = findValue(props, key);
  if (s.begin != std::string::npos) {
    props.replace(s.begin, s.end - s.begin, value);
    return;
  }
  if (!props.empty() && props.back() != ';') props += ';';
  props += std::string(key) + "=" + std::string(value);
}

}  // namespace qx::sim
