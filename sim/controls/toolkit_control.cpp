#include "sim/controls/toolkit_control.h"

#include <algorithm>

namespace qx::sim {

void ZOrderList::add(const std::string& name) {
  remove(name);
  order_.push_back(name);
}

void ZOrderList::remove(const std::string& name) {
  order_.erase(std::remove(order_.begin(), order_.end(), name), order_.end());
}

void ZOrderList::toFront(const std::string& name) {
  add(name);
}

void ZOrderList::toBack(const std::string& name) {
  remove(name);
  order_.insert(order_.begin(), name);
}

ControlState::~ControlState() {
  if (zOrder_) zOrder_->remove(name_);
}

void ControlState::joinZOrder(std::shared_ptr<ZOrderList> list) {
  if (zOrder_) zOrder_->remove(name_);
  zOrder_ = std::move(list);
  if (zOrder_) zOrder_->add(name_);
}

void ControlState::zOrder(int32_t position) {
  if (position != kZOrderFront && position != kZOrderBack) {
    throw automation::Error(380, "Invalid property value: ZOrder " + std::to_string(position),
                            name_);
  }
  zOrderCalls_.push_back(position);
  if (!zOrder_) return;
  if (position == kZOrderFront) {
    zOrder_->toFront(name_);
  } else {
    zOrder_->toBack(name_);
  }
}

void ControlState::move(Args a) {
  if (a.empty() || a.size() > 4) throw automation::Error::wrongArgumentCount("Move", name_);
  double* parts[] = {&left, &top, &width, &height};
  double next[4] = {left, top, width, height};
  for (size_t i = 0; i < a.size(); ++i) {
    if (!a[i].get().isEmpty()) next[i] = a[i].get().toDouble();
  }
  if (next[2] < 0 || next[3] < 0) {
    throw automation::Error(380, "Invalid property value: a negative size", name_);
  }
  for (size_t i = 0; i < 4; ++i) *parts[i] = next[i];
}

}  // namespace qx::sim
