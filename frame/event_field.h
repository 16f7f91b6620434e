// Subscription of the plug-in classes: their event fields, the check of Init's event source and
// the argument check of event handlers.
#pragma once

#include <span>
#include <string>

#include "automation/event_field.h"

namespace qx::frame {

using automation::Args;
using automation::DispId;
using automation::ObjectRef;

// The arguments an event handler reads; fails with 449 naming the event when some are missing.
void expectArgs(Args args, size_t n, std::string_view eventName);

// Plug-in fields holding event sources (m_oEvent, m_frmRep, m_oSplilter).
template <class Self>
using EventField = automation::EventField<Self>;

// The event source given to Init, checked against the host interface the class expects:
// Empty and Nothing give null (unsubscribed); an object of another interface or a non-object
// is a type mismatch (13).
ObjectRef takeEventSource(const automation::Variant& oEvent, std::string_view interfaceName,
                          std::string_view className);

}  // namespace qx::frame
