// The one failure type of the automation layer: number, description, source.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

namespace qx::automation {

class Error : public std::exception {
 public:
  Error(int32_t number, std::string description, std::string source = {});

  int32_t number() const noexcept { return number_; }
  const std::string& description() const noexcept { return description_; }
  const std::string& source() const noexcept { return source_; }
  const char* what() const noexcept override { return description_.c_str(); }

  // Named creators for the run-time errors the component meets.
  static Error invalidProcedureCall(std::string_view detail = {}, std::string source = {});  // 5
  static Error overflow(std::string source = {});                                            // 6
  static Error outOfMemory(std::string source = {});                                         // 7
  static Error subscriptOutOfRange(std::string_view detail = {}, std::string source = {});   // 9
  static Error typeMismatch(std::string_view detail = {}, std::string source = {});          // 13
  static Error objectNotSet(std::string source = {});                                        // 91
  static Error internal(std::string_view detail, std::string source = {});                   // 51
  static Error invalidUseOfNull(std::string source = {});                                    // 94
  static Error objectRequired(std::string_view detail = {}, std::string source = {});        // 424
  static Error cannotCreate(std::string_view progId);                                        // 429
  static Error memberNotFound(std::string_view member, std::string source = {});             // 438
  static Error argumentNotOptional(std::string_view detail = {}, std::string source = {});   // 449
  static Error wrongArgumentCount(std::string_view member, std::string source = {});         // 450
  static Error notImplemented(std::string_view what, std::string source = {});               // 445

  bool isTypeMismatch() const noexcept { return number_ == 13; }
  bool isOverflow() const noexcept { return number_ == 6; }

 private:
  int32_t number_;
  std::string description_;
  std::string source_;
};

}  // namespace qx::automation
