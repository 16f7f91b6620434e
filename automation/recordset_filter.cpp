#include "automation/recordset_filter.h"

#include <cmath>

#include "automation/conversions.h"
#include "automation/error.h"
#include "automation/text.h"

namespace qx::automation {

namespace {

Error badFilter(std::string_view text, std::string_view why) {
  return Error(3001,
               "Arguments are of the wrong type, are out of acceptable range, or are in conflict "
               "with one another: filter \"" +
                   std::string(text) + "\": " + std::string(why),
               "Recordset");
}

class Parser {
 public:
  explicit Parser(std::string_view text) : s_(text) {}

  std::vector<FilterCondition> parse() {
    std::vector<FilterCondition> r;
    skip();
    if (i_ == s_.size()) return r;
    for (;;) {
      r.push_back(condition());
      skip();
      if (i_ == s_.size()) return r;
      if (!keyword("AND")) throw badFilter(s_, "expected AND at position " + pos());
    }
  }

 private:
  std::string pos() const { return std::to_string(i_ + 1); }
  void skip() {
    while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\t' || s_[i_] == '\r' || s_[i_] == '\n'))
      ++i_;
  }
  static bool wordChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           static_cast<unsigned char>(c) >= 0x80;
  }
  bool keyword(std::string_view k) {
    if (s_.size() - i_ < k.size() || !equalsIgnoreCase(s_.substr(i_, k.size()), k)) return false;
    if (i_ + k.size() < s_.size() && wordChar(s_[i_ + k.size()])) return false;
    i_ += k.size();
    skip();
    return true;
  }

  FilterCondition condition() {
    FilterCondition c;
    c.field = fieldName();
    skip();
    c.op = op();
    skip();
    c.literal = literal();
    return c;
  }

  std::string fieldName() {
    if (i_ < s_.size() && s_[i_] == '[') {
      size_t end = s_.find(']', i_);
      if (end == std::string_view::npos) throw badFilter(s_, "unclosed [ at position " + pos());
      std::string name(s_.substr(i_ + 1, end - i_ - 1));
      i_ = end + 1;
      if (name.empty()) throw badFilter(s_, "empty field name");
      return name;
    }
    size_t start = i_;
    while (i_ < s_.size() && wordChar(s_[i_])) ++i_;
    if (i_ == start) throw badFilter(s_, "expected a field name at position " + pos());
    return std::string(s_.substr(start, i_ - start));
  }

  CompareOp op() {
    auto take = [&](std::string_view t) {
      if (s_.substr(i_, t.size()) != t) return false;
      i_ += t.size();
      return true;
    };
    if (take("<>")) return CompareOp::Ne;
    if (take("<=")) return CompareOp::Le;
    if (take(">=")) return CompareOp::Ge;
    if (take("=")) return CompareOp::Eq;
    if (take("<")) return CompareOp::Lt;
    if (take(">")) return CompareOp::Gt;
    throw badFilter(s_, "expected a comparison at position " + pos());
  }

  FilterLiteral literal() {
    FilterLiteral l;
    if (i_ == s_.size()) throw badFilter(s_, "missing value at the end");
    char q = s_[i_];
    if (q == '\'' || q == '"') {
      ++i_;
      for (;;) {
        if (i_ == s_.size()) throw badFilter(s_, "unclosed quote");
        if (s_[i_] == q) {
          if (i_ + 1 < s_.size() && s_[i_ + 1] == q) {
            l.text.push_back(q);
            i_ += 2;
            continue;
          }
          ++i_;
          break;
        }
        l.text.push_back(s_[i_++]);
      }
      try {
        l.number = parseNumber(l.text);
      } catch (const Error&) {
        l.number.reset();  // a quoted text beyond the range of a double compares as text
      }
      return l;
    }
    if (q == '#') {
      size_t end = s_.find('#', i_ + 1);
      if (end == std::string_view::npos) throw badFilter(s_, "unclosed # date");
      l.text = std::string(s_.substr(i_ + 1, end - i_ - 1));
      auto d = parseDate(l.text);
      if (!d) throw badFilter(s_, "not a date: " + l.text);
      l.number = d->serial;
      i_ = end + 1;
      return l;
    }
    size_t start = i_;
    while (i_ < s_.size() && s_[i_] != ' ' && s_[i_] != '\t' && s_[i_] != '\r' && s_[i_] != '\n')
      ++i_;
    l.text = std::string(s_.substr(start, i_ - start));
    try {
      l.number = parseNumber(l.text);
    } catch (const Error&) {
      throw badFilter(s_, "number out of range: " + l.text);
    }
    if (!l.number) throw badFilter(s_, "not a number: " + l.text + " (quote texts with ')");
    return l;
  }

  std::string_view s_;
  size_t i_ = 0;
};

int compareText(std::string_view a, std::string_view b) {
  std::string x = asciiLower(a), y = asciiLower(b);
  return x < y ? -1 : (x > y ? 1 : 0);
}

bool apply(CompareOp op, int c) {
  switch (op) {
    case CompareOp::Eq:
      return c == 0;
    case CompareOp::Ne:
      return c != 0;
    case CompareOp::Lt:
      return c < 0;
    case CompareOp::Gt:
      return c > 0;
    case CompareOp::Le:
      return c <= 0;
    case CompareOp::Ge:
      return c >= 0;
  }
  return false;
}

}  // namespace

std::vector<FilterCondition> parseFilter(std::string_view text) {
  return Parser(text).parse();
}

std::optional<double> numericKey(const Variant& v) {
  switch (v.type()) {
    case VarType::Boolean:
    case VarType::Integer:
    case VarType::Long:
    case VarType::Double:
    case VarType::Date: {
      // NaN equals nothing, so it is neither matched nor indexed.
      double d = v.toDouble();
      if (std::isnan(d)) return std::nullopt;
      return d;
    }
    default:
      return std::nullopt;
  }
}

std::optional<std::string> textKey(const Variant& v) {
  if (const std::string* s = v.stringIf()) return asciiLower(*s);
  return std::nullopt;
}

std::string literalTextKey(const FilterLiteral& literal) {
  return asciiLower(literal.text);
}

bool matchesNumber(double value, const FilterCondition& c) noexcept {
  // NaN equals nothing (numericKey gives no key for it).
  if (std::isnan(value) || !c.literal.number) return false;
  double d = value - *c.literal.number;
  return apply(c.op, d < 0 ? -1 : (d > 0 ? 1 : 0));
}

bool matchesText(std::string_view value, const FilterCondition& c) {
  return apply(c.op, compareText(value, c.literal.text));
}

bool matches(const Variant& value, const FilterCondition& c) {
  if (auto n = numericKey(value)) return matchesNumber(*n, c);
  if (const std::string* s = value.stringIf()) return matchesText(*s, c);
  return false;
}

}  // namespace qx::automation
