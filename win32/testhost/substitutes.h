// The host components the tested handlers create by programmatic identifier, played by this
// process: each a strict fake that fails on any call it does not expect.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <windows.h>

#include "automation/dispatch.h"
#include "win32/testhost/object_factory.h"

namespace qx::testhost {

// "QxConnection.AppConnection": Execute answers the relation count of one line from a small
// in-memory t_eiItemLine table with our own recordset.
class ConnectionSubstitute final : public automation::Dispatch<ConnectionSubstitute> {
 public:
  static constexpr std::string_view kTypeName = "AppConnection";
  static std::span<const automation::Member<ConnectionSubstitute>> members();
  ConnectionSubstitute() noexcept;
  ~ConnectionSubstitute() override;

  // What the tests steer and read.
  struct Log {
    std::vector<std::string> statements;
    bool answerNothing = false;  // Execute returns Nothing
    std::string failWith;        // Execute fails with this description
    int created = 0;
    int live = 0;
  };
  static Log& log() noexcept;

 private:
  automation::Variant mExecute(automation::Args a);
};

// "QxResLoader.Loader": translates the texts of its table for the language "EN" and returns
// every other key unchanged.
class ResLoaderSubstitute final : public automation::Dispatch<ResLoaderSubstitute> {
 public:
  static constexpr std::string_view kTypeName = "Loader";
  static std::span<const automation::Member<ResLoaderSubstitute>> members();
  ResLoaderSubstitute() noexcept;
  ~ResLoaderSubstitute() override;

  struct Log {
    std::string baseName;
    std::string language;
    int lookups = 0;
    int created = 0;
    int live = 0;
    // Loaders released on a thread without COM: after its apartment had ended.
    int releasedOutsideApartment = 0;
  };
  static Log& log() noexcept;

 private:
  automation::Variant mResFileBaseName(automation::Args a);
  void mPutResFileBaseName(automation::Args a, const automation::Variant& v);
  automation::Variant mLanguageID(automation::Args a);
  void mPutLanguageID(automation::Args a, const automation::Variant& v);
  automation::Variant mLoadString(automation::Args a);

  std::string baseName_;
  std::string language_;
};

// The translation the loader gives for the language "EN" (the key itself when it has none).
std::string translatedText(std::string_view key);

// "ShareVault.ShareProps": the login's properties for this process.
class SharePropsSubstitute final : public automation::Dispatch<SharePropsSubstitute> {
 public:
  static constexpr std::string_view kTypeName = "ShareProps";
  static std::span<const automation::Member<SharePropsSubstitute>> members();
  SharePropsSubstitute() noexcept;
  ~SharePropsSubstitute() override;

  static constexpr std::string_view kPropsString = "Language=EN;QxVersion=ZRB;";
  static constexpr std::string_view kUserName = "tester";
  static int& live() noexcept;

 private:
  automation::Variant mGetProperty(automation::Args a);
};

// Registers the substitutes' class objects in this process and their programmatic
// identifiers in the registry for its life.
class SubstituteRegistration {
 public:
  SubstituteRegistration();
  bool ok() const noexcept { return ok_; }

 private:
  ClassRegistrations classes_;
  bool ok_ = true;
};

}  // namespace qx::testhost
