#include "sim/controls/form.h"

#include "automation/text.h"
#include "host/platform.h"
#include "host/toolkit.h"

namespace qx::sim {

using automation::CallKind;
using automation::DispId;
using automation::Error;
using automation::ObjectRef;

namespace {
// Controls answer as members of the form from this id on.
constexpr DispId kFirstControlId = 0x10000;
}  // namespace

std::span<const automation::Member<Form>> Form::members() {
  static const automation::Member<Form> m[] = {
      {"Name", 1, nullptr, &Form::mName},
      {"Caption", 2, nullptr, &Form::mCaption, &Form::mPutCaption},
      {"ScaleWidth", 3, nullptr, &Form::mScaleWidth, &Form::mPutScaleWidth},
      {"ScaleHeight", 4, nullptr, &Form::mScaleHeight, &Form::mPutScaleHeight},
      {"hWnd", 5, nullptr, &Form::mHWnd},
      {"Controls", 6, nullptr, &Form::mControls},
  };
  return m;
}

Form::Form(std::string name, SimPlatform* platform)
    : name_(std::move(name)), platform_(platform), events_(std::string(host::kFormEvents)) {
  if (platform_) {
    hwnd_ = platform_->registerWindow([this](uint32_t message, intptr_t, intptr_t) -> intptr_t {
      if (message == host::kWmSize) raiseResize();
      return 0;
    });
  }
}

Form::~Form() {
  if (platform_) platform_->unregisterWindow(hwnd_);
}

DispId Form::idOf(std::string_view name) const {
  const Entry* e = find(name);
  if (!e) return Dispatch<Form>::idOf(name);  // fails with 438 for unknown names
  return kFirstControlId + static_cast<DispId>(e - controls_.data());
}

std::string Form::nameOf(DispId id) const {
  if (id >= kFirstControlId && static_cast<size_t>(id - kFirstControlId) < controls_.size()) {
    return controls_[id - kFirstControlId].name;
  }
  return Dispatch<Form>::nameOf(id);
}

automation::Variant Form::dispatch(DispId id, CallKind kind, automation::Args args) {
  if (id < kFirstControlId) return Dispatch<Form>::dispatch(id, kind, args);
  size_t index = static_cast<size_t>(id - kFirstControlId);
  if (index >= controls_.size() || (kind != CallKind::Get && kind != CallKind::Method)) {
    throw Error::memberNotFound("#" + std::to_string(id), typeName());
  }
  automation::requireArgs(args, 0, controls_[index].name);
  return Variant(controls_[index].control);
}

bool Form::supports(std::string_view interfaceName) const {
  return automation::equalsIgnoreCase(interfaceName, kTypeName) ||
         automation::equalsIgnoreCase(interfaceName, host::kFormEvents);
}

uint32_t Form::advise(std::string_view interfaceName, const ObjectRef& sink) {
  if (!automation::equalsIgnoreCase(interfaceName, host::kFormEvents)) {
    throw Error::notImplemented("events of " + std::string(interfaceName), typeName());
  }
  return events_.advise(sink);
}

void Form::unadvise(uint32_t cookie) {
  events_.unadvise(cookie);
}

const Form::Entry* Form::find(std::string_view name) const {
  for (const Entry& e : controls_) {
    if (automation::equalsIgnoreCase(e.name, name)) return &e;
  }
  return nullptr;
}

void Form::addControl(const std::string& name, ObjectRef control) {
  if (name.empty() || !control) throw Error::invalidProcedureCall("a control needs a name", name_);
  if (auto* state = dynamic_cast<ControlState*>(control.get())) state->joinZOrder(zOrder_);
  for (Entry& e : controls_) {
    if (automation::equalsIgnoreCase(e.name, name)) {
      e.control = std::move(control);
      return;
    }
  }
  controls_.push_back({name, std::move(control)});
}

ObjectRef Form::control(std::string_view name) const {
  const Entry* e = find(name);
  return e ? e->control : ObjectRef();
}

std::vector<std::string> Form::controlNames() const {
  std::vector<std::string> names;
  for (const Entry& e : controls_) names.push_back(e.name);
  return names;
}

void Form::resize(double width, double height) {
  scaleWidth = width;
  scaleHeight = height;
  raiseResize();
}

void Form::raiseResize() {
  ++resizeCount_;
  events_.fire(host::form_event::kResize);
}

void Form::mouseMove(double x, double y, int16_t button, int16_t shift) {
  events_.fire(host::form_event::kMouseMove, button, shift, x, y);
}

void Form::mouseUp(double x, double y, int16_t button, int16_t shift) {
  events_.fire(host::form_event::kMouseUp, button, shift, x, y);
}

Variant Form::mName(Args) {
  return Variant(name_);
}
Variant Form::mCaption(Args) {
  return Variant(caption);
}
void Form::mPutCaption(Args, const Variant& v) {
  caption = v.toString();
}
Variant Form::mScaleWidth(Args) {
  return Variant(scaleWidth);
}
void Form::mPutScaleWidth(Args, const Variant& v) {
  scaleWidth = v.toDouble();
}
Variant Form::mScaleHeight(Args) {
  return Variant(scaleHeight);
}
void Form::mPutScaleHeight(Args, const Variant& v) {
  scaleHeight = v.toDouble();
}
Variant Form::mHWnd(Args) {
  return Variant(static_cast<int32_t>(hwnd_));
}

Variant Form::mControls(Args a) {
  automation::requireArgs(a, 1, "Controls");
  std::string name = a[0].get().toString();
  if (const Entry* e = find(name)) return Variant(e->control);
  throw Error(730, "Control '" + name + "' not found", typeName());
}

}  // namespace qx::sim
