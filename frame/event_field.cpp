#include "frame/event_field.h"

namespace qx::frame {

using automation::Error;

void expectArgs(Args args, size_t n, std::string_view eventName) {
  if (args.size() < n) {
    throw Error::argumentNotOptional(std::string(eventName) + " takes " + std::to_string(n) +
                                     " arguments, got " + std::to_string(args.size()));
  }
}

ObjectRef takeEventSource(const automation::Variant& oEvent, std::string_view interfaceName,
                          std::string_view className) {
  if (oEvent.isNothing()) return ObjectRef();
  const ObjectRef* o = oEvent.objectIf();
  if (!o) {
    throw Error::typeMismatch("Init expects a " + std::string(interfaceName) + " object, got " +
                                  automation::describe(oEvent),
                              std::string(className));
  }
  if (!(*o)->supports(interfaceName)) {
    throw Error::typeMismatch("the event source does not implement " + std::string(interfaceName),
                              std::string(className));
  }
  return *o;
}

}  // namespace qx::frame
