// Workbench commands of the host runtime: libraries, objects, event sources, events, faults.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <ostream>

#include "automation/conversions.h"
#include "automation/text.h"
#include "host/event_interfaces.h"
#include "sim/bills/event_source.h"
#include "tools/qxhost/session/command_line.h"
#include "tools/qxhost/workbench.h"

namespace qx::qxhost {

namespace {

using automation::Arg;
using automation::Error;

std::string hex(int32_t status) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%08X", static_cast<uint32_t>(status));
  return buf;
}

// Why a registration failed, when the host's home is the reason.
std::string why(Workbench& w) {
  std::string problem = homeProblem(w.host());
  return problem.empty() ? std::string() : " (" + problem + ")";
}

std::filesystem::path libraryArg(const Line& l, size_t i) {
  return i < l.size() ? std::filesystem::path(l.words[i]) : sim::SimHost::defaultComponentLibrary();
}

// Reads an event argument with the type its declaration asks for.
Variant eventArg(Workbench& w, const Line& l, size_t i, const host::EventParam& p) {
  Variant v = w.parseValue(l, i);
  switch (p.type) {
    case host::ParamType::Integer:
      return v.isNumber() ? Variant(v.toInt16()) : v;
    case host::ParamType::Long:
      return v.isNumber() ? Variant(v.toInt32()) : v;
    default:
      return v;
  }
}

void cmdRaise(Workbench& w, const Line& l) {
  expectWords(l, 3, SIZE_MAX);
  auto source = automation::refCast<sim::EventSource>(w.object(l.words[1]));
  if (!source) throw UsageError{l.words[1] + " is not an event source"};
  const host::EventDecl* decl = host::findEvent(source->interfaceName(), l.words[2]);
  if (!decl) {
    if (auto n = automation::parseNumber(l.words[2])) {
      decl = host::findEvent(source->interfaceName(), static_cast<automation::DispId>(*n));
    }
  }
  if (!decl) throw UsageError{"no event " + l.words[2] + " in " + source->interfaceName()};
  if (l.size() - 3 > decl->params.size()) {
    throw UsageError{std::string(decl->name) + " takes " + std::to_string(decl->params.size()) +
                     " arguments, not " + std::to_string(l.size() - 3)};
  }
  std::vector<Variant> values;
  for (size_t i = 3; i < l.size(); ++i) {
    size_t k = i - 3;
    values.push_back(k < decl->params.size() ? eventArg(w, l, i, decl->params[k])
                                             : w.parseValue(l, i));
  }
  std::vector<Arg> args;
  for (size_t k = 0; k < values.size(); ++k) {
    bool byRef = k < decl->params.size() && decl->params[k].byRef;
    args.push_back(byRef ? Arg::byRef(values[k]) : Arg(values[k]));
  }
  source->raise(decl->id, automation::Args(args));
  w.out() << decl->name << " returned\n";
  for (size_t k = 0; k < values.size() && k < decl->params.size(); ++k) {
    if (decl->params[k].byRef) {
      w.out() << "  " << decl->params[k].name << " = " << Workbench::formatValue(values[k]) << "\n";
    }
  }
}

void cmdCall(Workbench& w, const Line& l) {
  expectWords(l, 3, SIZE_MAX);
  ObjectRef o = w.object(l.words[1]);
  std::vector<Variant> values;
  for (size_t i = 3; i < l.size(); ++i) values.push_back(w.parseValue(l, i));
  std::vector<Arg> args;
  for (Variant& v : values) args.push_back(Arg::byRef(v));
  Variant r = o->invoke(o->idOf(l.words[2]), automation::CallKind::Method, automation::Args(args));
  w.out() << l.words[2] << " = " << Workbench::formatValue(r) << "\n";
}

// help: the commands in one list; help COMMAND: its usage, what it does and its examples.
void cmdHelp(Workbench& w, const Line& l) {
  expectWords(l, 1, 2);
  if (l.size() == 1) {
    size_t width = 0;
    for (const auto& c : w.commands()) width = std::max(width, c.name.size());
    for (const auto& c : w.commands()) {
      w.out() << "  " << c.name << std::string(width + 2 - c.name.size(), ' ') << c.help << "\n";
    }
    w.out() << "help COMMAND shows a command's arguments and examples\n";
    return;
  }
  const Workbench::Command* c = w.findCommand(l.words[1]);
  if (!c) {
    const Workbench::Command* near = w.nearestCommand(l.words[1]);
    throw UsageError{"no command \"" + l.words[1] + "\" (" +
                     (near ? "did you mean " + near->name + "? " : std::string()) +
                     "help alone lists the commands)"};
  }
  // Each alternative of the usage on a line of its own.
  std::string usage = c->usage;
  const char* lead = "usage: ";
  for (size_t at = 0; at <= usage.size();) {
    size_t end = usage.find(" | ", at);
    if (end == std::string::npos) end = usage.size();
    w.out() << lead << c->name << (end > at ? " " : "") << usage.substr(at, end - at) << "\n";
    lead = "       ";
    at = end + 3;
  }
  w.out() << "  " << c->help << "\n";
  if (!c->example.empty()) {
    w.out() << "example:\n";
    for (size_t at = 0; at < c->example.size();) {
      size_t end = c->example.find('\n', at);
      if (end == std::string::npos) end = c->example.size();
      w.out() << "  " << c->example.substr(at, end - at) << "\n";
      at = end + 1;
    }
  }
}

}  // namespace

