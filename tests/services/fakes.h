// Strict fakes of the host for the services tests: a platform that creates only the components
// a test registered, and host components that fail the test on any member they do not expect.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "automation/dispatch.h"
#include "automation/text.h"
#include "host/platform.h"
#include "services/local_string.h"

namespace qx::services::testing {

using automation::Args;
using automation::DispId;
using automation::Error;
using automation::Member;
using automation::ObjectRef;
using automation::Variant;

inline constexpr uint32_t kProcessId = 4242;

// Fails the test when a member outside the fake's table is asked for.
template <class Self>
class StrictFake : public automation::Dispatch<Self> {
 public:
  DispId idOf(std::string_view name) const override {
    try {
      return automation::Dispatch<Self>::idOf(name);
    } catch (const Error&) {
      ADD_FAILURE() << "unexpected call of " << Self::kTypeName << "." << name;
      throw;
    }
  }
};

class FakePlatform final : public host::Platform {
 public:
  using Factory = std::function<ObjectRef()>;

  void add(std::string_view progId, Factory f) { factories_[automation::asciiLower(progId)] = f; }
  // Creation of this identifier fails as for a component that is not registered.
  void refuse(std::string_view progId) { refused_.push_back(automation::asciiLower(progId)); }

  ObjectRef createObject(std::string_view progId) override {
    created.emplace_back(progId);
    std::string key = automation::asciiLower(progId);
    for (const auto& r : refused_) {
      if (r == key) throw Error::cannotCreate(progId);
    }
    auto it = factories_.find(key);
    if (it == factories_.end()) {
      ADD_FAILURE() << "unexpected creation of " << progId;
      throw Error::cannotCreate(progId);
    }
    return it->second();
  }
  int32_t mousePointer() override { return pointer; }
  void setMousePointer(int32_t p) override {
    if (failPointer) throw Error::notImplemented("Screen.MousePointer", "Screen");
    pointer = p;
    pointers.push_back(p);
  }
  int32_t messageBox(const std::string& prompt, int32_t style, const std::string& title) override {
    boxes.push_back({prompt, style, title});
    int32_t answer = answers.empty() ? 1 : answers.front();
    if (!answers.empty()) answers.pop_front();
    return answer;
  }
  uint32_t processId() override { return kProcessId; }

  ObjectRef createRegHelper() override { return unexpected<ObjectRef>("createRegHelper"); }
  double twipsPerPixelX() override { return unexpected<double>("twipsPerPixelX"); }
  double twipsPerPixelY() override { return unexpected<double>("twipsPerPixelY"); }
  void setCapture(intptr_t) override { unexpected<int>("setCapture"); }
  void releaseCapture() override { unexpected<int>("releaseCapture"); }
  intptr_t sendMessage(intptr_t, uint32_t, intptr_t, intptr_t) override {
    return unexpected<intptr_t>("sendMessage");
  }
  void doEvents() override { unexpected<int>("doEvents"); }

  struct Box {
    std::string prompt;
    int32_t style;
    std::string title;
  };
  std::vector<std::string> created;
  std::vector<int32_t> pointers;
  int32_t pointer = 0;
  bool failPointer = false;
  std::vector<Box> boxes;
  std::deque<int32_t> answers;

 private:
  template <class T>
  T unexpected(const char* what) {
    ADD_FAILURE() << "unexpected platform call " << what;
    return T{};
  }
  std::map<std::string, Factory> factories_;
  std::vector<std::string> refused_;
};

// The resource loader: translates a key to "[language]key", or from its table when the key is
// there; logs every member call.
class FakeLoader final : public StrictFake<FakeLoader> {
 public:
  static constexpr std::string_view kTypeName = "QxResLoader.Loader";
  static std::span<const Member<FakeLoader>> members() {
    static const Member<FakeLoader> m[] = {
        {"ResFileBaseName", 1, nullptr, &FakeLoader::getBase, &FakeLoader::putBase},
        {"LanguageID", 2, nullptr, &FakeLoader::getLanguage, &FakeLoader::putLanguage},
        {"LoadString", 3, &FakeLoader::loadString},
    };
    return m;
  }

