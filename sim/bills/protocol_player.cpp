#include "sim/bills/protocol_player.h"

#include <algorithm>

#include "automation/host_vector.h"
#include "host/event_interfaces.h"
#include "host/prog_ids.h"
#include "sim/db/sqlite_db.h"

namespace qx::sim {

using automation::Arg;
using automation::Error;
using automation::ObjectRef;
using automation::Variant;

namespace {

// Each op's name and number of parameter bytes, in the order of ProtocolOp.
struct OpInfo {
  const char* name;
  size_t params;
};
constexpr OpInfo kOps[] = {{"select", 2},
                           {"key", 3},
                           {"type", 3},
                           {"save", 0},
                           {"reload", 0},
                           {"click", 1},
                           {"resize", 2},
                           {"drag", 1},
                           {"answer", 1},
                           {"raise", 6},
                           {"attach", 0},
                           {"create", 0},
                           {"init held", 0},
                           {"init again", 0},
                           {"init Nothing", 0},
                           {"init wrong", 0},
                           {"release", 0},
                           {"resource attach", 0},
                           {"resource init Nothing", 0},
                           {"resource init wrong", 0},
                           {"resource release", 0},
                           {"resource columns", 0},
                           {"resource component", 1},
                           {"resource caption", 0},
                           {"resource save", 1},
                           {"resource remove", 1},
                           {"resource raise", 4},
                           {"fault", 1},
                           {"reenter", 0}};
static_assert(std::size(kOps) == static_cast<size_t>(ProtocolOp::Count));

constexpr int16_t kKeys[] = {118, 13, 37, 38, 39, 40, 46, 117};
constexpr const char* kTypedColumns[] = {"ColLine",     "ColLineId", "ColQty",
                                         "ColStatusId", "ColCancel", "ColSuspend"};
constexpr const char* kTexts[] = {"L-03", "1003", "abc",         "",    "Y", "y",
                                  "0",    "-1",   "99999999999", "1001"};
constexpr const char* kTools[] = {"showability",    "abilityOption", "wizard", "detailicmo",
                                  "refreshability", "viewload",      "close"};
struct Answer {
  const char* kind;
  std::vector<std::string> words;
};
const Answer kAnswers[] = {
    {"message", {"1"}},        {"message", {"2"}},   {"line", {"L-01"}},
    {"line", {"L-02"}},        {"line", {"cancel"}}, {"options", {"ok", "FSchedule=1"}},
    {"options", {"cancel"}},   {"options", {"ok"}},  {"decompose", {"accept"}},
    {"decompose", {"cancel"}},
};
constexpr const char* kComponents[] = {"QxMResource.ResourceList", "QxMResource.ResourceAction",
                                       "qxmresource.resourcelist"};
constexpr int32_t kResources[] = {1001, 1009, -1};

// A value of any type a host may pass; below 128 the parameter's own kind, else an odd one.
Variant argument(uint8_t pick, host::ParamType type) {
  if (pick < 128) {
    switch (type) {
      case host::ParamType::Flag:
        return Variant(false);
      case host::ParamType::String:
        return Variant("QxMResource.ResourceList");
      case host::ParamType::Long:
      case host::ParamType::Integer:
        return Variant(int32_t{2 + pick % 3});
      case host::ParamType::Object:
      case host::ParamType::Any:
        return Variant::nothing();
    }
  }
  switch (pick % 9) {
    case 0:
      return Variant();
    case 1:
      return Variant::null();
    case 2:
      return Variant::nothing();
    case 3:
      return Variant("abc");
    case 4:
      return Variant(1e300);
    case 5:
      return Variant(int32_t{-1});
    case 6:
      return Variant(true);
    case 7:
      return Variant(int16_t{118});
    default:
      return Variant(automation::HostVector::create());  // an object of another kind
  }
}

// An event's arguments from a step's picks, one per parameter.
std::vector<Variant> argumentsFor(const host::EventDecl& decl, const ProtocolStep& s) {
  std::vector<Variant> values;
  for (size_t i = 0; i < decl.params.size(); ++i) {
    values.push_back(argument(s.p[1 + i % 5], decl.params[i].type));
  }
  return values;
}

// Raises the event with `values`, by reference where the event declares it.
void raiseWith(EventSource& source, const host::EventDecl& decl, std::vector<Variant>& values) {
  std::vector<Arg> args;
  for (size_t i = 0; i < values.size(); ++i) {
    args.push_back(decl.params[i].byRef ? Arg::byRef(values[i]) : Arg(values[i]));
  }
  source.raiseUnchecked(decl.id, automation::Args(args));
}

bool writes(ProtocolOp op) {
  return op == ProtocolOp::Save || op == ProtocolOp::ResSave || op == ProtocolOp::ResRemove;
}

}  // namespace

ProtocolStep protocolStep(ProtocolOp op, std::initializer_list<uint8_t> params,
                          std::optional<ProtocolStep> inner) {
  ProtocolStep s;
  s.op = op;
  size_t i = 0;
  for (uint8_t v : params) s.p[i++] = v;
  if (inner) s.inner = std::make_shared<ProtocolStep>(std::move(*inner));
  return s;
}

std::vector<ProtocolStep> contractSteps() {
  using Op = ProtocolOp;
  auto step = [](Op op, std::initializer_list<uint8_t> p = {}) { return protocolStep(op, p); };
  auto within = [](Op inner, std::initializer_list<uint8_t> p = {}) {
    return protocolStep(Op::Reenter, {}, protocolStep(inner, p));
  };
  const auto qty = static_cast<uint8_t>(scheduleColumnIndex("ColQty"));
  std::vector<ProtocolStep> b = {
      step(Op::Select, {2, 1}),
      step(Op::Answer, {2}),
      step(Op::Key, {0, 1, 1}),  // F7 in row 3's line cell, the browser answers L-01
      step(Op::Key, {1}),
      step(Op::Type, {3, 0, 0}),  // row 4: a line that cannot make the item
      step(Op::Type, {3, 1, 1}),
      within(Op::Select, {3, 1}),  // a move while the refusal's message box is open
      step(Op::Select, {2, qty}),
      step(Op::Type, {3, 3, 2}),  // a status that is no number
      step(Op::Save),
      step(Op::Type, {3, 4, 5}),  // "y" does not exempt a row
      step(Op::Save),
      step(Op::Reload),
      step(Op::Answer, {5}),
      step(Op::Answer, {8}),
  };
  for (uint8_t t = 0; t < std::size(kTools); ++t) b.push_back(step(Op::Click, {t}));
  b.push_back(within(Op::RaiseBill, {8, 200, 201}));
  b.push_back(step(Op::Answer, {8}));
  b.push_back(step(Op::Click, {2}));  // the wizard's dialog, a selection event inside it
  b.push_back(step(Op::Resize, {120, 100}));
  b.push_back(step(Op::Drag, {60}));
  b.push_back(step(Op::Drag, {250}));
  // Each event with arguments of its own kinds, then with each odd value in every position.
  for (uint8_t e = 0; e < host::billEvents().size(); ++e) {
    b.push_back(step(Op::RaiseBill, {e, 0, 1, 2, 3, 4}));
    for (uint8_t odd = 128; odd < 137; ++odd) {
      b.push_back(step(Op::RaiseBill, {e, odd, odd, odd, odd, odd}));
    }
  }
  for (uint8_t e = 0; e < host::masterDataEvents().size(); ++e) {
    b.push_back(step(Op::RaiseResource, {e, 0, 1, 2}));
    for (uint8_t odd = 128; odd < 137; ++odd) {
      b.push_back(step(Op::RaiseResource, {e, odd, odd, odd}));
    }
  }
  b.push_back(step(Op::ResColumns));
  b.push_back(step(Op::ResCaption));
  for (uint8_t k = 0; k < 4; ++k) {
    for (Op op : {Op::ResComponent, Op::ResSave, Op::ResRemove}) b.push_back(step(op, {k}));
  }
  // The plug-ins' life changed from inside their own dialogs, then by the host.
  b.push_back(within(Op::Attach));
  b.push_back(step(Op::Answer, {8}));
  b.push_back(step(Op::Click, {2}));
  b.push_back(within(Op::Release));
  b.push_back(step(Op::Answer, {2}));
  b.push_back(step(Op::Key, {0, 1, 1}));
  for (Op op : {Op::Attach, Op::InitAgain, Op::Release, Op::ResRelease}) b.push_back(step(op));
  return b;
}

std::vector<ProtocolStep> decodeSteps(std::span<const uint8_t> bytes, size_t maxSteps) {
  size_t at = 0;
  auto next = [&]() -> uint8_t { return at < bytes.size() ? bytes[at++] : 0; };
  auto one = [&]() {
    ProtocolStep s;
    s.op = static_cast<ProtocolOp>(next() % static_cast<uint8_t>(ProtocolOp::Count));
    for (size_t i = 0; i < kOps[static_cast<size_t>(s.op)].params; ++i) s.p[i] = next();
    return s;
  };
  std::vector<ProtocolStep> steps;
  while (at < bytes.size() && steps.size() < maxSteps) {
    ProtocolStep s = one();
    if (s.op == ProtocolOp::Reenter) {
      // The step that follows is the one raised from inside the dialog; a nested step writes
      // nothing and arms nothing.
      auto inner = std::make_shared<ProtocolStep>(one());
      if (writes(inner->op) || inner->op == ProtocolOp::Reenter) inner->op = ProtocolOp::Select;
      s.inner = std::move(inner);
    }
    steps.push_back(std::move(s));
  }
  return steps;
}

std::string describeStep(const ProtocolStep& s) {
  std::string r = kOps[static_cast<size_t>(s.op)].name;
  for (size_t i = 0; i < kOps[static_cast<size_t>(s.op)].params; ++i)
    r += " " + std::to_string(s.p[i]);
  if (s.inner) r += " [" + describeStep(*s.inner) + "]";
  return r;
}

ProtocolPlayer::ProtocolPlayer(SimHost& host, std::function<ObjectRef()> newLedgerBinding)
    : host_(host), newLedgerBinding_(std::move(newLedgerBinding)) {}

ProtocolPlayer::~ProtocolPlayer() {
  close();
}

void ProtocolPlayer::open(int32_t workOrder) {
  schedule_ = std::make_unique<ScheduleBill>(host_, newLedgerBinding_());
  schedule_->load(workOrder);
  resource_ = automation::makeObject<MasterDataBill>(host_.databaseShared());
  host_.platform().dialogs().onShown([this](const ShownDialog&) {
    if (!reentry_ || depth_ > 0) return;
    std::shared_ptr<ProtocolStep> inner = std::move(reentry_);
    ++depth_;
    ProtocolResult r = playOne(*inner);  // what the nested raise returned stays with the host
    --depth_;
    if (r.failure) nested_.push_back(*r.failure);
  });
}

void ProtocolPlayer::close() {
  host_.platform().dialogs().onShown(nullptr);
  reentry_.reset();
  held_.reset();
  resourcePlugin_.reset();
  resource_.reset();
  schedule_.reset();
}

size_t ProtocolPlayer::databaseDigest() const {
  SqliteDb db = SqliteDb::open(host_.database().file());
  std::string rows;
  for (const auto& [table, text] : dumpTables(db)) rows += table + "\n" + text;
  return std::hash<std::string>()(rows);
}

ProtocolResult ProtocolPlayer::play(const ProtocolStep& step) {
  nested_.clear();
  size_t before = databaseDigest();
  ProtocolResult r = playOne(step);
  r.nested = std::move(nested_);
  nested_.clear();
  r.databaseChanged = databaseDigest() != before;
  return r;
}

ProtocolResult ProtocolPlayer::scheduleOutcome(ScheduleBill::Outcome o) const {
  ProtocolResult r;
  r.failure = std::move(o.failure);
  r.cancel = o.cancel;
  r.wrote = o.saved;
  return r;
}

ProtocolResult ProtocolPlayer::initPlugin(const ObjectRef& plugin, const Variant& source) {
  ProtocolResult r;
  if (plugin) plugin->call("Init", source);
  return r;
}

ProtocolResult ProtocolPlayer::raiseBill(const ProtocolStep& s) {
  auto events = host::billEvents();
  const host::EventDecl& decl = events[s.p[0] % events.size()];
  std::vector<Variant> values = argumentsFor(decl, s);
  // OnBarClick's button: a real one of the tool bar when the pick is the parameter's own kind.
  if (decl.id == host::bill_event::kOnBarClick && s.p[1] < 128) {
    values[0] = Variant(ObjectRef(schedule_->form().menuBar->find(kTools[s.p[1] % 7])));
  }
  raiseWith(*schedule_->events(), decl, values);
  return {};
}

ProtocolResult ProtocolPlayer::raiseResource(const ProtocolStep& s) {
  auto events = host::masterDataEvents();
  const host::EventDecl& decl = events[s.p[0] % events.size()];
  std::vector<Variant> values = argumentsFor(decl, s);
  raiseWith(*resource_->events(), decl, values);
  return {};
}

ProtocolResult ProtocolPlayer::playOne(const ProtocolStep& s) {
  ProtocolResult r;
  ScheduleBill& bill = *schedule_;
  const int32_t rows = bill.form().grid->rows(), cols = bill.form().grid->cols();
  auto row = [&](uint8_t p) { return static_cast<int32_t>(p % (rows + 2)); };
  auto billPlugin = [&] { return bill.plugin() ? bill.plugin() : held_; };
  try {
    switch (s.op) {
      case ProtocolOp::Select:
        return scheduleOutcome(bill.select(row(s.p[0]), static_cast<int32_t>(s.p[1] % (cols + 2))));
      case ProtocolOp::Key:
        if (s.p[1] & 1) {
          (void)bill.select(2 + s.p[2] % std::max(rows - 1, 1), scheduleColumnIndex("ColLine"));
        }
        return scheduleOutcome(bill.keyDown(kKeys[s.p[0] % std::size(kKeys)]));
      case ProtocolOp::Type:
        return scheduleOutcome(
            bill.typeInto(1 + s.p[0] % (rows + 1),
                          scheduleColumnIndex(kTypedColumns[s.p[1] % std::size(kTypedColumns)]),
                          kTexts[s.p[2] % std::size(kTexts)]));
      case ProtocolOp::Save: {
        // The engine carries out a save the check did not refuse.
        r = scheduleOutcome(bill.save());
        r.wrote = r.wrote || (!r.failure && !r.cancel);  // saved, then the display failed
        return r;
      }
      case ProtocolOp::Reload:
        return scheduleOutcome(bill.reload());
      case ProtocolOp::Click:
        return scheduleOutcome(bill.clickTool(kTools[s.p[0] % std::size(kTools)]));
      case ProtocolOp::Resize:
        bill.form().form->resize(3000 + 100.0 * s.p[0], 2000 + 60.0 * s.p[1]);
        return r;
      case ProtocolOp::Drag: {
        const ScheduleForm& f = bill.form();
        double top = f.picSplit->top, to = top + 20.0 * (s.p[0] - 128);
        f.picSplit->mouseDown(100, 30);
        f.form->mouseMove(100, to);
        f.form->mouseUp(100, to);
        return r;
      }
      case ProtocolOp::Answer: {
        const Answer& a = kAnswers[s.p[0] % std::size(kAnswers)];
        host_.dialogs().queue(a.kind, a.words);
        return r;
      }
      case ProtocolOp::RaiseBill:
        return raiseBill(s);
      case ProtocolOp::Attach:
        r.failure = bill.attachPlugin(host::prog_id::kEIRepScheduler);
        return r;
      case ProtocolOp::CreateOnly:
        held_ = host_.platform().createObject(host::prog_id::kEIRepScheduler);
        return r;
      case ProtocolOp::InitHeld:
        if (!held_) held_ = host_.platform().createObject(host::prog_id::kEIRepScheduler);
        return initPlugin(held_, Variant(ObjectRef(bill.events())));
      case ProtocolOp::InitAgain:
        return initPlugin(billPlugin(), Variant(ObjectRef(bill.events())));
      case ProtocolOp::InitNothing:
        return initPlugin(billPlugin(), Variant::nothing());
      case ProtocolOp::InitWrong:
        return initPlugin(billPlugin(), Variant(ObjectRef(resource_->events())));
      case ProtocolOp::Release:
        bill.close();
        held_.reset();
        return r;
      case ProtocolOp::ResAttach:
        // A plug-in whose Init fails stays with the bill.
        resourcePlugin_ = host_.platform().createObject(host::prog_id::kEIResource);
        return initPlugin(resourcePlugin_, Variant(ObjectRef(resource_->events())));
      case ProtocolOp::ResInitNothing:
        return initPlugin(resourcePlugin_, Variant::nothing());
      case ProtocolOp::ResInitWrong:
        return initPlugin(resourcePlugin_, Variant(ObjectRef(bill.events())));
      case ProtocolOp::ResRelease:
        resourcePlugin_.reset();
        return r;
      case ProtocolOp::ResColumns:
      case ProtocolOp::ResComponent:
      case ProtocolOp::ResCaption:
      case ProtocolOp::ResSave:
      case ProtocolOp::ResRemove: {
        MasterDataBill::Outcome o;
        if (s.op == ProtocolOp::ResColumns) o = resource_->columns();
        if (s.op == ProtocolOp::ResComponent) {
          o = resource_->component(kComponents[s.p[0] % std::size(kComponents)]);
        }
        if (s.op == ProtocolOp::ResCaption) o = resource_->caption();
        if (s.op == ProtocolOp::ResSave) {
          std::vector<MasterDataBill::Field> fields[] = {
              {{"FInterID", Variant(1009)},
               {"FNumber", Variant("L-09")},
               {"FTypeName", Variant(11063)},
               {"FEIProductivity", Variant(55.0)}},
              {{"FNumber", Variant("MD-02")},
               {"FTypeName", Variant(11064)},
               {"FEIProductivity", Variant(12.5)}},
              {{"FNumber", Variant("X-1")}, {"FTypeName", Variant("abc")}},
              {{"FEIProductivity", Variant::null()}},
          };
          o = resource_->save(fields[s.p[0] % std::size(fields)]);
        }
        if (s.op == ProtocolOp::ResRemove) {
          o = resource_->remove(kResources[s.p[0] % std::size(kResources)]);
        }
        r.failure = o.failure;
        for (const auto& [name, v] : o.byRef) {
          if (name == "bCancel" && v.type() == automation::VarType::Boolean) r.cancel = v.toBool();
        }
        // A save or delete the engine carried out (neither refused, failed nor kept).
        r.wrote = !o.failure && (s.op == ProtocolOp::ResSave || s.op == ProtocolOp::ResRemove) &&
                  o.stored;
        return r;
      }
      case ProtocolOp::RaiseResource:
        return raiseResource(s);
      case ProtocolOp::Fault:
        host_.faults().startCounting(s.p[0]);  // 0: only counts
        return r;
      case ProtocolOp::Reenter:
        reentry_ = s.inner;
        return r;
      case ProtocolOp::Count:
        break;
    }
  } catch (const Error& e) {
    r.failure = e;
  }
  return r;
}

}  // namespace qx::sim
