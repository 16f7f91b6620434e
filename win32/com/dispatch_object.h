// An automation object over any IDispatch: members by GetIDsOfNames, calls by Invoke with
// by-reference arguments, failures (EXCEPINFO or status) as automation errors, and host
// events through the object's connection points.
#pragma once

#include <ocidl.h>
#include <ole2.h>
#include <windows.h>

#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "automation/object.h"
#include "win32/com/com_ptr.h"

namespace qx::win32 {

class DispatchObject final : public automation::Object {
 public:
  explicit DispatchObject(ComPtr<IDispatch> d) noexcept : d_(std::move(d)) {}
  ~DispatchObject() override;

  const ComPtr<IDispatch>& comDispatch() const noexcept { return d_; }

  automation::DispId idOf(std::string_view name) const override;
  std::string nameOf(automation::DispId id) const override;
  std::string typeName() const override;
  // Host interfaces by QueryInterface for their interface id; other names by the type name.
  bool supports(std::string_view interfaceName) const override;
  uint32_t advise(std::string_view interfaceName, const automation::ObjectRef& sink) override;
  void unadvise(uint32_t cookie) override;

 protected:
  automation::Variant dispatch(automation::DispId id, automation::CallKind kind,
                               automation::Args args) override;

 private:
  ComPtr<ITypeInfo> typeInfo() const noexcept;

  ComPtr<IDispatch> d_;
  mutable std::unordered_map<std::string, automation::DispId> ids_;  // lower-case name -> id
  struct Connection {
    DWORD cookie;
    ComPtr<IConnectionPoint> point;
  };
  std::vector<Connection> connections_;
};

}  // namespace qx::win32
