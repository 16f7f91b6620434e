// Workbench commands of the form widgets: substitute forms with picture boxes and ledger grids,
// the component's splitter bar and ledger binding, mouse input, and the ledger as a table.
#include <ostream>
#include <sstream>

#include "automation/conversions.h"
#include "automation/host_dictionary.h"
#include "automation/host_vector.h"
#include "automation/recordset.h"
#include "automation/text.h"
#include "host/toolkit.h"
#include "sim/controls/form.h"
#include "sim/controls/ledger/ledger_grid.h"
#include "sim/controls/picture_box.h"
#include "sim/controls/text_table.h"
#include "tools/qxhost/workbench.h"
#include "widgets/ledger_data.h"
#include "widgets/splitter.h"

namespace qx::qxhost {

namespace {

using automation::Ref;
using automation::refCast;

void need(const Line& l, size_t n) {
  if (l.size() < n) throw UsageError{"missing arguments"};
}

void needExactly(const Line& l, size_t n) {
  expectWords(l, n, n);
}

double number(const Line& l, size_t i) {
  need(l, i + 1);
  auto n = automation::parseNumber(l.words[i]);
  if (!n) throw UsageError{"not a number: " + l.words[i]};
  return *n;
}

std::string bare(const std::string& name) {
  return !name.empty() && name[0] == '$' ? name.substr(1) : name;
}

template <class T>
Ref<T> objectAs(Workbench& w, const std::string& name, const char* what) {
  auto o = refCast<T>(w.object(name));
  if (!o) throw UsageError{name + " is not a " + what};
  return o;
}

std::string placement(const sim::ControlState& c) {
  std::ostringstream s;
  s << c.controlName() << ": left " << c.left << ", top " << c.top << ", width " << c.width
    << ", height " << c.height << (c.visible ? "" : ", hidden");
  return s.str();
}

void printBar(Workbench& w, const sim::PictureBox& bar) {
  w.out() << placement(bar) << "; colour " << sim::colourName(bar.backColor) << ", border "
          << bar.borderStyle << ", pointer " << bar.mousePointer << "\n";
}

void cmdForm(Workbench& w, const Line& l) {
  expectWords(l, 2, 4);
  auto form = sim::Form::create(bare(l.words[1]), &w.host().platform());
  form->scaleWidth = l.size() > 2 ? number(l, 2) : 12000;
  form->scaleHeight = l.size() > 3 ? number(l, 3) : 9000;
  w.setObject(bare(l.words[1]), ObjectRef(form));
  w.out() << "$" << bare(l.words[1]) << " = form " << form->scaleWidth << " x " << form->scaleHeight
          << "\n";
}

// picture|ledgergrid <form> <name> <left> <top> <width> <height>
template <class Control>
void addControl(Workbench& w, const Line& l, const char* kind) {
  needExactly(l, 7);
  auto form = objectAs<sim::Form>(w, l.words[1], "form");
  std::string name = bare(l.words[2]);
  auto control = Control::create(name);
  control->left = number(l, 3);
  control->top = number(l, 4);
  control->width = number(l, 5);
  control->height = number(l, 6);
  form->addControl(name, ObjectRef(control));
  w.setObject(name, ObjectRef(control));
  w.out() << "$" << name << " = " << kind << " on " << form->typeName() << " ("
          << placement(*control) << ")\n";
}

void cmdWidget(Workbench& w, const Line& l) {
  needExactly(l, 3);
  std::string name = bare(l.words[1]);
  if (automation::equalsIgnoreCase(l.words[2], "cSplitter")) {
    w.setObject(name, ObjectRef(widgets::cSplitter::create()));
  } else if (automation::equalsIgnoreCase(l.words[2], "LedgerData")) {
    w.setObject(name, ObjectRef(widgets::LedgerData::create()));
  } else {
    throw UsageError{"a widget is cSplitter or LedgerData, not " + l.words[2]};
  }
  w.out() << "$" << name << " = " << l.words[2] << "\n";
}

// mouse down <picture> <x> <y> | mouse move|up <form> <x> <y>
void cmdMouse(Workbench& w, const Line& l) {
  needExactly(l, 5);
  std::string what = automation::asciiLower(l.words[1]);
  double x = number(l, 3), y = number(l, 4);
  if (what == "down") {
    objectAs<sim::PictureBox>(w, l.words[2], "picture box")->mouseDown(x, y);
  } else if (what == "move") {
    objectAs<sim::Form>(w, l.words[2], "form")->mouseMove(x, y);
  } else if (what == "up") {
    objectAs<sim::Form>(w, l.words[2], "form")->mouseUp(x, y);
  } else {
    throw UsageError{"down, move or up expected, not " + l.words[1]};
  }
  w.out() << "mouse " << what << " at " << x << ", " << y << "\n";
}

// drag <bar> <form> x|y <grab> <position>...: presses on the bar at `grab` inside it, moves
// through the positions (form units) and releases at the last.
void cmdDrag(Workbench& w, const Line& l) {
  need(l, 6);
  auto bar = objectAs<sim::PictureBox>(w, l.words[1], "picture box");
  auto form = objectAs<sim::Form>(w, l.words[2], "form");
  bool vertical = automation::equalsIgnoreCase(l.words[3], "y");
  if (!vertical && !automation::equalsIgnoreCase(l.words[3], "x")) {
    throw UsageError{"x or y expected, not " + l.words[3]};
  }
  for (size_t i = 4; i < l.size(); ++i) number(l, i);  // every position read before the press
  double grab = number(l, 4);
  if (vertical) {
    bar->mouseDown(0, grab);
  } else {
    bar->mouseDown(grab, 0);
  }
  w.out() << "pressed: ";
  printBar(w, *bar);
  for (size_t i = 5; i < l.size(); ++i) {
    double p = number(l, i);
    bool last = i + 1 == l.size();
    if (last) {
      vertical ? form->mouseUp(0, p) : form->mouseUp(p, 0);
    } else {
      vertical ? form->mouseMove(0, p) : form->mouseMove(p, 0);
    }
    w.out() << (last ? "dropped at " : "moved to ") << p << ": ";
    printBar(w, *bar);
    w.out() << "  screen pointer " << w.host().platform().mousePointer() << "\n";
  }
  w.out() << form->typeName() << " has received " << form->resizeCount() << " resize message"
          << (form->resizeCount() == 1 ? "" : "s") << "\n";
}

void cmdBar(Workbench& w, const Line& l) {
  needExactly(l, 2);
  printBar(w, *objectAs<sim::PictureBox>(w, l.words[1], "picture box"));
}

// let <object> <property> <value>: a property assignment by name.
void cmdLet(Workbench& w, const Line& l) {
  needExactly(l, 4);
  ObjectRef o = w.object(l.words[1]);
  Variant v = w.parseValue(l, 3);
  if (v.isObject()) {
    o->putRef(l.words[2], v);
  } else {
    o->put(l.words[2], v);
  }
  // Some properties can only be written.
  Variant back;
  try {
    back = o->get(l.words[2]);
  } catch (const automation::Error&) {
    w.out() << l.words[2] << " set\n";
    return;
  }
  w.out() << l.words[2] << " = " << Workbench::formatValue(back) << "\n";
}

void cmdLedger(Workbench& w, const Line& l);

}  // namespace

void addWidgetCommands(Workbench& w) {
  w.addCommand({"form", "<name> [scale-width scale-height]",
                "creates a substitute form (twips) with a window for the resize message", cmdForm,
                "form frm 9000 6000"});
  w.addCommand(
      {"picture", "<form> <name> <left> <top> <width> <height>", "adds a picture box to a form",
       [](Workbench& wb, const Line& l) { addControl<sim::PictureBox>(wb, l, "picture box"); },
       "picture $frm pic 0 2400 9000 60"});
  w.addCommand(
      {"ledgergrid", "<form> <name> <left> <top> <width> <height>",
       "adds a ledger grid control to a form",
       [](Workbench& wb, const Line& l) { addControl<sim::LedgerGrid>(wb, l, "ledger grid"); },
       "ledgergrid $frm grid 0 3000 9000 3000"});
  w.addCommand({"widget", "<name> cSplitter|LedgerData",
                "creates the component's splitter bar or ledger binding", cmdWidget,
                "widget split cSplitter"});
  w.addCommand({"mouse", "down <picture> <x> <y> | move|up <form> <x> <y>",
                "raises a toolkit mouse event", cmdMouse,
                "mouse down $pic 4500 30\nmouse up $frm 4500 3000"});
  w.addCommand({"drag", "<bar> <form> x|y <grab> <position>...",
                "drags a bar: press at grab inside it, move, release at the last position", cmdDrag,
                "drag $pic $frm y 30 3000 3500"});
  w.addCommand({"bar", "<picture>", "prints a picture box's place and looks", cmdBar, "bar $pic"});
  w.addCommand({"let", "<object> <property> <value>",
                "assigns a property by name and prints it read back", cmdLet,
                "let split Orientation 1"});
  w.addCommand({"ledger", "show <grid> | demo",
                "prints a ledger grid control as a table, or runs the ledger demo", cmdLedger,
                "ledger demo\nledger show $grid"});
  w.addCommand({"splitter", "demo", "runs the splitter demo",
                [](Workbench& wb, const Line& l) {
                  needExactly(l, 2);
                  if (!automation::equalsIgnoreCase(l.words[1], "demo")) {
                    throw UsageError{"demo expected, not " + l.words[1]};
                  }
                  for (const char* line : {
                           "form frmDemo 9000 6000",
                           "picture $frmDemo picSplit 0 2400 9000 60",
                           "widget split cSplitter",
                           "call $split Initialise $picSplit $frmDemo",
                           "let $split Orientation 1",
                           "let $split BorderSize 900",
                           "bar $picSplit",
                           "drag $picSplit $frmDemo y 20 3000 5990 4100",
                           "# below the near margin: the bar lands at the margin",
                           "drag $picSplit $frmDemo y 20 100",
                           "release split",
                           "release picSplit",
                           "release frmDemo",
                       }) {
                    wb.out() << "> " << line << "\n";
                    wb.execute(line);
                  }
                },
                "splitter demo"});
}

namespace {

void cmdLedgerDemo(Workbench& w);

void cmdLedger(Workbench& w, const Line& l) {
  expectWords(l, 2, 3);
  if (automation::equalsIgnoreCase(l.words[1], "demo")) {
    needExactly(l, 2);
    return cmdLedgerDemo(w);
  }
  if (!automation::equalsIgnoreCase(l.words[1], "show")) {
    throw UsageError{"show or demo expected, not " + l.words[1]};
  }
  needExactly(l, 3);
  w.out() << objectAs<sim::LedgerGrid>(w, l.words[2], "ledger grid")->renderText();
}

// A column definition record as the schedule plug-in writes them.
Variant columnDef(const std::string& caption, const std::string& second, const std::string& type,
                  const std::string& field, int32_t merge) {
  auto d = automation::HostDictionary::create();
  d->set("FColCaption", Variant(caption));
  d->set("FHeadSecond", Variant(second));
  d->set("FColType", Variant(type));
  d->set("FColName", Variant(field));
  d->set("FVisible", Variant(int16_t{1}));
  d->set("FMergerType", Variant(merge));
  return Variant(d);
}

void cmdLedgerDemo(Workbench& w) {
  auto form = sim::Form::create("frmLedger", &w.host().platform());
  auto grid = sim::LedgerGrid::create("ldgAbility");
  form->addControl("ldgAbility", ObjectRef(grid));
  auto binding = widgets::LedgerData::create();
  binding->put("ldg", grid);

  // The capacity ledger's shape: four line columns, the measure, one column per date.
  auto header = automation::HostVector::create();
  header->add(columnDef("生产线+|+|+|", "代码", "1", "FLineNumber", 1));
  header->add(columnDef("", "名称", "1", "FLineName", 1));
  header->add(columnDef("", "所属工作中心", "1", "FWorkCenter", 1));
  header->add(columnDef("", "生产率", "2", "FProductivity", 1));
  header->add(columnDef("能力/负荷$", "", "1", "FTextAbility", 0));
  const char* dates[] = {"2024/03/04", "2024/03/05", "2024/03/06"};
  for (int j = 0; j < 3; ++j) {
    header->add(columnDef(std::string(dates[j]) + "$", "", "2", "F" + std::to_string(j + 1), 0));
  }
  auto rs = automation::Recordset::create();
  for (const char* f : {"FInterID", "FLineNumber", "FLineName", "FWorkCenter", "FTextAbility",
                        "FSumSort", "FQtyDecimal", "FProductivity", "F1", "F2", "F3"}) {
    rs->appendField({f});
  }
  rs->open();
  struct Measure {
    const char* text;
    int32_t sumSort;
    double values[3];
  };
  const Measure measures[] = {
      {"能力", 0, {16, 16, 8}},         {"负荷", 0, {12.5, 18, 0}},
      {"差异", 0, {3.5, -2, 8}},        {"差异率", 100, {21.875, -12.5, 100}},
      {"可排产量", 101, {350, 0, 800}}, {"累计可排产量", 102, {350, 350, 1150}}};
  for (const Measure& m : measures) {
    rs->appendRow({Variant(1001), Variant("L01"), Variant("一号装配线"), Variant("总装车间"),
                   Variant(m.text), Variant(m.sumSort), Variant(int16_t{2}), Variant(100.0),
                   Variant(m.values[0]), Variant(m.values[1]), Variant(m.values[2])});
  }
  binding->put("Header", header);
  binding->put("rs", rs);
  binding->call("Refresh");
  w.out() << "ledger binding: " << header->count() << " columns, " << rs->recordCount()
          << " records; the control asked for " << grid->texts().size() << " rows\n";
  w.out() << grid->renderText();
  w.out() << "row texts as the binding gave them:\n";
  for (size_t r = 0; r < grid->texts().size(); ++r) {
    w.out() << "  " << r + 1 << ": " << grid->texts()[r] << "\n";
  }
  binding->call("FreeMem");
}

}  // namespace

}  // namespace qx::qxhost
