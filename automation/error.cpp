#include "automation/error.h"

namespace qx::automation {

namespace {
std::string withDetail(std::string base, std::string_view detail) {
  if (!detail.empty()) {
    base += ": ";
    base += detail;
  }
  return base;
}
}  // namespace

Error::Error(int32_t number, std::string description, std::string source)
    : number_(number), description_(std::move(description)), source_(std::move(source)) {}

Error Error::invalidProcedureCall(std::string_view detail, std::string source) {
  return Error(5, withDetail("Invalid procedure call or argument", detail), std::move(source));
}
Error Error::overflow(std::string source) {
  return Error(6, "Overflow", std::move(source));
}
Error Error::outOfMemory(std::string source) {
  return Error(7, "Out of memory", std::move(source));
}
Error Error::subscriptOutOfRange(std::string_view detail, std::string source) {
  return Error(9, withDetail("Subscript out of range", detail), std::move(source));
}
Error Error::typeMismatch(std::string_view detail, std::string source) {
  return Error(13, withDetail("Type mismatch", detail), std::move(source));
}
Error Error::internal(std::string_view detail, std::string source) {
  return Error(51, withDetail("Internal error", detail), std::move(source));
}
Error Error::objectNotSet(std::string source) {
  return Error(91, "Object variable or With block variable not set", std::move(source));
}
Error Error::invalidUseOfNull(std::string source) {
  return Error(94, "Invalid use of Null", std::move(source));
}
Error Error::objectRequired(std::string_view detail, std::string source) {
  return Error(424, withDetail("Object required", detail), std::move(source));
}
Error Error::cannotCreate(std::string_view progId) {
  return Error(429, "ActiveX component can't create object: " + std::string(progId),
               std::string(progId));
}
Error Error::memberNotFound(std::string_view member, std::string source) {
  return Error(438, withDetail("Object doesn't support this property or method", member),
               std::move(source));
}
Error Error::argumentNotOptional(std::string_view detail, std::string source) {
  return Error(449, withDetail("Argument not optional", detail), std::move(source));
}
Error Error::wrongArgumentCount(std::string_view member, std::string source) {
  return Error(450, withDetail("Wrong number of arguments or invalid property assignment", member),
               std::move(source));
}
Error Error::notImplemented(std::string_view what, std::string source) {
  return Error(445, withDetail("Object doesn't support this action", what), std::move(source));
}

}  // namespace qx::automation
