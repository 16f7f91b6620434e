// Widget fields that hold toolkit objects and so subscribe the widget to their events.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "automation/event_field.h"
#include "automation/variant.h"

namespace qx::widgets {

using automation::Args;
using automation::DispId;
using automation::ObjectRef;

// The object a field is given: Nothing and Empty clear the field; a non-object is an error
// (424), as assigning it to an object field would be.
inline ObjectRef objectForField(const automation::Variant& v) {
  if (v.isNothing()) return ObjectRef();
  return v.toObject();
}

// Widget fields holding toolkit objects (m_picSplitter, m_frmParent, m_ldg).
template <class Self>
using SourceField = automation::EventField<Self>;

}  // namespace qx::widgets
