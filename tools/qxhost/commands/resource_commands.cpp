// Workbench commands of the resource master-data bill: the host opens the bill with the
// component's EIResource plug-in and asks it what the bill engine asks when the user works.
#include <ostream>

#include "automation/conversions.h"
#include "automation/host_dictionary.h"
#include "automation/host_vector.h"
#include "automation/text.h"
#include "host/prog_ids.h"
#include "sim/bills/master_data_bill.h"
#include "tools/qxhost/login_language.h"
#include "tools/qxhost/workbench.h"

namespace qx::qxhost {

namespace {

using sim::MasterDataBill;

constexpr const char* kPlugin = "resource";
constexpr const char* kBill = "resourceBill";
constexpr const char* kEvents = "resourceEvents";

MasterDataBill& bill(Workbench& w) {
  if (!w.hasObject(kBill)) throw UsageError{"no resource bill is open (resource open)"};
  auto* b = dynamic_cast<MasterDataBill*>(w.object(kBill).get());
  if (!b) throw UsageError{"$" + std::string(kBill) + " is not a resource bill"};
  return *b;
}

// A message as the user reads it: each line of the text on its own line.
void printMessage(Workbench& w, const Variant& sMsg) {
  std::string text = sMsg.isString() ? *sMsg.stringIf() : std::string();
  if (text.empty()) return;
  w.out() << say(w, "  the bill shows:\n", "  单据显示:\n");
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find("\r\n", start);
    w.out() << "    | " << text.substr(start, end == std::string::npos ? end : end - start) << "\n";
    if (end == std::string::npos) break;
    start = end + 2;
  }
}

// Prints the by-reference arguments and the failure of an event, then what the engine did.
void printOutcome(Workbench& w, std::string_view event, const MasterDataBill::Outcome& o) {
  w.trace() << event << (o.failure ? " failed" : " returned") << "\n";
  for (const auto& [name, value] : o.byRef) {
    w.trace() << "  " << name << " = " << Workbench::formatValue(value) << "\n";
  }
  if (o.failure) {
    w.out() << "  ";
    w.printError(*o.failure);
  }
}

void open(Workbench& w, const Line& l) {
  sim::SimHost& host = w.host();
  std::filesystem::path library =
      l.size() > 2 ? std::filesystem::path(l.words[2]) : sim::SimHost::defaultComponentLibrary();
  if (host.components().classIdOf(host::prog_id::kEIResource).empty()) {
    int32_t hr = host.components().registerServer(library);
    w.out() << "registered " << library.filename().string() << (hr == 0 ? "" : " (failed)") << "\n";
  }
  // As the client does it: the plug-in by identifier, then Init with the engine's source.
  ObjectRef plugin = host.platform().createObject(host::prog_id::kEIResource);
  auto engine = automation::makeObject<MasterDataBill>(host.databaseShared(), host.textsShared());
  // A plug-in whose Init fails stays with the bill, as the client keeps it.
  w.setObject(kPlugin, plugin);
  w.setObject(kBill, ObjectRef(engine));
  w.setObject(kEvents, ObjectRef(engine->events()));
  plugin->call("Init", ObjectRef(engine->events()));
  w.trace() << "resource bill open: $" << kPlugin << " = " << host::prog_id::kEIResource << ", $"
            << kEvents << " = its MasterDataEvents source\n";
}

void columns(Workbench& w) {
  MasterDataBill::Outcome o = bill(w).columns();
  printOutcome(w, "OnGetTitleInfo", o);
  ObjectRef vector = o["vecData"].objectOrNull();
  auto* v = dynamic_cast<automation::HostVector*>(vector.get());
  if (!v) return;
  int n = 0;
  for (const Variant& item : v->items()) {
    auto* d = dynamic_cast<automation::HostDictionary*>(item.objectOrNull().get());
    if (!d) continue;
    w.out() << "  extra column " << ++n << ":\n";
    for (const auto& [key, value] : d->entries()) {
      w.out() << "    " << key << std::string(key.size() < 15 ? 15 - key.size() : 1, ' ')
              << Workbench::formatValue(value);
      // Integers already say so; the host reads the other types too.
      if (value.type() != automation::VarType::Integer) {
        w.out() << " (" << automation::varTypeName(value.type()) << ")";
      }
      w.out() << "\n";
    }
  }
}

void components(Workbench& w, const Line& l) {
  std::vector<std::string> ids;
  for (size_t i = 2; i < l.size(); ++i) ids.push_back(l.words[i]);
  if (ids.empty()) ids = {"QxMResource.ResourceList", "QxMResource.ResourceAction"};
  for (const std::string& id : ids) {
    MasterDataBill::Outcome o = bill(w).component(id);
    printOutcome(w, "OnGetMTSComponent " + id, o);
    // What the bill then uses in place of the host's own component.
    if (!w.verbose() && !o.failure)
      w.out() << "  " << id << " -> " << o["sProgID"].toString() << "\n";
  }
}

// FIELD=VALUE words; a value in quotes may hold spaces ("FName=\"two words\"" or FName= "...").
std::vector<MasterDataBill::Field> fieldEntries(Workbench& w, const Line& l, size_t from) {
  std::vector<MasterDataBill::Field> fields;
  for (size_t i = from; i < l.size(); ++i) {
    const std::string& word = l.words[i];
    size_t eq = word.find('=');
    if (l.quoted[i] || eq == std::string::npos || eq == 0) {
      throw UsageError{"field entries are written FIELD=VALUE, not " + word};
    }
    std::string name = word.substr(0, eq), value = word.substr(eq + 1);
    if (value.empty() && i + 1 < l.size() && l.quoted[i + 1]) {
      fields.emplace_back(name, Variant(l.words[++i]));
      continue;
    }
    if (!value.empty() && value[0] == '"') {
      std::string text = value.substr(1);
      while (text.empty() || text.back() != '"') {
        if (++i >= l.size()) throw UsageError{"unclosed quote in " + name};
        text += " " + l.words[i];
      }
      text.pop_back();
      fields.emplace_back(name, Variant(text));
      continue;
    }
    Line one;
    one.words = {value};
    one.quoted = {false};
    Variant v;
    try {
      v = w.parseValue(one, 0);
    } catch (const UsageError&) {
      v = Variant(value);  // a bare word is a text (L-09, abc)
    }
    fields.emplace_back(name, v);
  }
  return fields;
}

void save(Workbench& w, const Line& l) {
  std::vector<MasterDataBill::Field> fields = fieldEntries(w, l, 2);
  w.trace() << "field entries:";
  for (const auto& [name, value] : fields)
    w.trace() << " " << name << "=" << Workbench::formatValue(value);
  w.trace() << "\n";
  MasterDataBill::Outcome o = bill(w).save(fields);
  printOutcome(w, "OnCheckData", o);
  printMessage(w, o["sMsg"]);
  w.out() << "  " << o.action << "\n";
}

void remove(Workbench& w, const Line& l) {
  auto number = wholeNumber(l.words[2]);
  if (!number) throw UsageError{"the internal id is a whole number, not " + l.words[2]};
  Variant id(*number);
  MasterDataBill::Outcome o = bill(w).remove(id.toInt32());
  printOutcome(w, "OnCheckCanDel " + std::to_string(id.toInt32()), o);
  printMessage(w, o["sMsg"]);
  w.out() << "  " << o.action << "\n";
}

void close(Workbench& w) {
  bill(w);
  for (const char* name : {kPlugin, kEvents, kBill}) {
    if (w.hasObject(name)) w.release(name);
  }
  w.out() << say(w, "resource bill closed\n", "资源单据已关闭\n");
}

void cmdResource(Workbench& w, const Line& l) {
  if (l.size() < 2) throw UsageError{"missing what to do with the resource bill"};
  std::string what = automation::asciiLower(l.words[1]);
  if (what == "open") {
    expectWords(l, 2, 3);
    return open(w, l);
  }
  if (what == "components") return components(w, l);
  if (what == "save") {
    if (l.size() < 3) throw UsageError{"missing the field entries FIELD=VALUE"};
    return save(w, l);
  }
  if (what == "delete") {
    expectWords(l, 3, 3);
    return remove(w, l);
  }
  if (what != "columns" && what != "caption" && what != "close") {
    throw UsageError{"unknown resource command " + l.words[1]};
  }
  expectWords(l, 2, 2);
  if (what == "columns") return columns(w);
  if (what == "caption") return printOutcome(w, "OnGetECaption", bill(w).caption());
  return close(w);
}

}  // namespace

void addResourceCommands(Workbench& w) {
  w.addCommand({"resource",
                "open [library] | columns | components [progid...] | caption | save FIELD=VALUE... "
                "| delete <id> | close",
                "the resource master-data bill with the EIResource plug-in: open it, ask for the "
                "extra columns, the server components and the caption, save or delete a resource",
                cmdResource,
                "resource open\nresource columns\nresource save FNumber=L-09 FName=\"Line nine\" "
                "FTypeName=11063 FEIProductivity=55\nresource delete 1008\nresource close"});
}

}  // namespace qx::qxhost
