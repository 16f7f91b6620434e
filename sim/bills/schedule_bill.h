// The bill engine of the repetitive schedule bill: it loads a work order's schedule from the
// database into the schedule form, creates the plug-in by identifier and hands it its event
// source, raises the bill's events as the user works (selection, keys, typing, tool bar, save,
// reload), and answers the operations the plug-in calls by position. After it displays data
// (opening, reloading, saving) it raises OnShowDataEnd.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "automation/events.h"
#include "sim/bills/event_source.h"
#include "sim/bills/schedule_form.h"
#include "sim/sim_host.h"

namespace qx::sim {

class ScheduleBill {
 public:
  // `ledgerBinding`: the form's own ledger binding object (null: the form has none).
  ScheduleBill(SimHost& host, automation::ObjectRef ledgerBinding);
  ~ScheduleBill();
  ScheduleBill(const ScheduleBill&) = delete;
  ScheduleBill& operator=(const ScheduleBill&) = delete;

  // Loads the work order into the form (header text boxes, schedule rows); fails with an
  // automation error when there is no such repetitive work order.
  void load(int32_t workOrderId);
  // Creates the plug-in by identifier and calls its Init with the event source; the failure of
  // either is returned, then the data display ends. A plug-in that could not be created leaves
  // the bill without one; one whose Init failed is kept and gets the bill's events.
  std::optional<automation::Error> attachPlugin(std::string_view progId);
  // Releases the plug-in (its settings are saved then) and the form's references to it.
  void close();

  // What the user does; each returns the failure the plug-in (or the bill) raised, if any,
  // and what the bill itself then did.
  struct Outcome {
    bool cancel = false;
    std::optional<automation::Error> failure;
    std::string action;  // what the bill did after the event; empty: nothing
    bool saved = false;
    bool discarded = false;  // unsaved changes were given up (answered No to saving them)
  };
  // The plug-in sees the click first; when it leaves it to the host, the host's own buttons act:
  // "new" adds a row, "delete" removes the selected row (asking first), "print" shows the bill
  // in the report viewer, "save" saves.
  Outcome clickTool(const std::string& key);
  Outcome select(int32_t row, int32_t col);
  // A key pressed in the grid: the plug-in sees it first; a key it handled (bCancel) is
  // swallowed, otherwise the bill acts on it (arrow keys move the selection, Delete empties
  // the selected cell unless it is locked).
  Outcome keyDown(int16_t keyCode);
  // The user types a text into a cell: the cell becomes the current one first (the move can be
  // refused), a locked cell takes nothing, otherwise the cell holds the text as typed. Only
  // that cell changes (a line name typed into ColLine leaves ColLineId as it was).
  Outcome typeInto(int32_t row, int32_t col, const std::string& text);
  // The bill's own row checks, then OnCheckData when they pass; a total over the work order's
  // quantity is told.
  Outcome checkData();
  // Saving: the bill's own checks (every failing row named in one message, nothing written;
  // a total over the work order's quantity asks yes/no, No by default), then OnCheckData; only
  // when both pass are the grid's rows written to the database (one unit), then the bill shows
  // the saved data again.
  Outcome save();
  // Before the bill closes (or another opens, or the session ends): with unsaved changes asks
  // "保存修改吗?" (yes/no/cancel, No by default). Yes saves, and a save that does not happen
  // keeps the bill open (cancel); No gives the changes up (discarded); Cancel keeps it open.
  Outcome confirmClose();
  // Loads the work order's data again and raises OnShowDataEnd.
  Outcome reload();

  const ScheduleForm& form() const noexcept { return form_; }
  const automation::Ref<EventSource>& events() const noexcept { return events_; }
  const automation::ObjectRef& plugin() const noexcept { return plugin_; }
  int32_t workOrderId() const noexcept { return workOrderId_; }
  bool changed() const noexcept { return changed_; }
  bool detailShown() const noexcept { return detailShown_; }
  double totalQty() const noexcept { return totalQty_; }

  // The events raised so far, by name, in order (the workbench shows what each action raised).
  const std::vector<std::string>& raisedEvents() const noexcept { return raised_; }

  // The form's layout and the tool bar's states, as the workbench prints them.
  std::string layoutText() const;

 private:
  Variant operation(int position, automation::Args args);
  void renumber();
  void sumTotals();
  // The header's undecomposed quantity after the user changed the rows.
  void refreshUndecomposed();
  // The bill's own checks; false when they stop the save (or check), told in `o`.
  bool ownChecks(Outcome& o, bool saving);
  // The host's own tool bar buttons, after the plug-in left the click to the host.
  void hostTool(const std::string& key, Outcome& o);
  int32_t message(const std::string& prompt, int32_t style);
  // A text of the bill engine in the login's language, "{1}" filled in.
  std::string said(const std::string& source, const std::vector<std::string>& args = {}) const;
  Outcome raise(std::string_view event, std::vector<automation::Arg> args, Variant* cancel);
  // The user changed a cell: the bill is changed and the engine's cell event is raised.
  Outcome cellEdited(int32_t row, int32_t col);
  Outcome hostKey(int16_t keyCode);

  // The host's own layout on a resize: the frame below the ledger stays at the bottom.
  void hostLayout();

  SimHost& host_;
  ScheduleForm form_;
  automation::Ref<automation::FunctionSink> hostSink_;
  automation::EventConnection hostResize_;
  automation::Ref<EventSource> events_;
  automation::ObjectRef plugin_;
  int32_t workOrderId_ = 0;
  int32_t status_ = 0;
  double orderQty_ = 0;  // the work order's quantity in its unit
  bool changed_ = false;
  bool detailShown_ = false;
  double totalQty_ = 0;
  std::optional<automation::Error> selectFailure_;  // of the selection event being raised
  // Of OnShowDataEnd raised by a reload the plug-in asked for; reported with the user's action.
  std::optional<automation::Error> displayFailure_;
  std::vector<std::string> raised_;
};

}  // namespace qx::sim