  std::string base, language;
  std::map<std::string, std::string> table;
  std::vector<std::string> log;
  bool failLoadString = false;

 private:
  Variant getBase(Args) {
    log.push_back("get ResFileBaseName");
    return Variant(base);
  }
  void putBase(Args, const Variant& v) {
    log.push_back("put ResFileBaseName=" + v.toString());
    base = v.toString();
  }
  Variant getLanguage(Args) {
    log.push_back("get LanguageID");
    return Variant(language);
  }
  void putLanguage(Args, const Variant& v) {
    log.push_back("put LanguageID=" + v.toString());
    language = v.toString();
  }
  Variant loadString(Args a) {
    automation::requireArgs(a, 1, "LoadString");
    EXPECT_TRUE(a[0].isByRef()) << "LoadString takes the source text by reference";
    std::string key = a[0].get().toString();
    log.push_back("LoadString " + key);
    if (failLoadString) throw Error(-2147024809, "no such resource", std::string(kTypeName));
    auto it = table.find(key);
    return Variant(it != table.end() ? it->second : "[" + language + "]" + key);
  }
};

// The shared-property manager of process kProcessId.
class FakeShareProps final : public StrictFake<FakeShareProps> {
 public:
  static constexpr std::string_view kTypeName = "ShareVault.ShareProps";
  static std::span<const Member<FakeShareProps>> members() {
    static const Member<FakeShareProps> m[] = {{"GetProperty", 1, &FakeShareProps::get}};
    return m;
  }
  // What every manager answers: by property name; a missing name fails the call.
  struct Answers {
    std::map<std::string, Variant> values;
    std::vector<std::string> asked;
  };
  explicit FakeShareProps(Answers& answers) : answers_(answers) {}

 private:
  Variant get(Args a) {
    automation::requireArgs(a, 2, "GetProperty");
    EXPECT_TRUE(a[0].isByRef() && a[1].isByRef()) << "both arguments go by reference";
    EXPECT_EQ(a[0].get(), Variant(static_cast<int32_t>(kProcessId)));
    std::string name = a[1].get().toString();
    answers_.asked.push_back(name);
    auto it = answers_.values.find(name);
    if (it == answers_.values.end()) {
      throw Error(5, "no shared property " + name, std::string(kTypeName));
    }
    return it->second;
  }
  Answers& answers_;
};

// Runs `body` on a thread of its own: the component's module state (loader and language)
// starts empty there, and is released when the body is done, as the thread's last plug-in
// object would release it.
inline void onFreshThread(const std::function<void()>& body) {
  std::thread t([&] {
    body();
    releaseModuleState();
  });
  t.join();
}

// The connection: Execute answers what the test set (or fails when told to), records the SQL
// texts and counts its live objects.
class FakeConnection final : public StrictFake<FakeConnection> {
 public:
  static constexpr std::string_view kTypeName = "QxConnection.AppConnection";
  static std::span<const Member<FakeConnection>> members() {
    static const Member<FakeConnection> m[] = {{"Execute", 1, &FakeConnection::mExecute}};
    return m;
  }
  struct Script {
    Variant answer;
    bool fail = false;
    std::vector<std::string> sql;
    int alive = 0;
  };
  explicit FakeConnection(Script& s) : s_(s) { ++s_.alive; }
  ~FakeConnection() override { --s_.alive; }

 private:
  Variant mExecute(Args a) {
    automation::requireArgs(a, 1, "Execute");
    EXPECT_TRUE(a[0].isByRef()) << "the SQL text goes by reference";
    s_.sql.push_back(a[0].get().toString());
    if (s_.fail) throw Error(-2147217900, "Incorrect syntax near 'SELEC'", "Provider");
    return s_.answer;
  }
  Script& s_;
};

}  // namespace qx::services::testing