void addCoreCommands(Workbench& w) {
  w.addCommand({"help", "[command]",
                "lists the commands; with a command, its arguments and examples", cmdHelp,
                "help schedule"});
  for (const char* name : {"quit", "exit"}) {
    w.addCommand({name, "", "ends the session (the rest of a script is not run)",
                  [](Workbench& wb, const Line& l) {
                    expectWords(l, 1, 1);
                    wb.stop();
                  },
                  name});
  }
  w.addCommand({"echo", "<text...>", "prints its words",
                [](Workbench& wb, const Line& l) {
                  for (size_t i = 1; i < l.size(); ++i)
                    wb.out() << (i > 1 ? " " : "") << l.words[i];
                  wb.out() << "\n";
                },
                "echo \"the work order has three rows\""});
  w.addCommand({"register", "[library]",
                "registers the component library in the host's registry (DllRegisterServer)",
                [](Workbench& wb, const Line& l) {
                  expectWords(l, 1, 2);
                  auto lib = libraryArg(l, 1);
                  int32_t hr = wb.host().components().registerServer(lib);
                  wb.out() << "DllRegisterServer " << lib.filename().string() << ": "
                           << (hr == 0 ? "registered" : "failed " + hex(hr) + why(wb)) << "\n";
                },
                "register"});
  w.addCommand({"unregister", "[library]", "removes the library's registration",
                [](Workbench& wb, const Line& l) {
                  expectWords(l, 1, 2);
                  auto lib = libraryArg(l, 1);
                  int32_t hr = wb.host().components().unregisterServer(lib);
                  wb.out() << "DllUnregisterServer " << lib.filename().string() << ": "
                           << (hr == 0 ? "unregistered" : "failed " + hex(hr) + why(wb)) << "\n";
                },
                "unregister"});
  w.addCommand({"can-unload", "[library]", "asks the library whether it may be unloaded",
                [](Workbench& wb, const Line& l) {
                  expectWords(l, 1, 2);
                  int32_t hr = wb.host().components().canUnloadNow(libraryArg(l, 1));
                  wb.out() << "DllCanUnloadNow: " << (hr == 0 ? "yes" : "no") << "\n";
                },
                "can-unload"});
  w.addCommand({"create", "<name> <progid>", "creates an object by programmatic identifier",
                [](Workbench& wb, const Line& l) {
                  expectWords(l, 3, 3);
                  wb.setObject(l.words[1], wb.host().platform().createObject(l.words[2]));
                  wb.out() << "$" << l.words[1] << " = " << l.words[2] << "\n";
                },
                "create res QxIndDepComponent.EIResource"});
  w.addCommand({"source", "<name> MasterDataEvents|BillEvents",
                "creates a substitute bill engine event source",
                [](Workbench& wb, const Line& l) {
                  expectWords(l, 3, 3);
                  if (host::eventsOf(l.words[2]).empty()) {
                    throw UsageError{"unknown interface " + l.words[2] +
                                     " (MasterDataEvents or BillEvents)"};
                  }
                  bool master = automation::equalsIgnoreCase(l.words[2], host::kMasterDataEvents);
                  wb.setObject(l.words[1],
                               ObjectRef(sim::EventSource::create(std::string(
                                   master ? host::kMasterDataEvents : host::kBillEvents))));
                  wb.out() << "$" << l.words[1] << " = event source " << l.words[2] << "\n";
                },
                "source engine MasterDataEvents"});
  w.addCommand({"init", "<plugin> <source|nothing>", "calls the plug-in's Init",
                [](Workbench& wb, const Line& l) {
                  expectWords(l, 3, 3);
                  ObjectRef p = wb.object(l.words[1]);
                  p->call("Init", wb.parseValue(l, 2));
                  wb.out() << "Init: ok\n";
                },
                "init res $engine"});
  w.addCommand(
      {"raise", "<source> <event> [args...]",
       "raises an event; by-reference arguments are printed afterwards", cmdRaise,
       "raise engine OnGetECaption \"\" false\nraise engine OnCheckCanDel 1008 \"\" false"});
  w.addCommand({"call", "<object> <member> [args...]",
                "calls a member by name and prints the result", cmdCall, "call res Init $engine"});
  w.addCommand({"release", "<name>", "drops the session's reference to an object",
                [](Workbench& wb, const Line& l) {
                  expectWords(l, 2, 2);
                  wb.release(l.words[1]);
                  wb.out() << "released $"
                           << (l.words[1][0] == '$' ? l.words[1].substr(1) : l.words[1]) << "\n";
                },
                "release res"});
  w.addCommand({"objects", "", "prints the number of live automation objects",
                [](Workbench& wb, const Line& l) {
                  expectWords(l, 1, 1);
                  wb.out() << "live objects: " << automation::Object::liveObjects() << "\n";
                },
                "objects"});
  w.addCommand({"fault", "<identifier> <member|(create)|*> [nth] | clear",
                "makes a host member fail on its nth call (0 = every call)",
                [](Workbench& wb, const Line& l) {
                  expectWords(l, 2, 4);
                  if (automation::equalsIgnoreCase(l.words[1], "clear")) {
                    expectWords(l, 2, 2);
                    wb.host().faults().clear();
                    wb.out() << "faults cleared\n";
                    return;
                  }
                  expectWords(l, 3, 4);
                  int nth = 1;
                  if (l.size() > 3) {
                    auto n = wholeNumber(l.words[3]);
                    if (!n || *n < 0 || *n > 1000000000) {
                      throw UsageError{"not a call number: " + l.words[3] +
                                       " (1 for the first call, 0 for every call)"};
                    }
                    nth = *n;
                  }
                  wb.host().faults().add(l.words[1], l.words[2], nth);
                  wb.out() << "fault: " << l.words[1] << "." << l.words[2] << " call " << nth
                           << "\n";
                },
                "fault QxEIAbility.AbilityLoad GetAbilityByRepICMO 1\nfault clear"});
}

}  // namespace qx::qxhost
