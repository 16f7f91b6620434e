#include "services/local_string.h"

#include <algorithm>
#include <list>
#include <mutex>
#include <utility>

#include "automation/arg.h"
#include "host/prog_ids.h"
#include "services/host_objects.h"
#include "services/login_props.h"

namespace qx::services {

namespace {

using automation::ObjectRef;
using automation::Variant;

// The module state, one copy per thread that uses the component. It lives while the thread has
// plug-in objects: the thread's last one releases it (frame/module.h), so nothing of it is left
// for the thread's end, when the thread's apartment may be gone already.
struct MMTSState {
  // The login's language, kept once it is non-empty.
  std::string m_sLanguage;
  // Created on first use, kept until the state is released.
  ObjectRef m_oResLoader;
};

// Every thread's state. A thread finds its own through a plain pointer, which needs no
// clean-up when the thread ends.
struct ModuleStates {
  std::mutex mutex;
  std::list<MMTSState> states;
};

ModuleStates& moduleStates() {
  static ModuleStates all;
  return all;
}

thread_local MMTSState* t_state = nullptr;

MMTSState& moduleState() {
  if (!t_state) {
    ModuleStates& all = moduleStates();
    std::lock_guard lock(all.mutex);
    t_state = &all.states.emplace_back();
  }
  return *t_state;
}

bool holdsText(const Variant& v, std::string_view text) {
  const std::string* s = v.stringIf();
  return s && *s == text;
}

// Points the loader at our resource file and the login's language; the properties are compared
// first so a loader someone else re-pointed is corrected before each lookup, and only then.
void pointLoader(automation::Object& loader, const std::string& language) {
  if (!holdsText(loader.get("ResFileBaseName"), kResFileBaseName)) {
    loader.put("ResFileBaseName", Variant(kResFileBaseName));
  }
  if (!holdsText(loader.get("LanguageID"), language)) {
    loader.put("LanguageID", Variant(language));
  }
}

std::string translate(std::string_view text) {
  MMTSState& state = moduleState();
  if (state.m_sLanguage.empty()) state.m_sLanguage = GetPropValue("Language");
  if (!state.m_oResLoader) state.m_oResLoader = createHostObject(host::prog_id::kResLoader);
  ObjectRef loader = state.m_oResLoader;
  pointLoader(*loader, state.m_sLanguage);

  if (text.find(kCompositeSeparator) != std::string_view::npos) return LoadCompositeString(text);

  // Only the space character counts; tabs and line breaks belong to the source text. A text of
  // spaces only asks for the empty key and keeps its spaces after the answer.
  size_t begin = text.find_first_not_of(' ');
  if (begin == std::string_view::npos) begin = 0;
  size_t end = text.find_last_not_of(' ');
  end = end == std::string_view::npos ? 0 : end + 1;
  if (end < begin) end = begin;
  Variant key(text.substr(begin, end - begin));
  Variant translated = loader->call("LoadString", automation::byRef(key));
  std::string result(text.substr(0, begin));
  result += translated.toString();
  result += text.substr(end);
  return result;
}

// The pieces of a composite text joined without their marks, each translatable piece passed
// through `piece`.
template <class Translate>
std::string joinComposite(std::string_view text, Translate&& translatePiece) {
  std::string result;
  size_t start = 0;
  for (;;) {
    size_t at = text.find(kCompositeSeparator, start);
    std::string_view piece =
        text.substr(start, at == std::string_view::npos ? std::string_view::npos : at - start);
    if (piece.substr(0, kTranslatableMarker.size()) == kTranslatableMarker) {
      result += translatePiece(piece.substr(kTranslatableMarker.size()));
    } else {
      result += piece;
    }
    if (at == std::string_view::npos) break;
    start = at + kCompositeSeparator.size();
  }
  return result;
}

}  // namespace

std::string LoadLocalString(std::string_view text) {
  try {
    return translate(text);
  } catch (...) {
    // Loader missing, property read or lookup failed: the source text is shown, a composite
    // one without the marks that no user should see.
    if (text.find(kCompositeSeparator) == std::string_view::npos) return std::string(text);
    return joinComposite(text, [](std::string_view piece) { return std::string(piece); });
  }
}

void releaseModuleState() noexcept {
  MMTSState* state = std::exchange(t_state, nullptr);
  if (!state) return;
  std::list<MMTSState> gone;
  {
    ModuleStates& all = moduleStates();
    std::lock_guard lock(all.mutex);
    auto it = std::find_if(all.states.begin(), all.states.end(),
                           [&](const MMTSState& s) { return &s == state; });
    gone.splice(gone.end(), all.states, it);
  }
  // The loader is released here, outside the lock: that is a call into the host.
}

std::string LoadCompositeString(std::string_view text) {
  return joinComposite(text, [](std::string_view piece) { return LoadLocalString(piece); });
}

}  // namespace qx::services
