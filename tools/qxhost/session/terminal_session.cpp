#include "tools/qxhost/session/terminal_session.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>

#include "automation/conversions.h"
#include "scheduler/ei_rep_scheduler.h"
#include "services/login_props.h"
#include "sim/bills/schedule_bill.h"
#include "tools/qxhost/commands/ability_result.h"
#include "tools/qxhost/login_language.h"
#include "tools/qxhost/session/command_line.h"
#include "tools/qxhost/session/interrupt.h"
#include "tools/qxhost/session/terminal_dialogs.h"

namespace qx::qxhost {

namespace {

// The free hours of each line over the selected row's dates, when the capacity result is
// loaded (the capacity area shows a line's figures).
std::optional<TerminalDialogs::LineFigures> freeHours(Workbench& w) {
  if (!w.schedule) return std::nullopt;
  const sim::ScheduleForm& f = w.schedule->form();
  if (!f.ldgAbility || f.ldgAbility->texts().empty()) return std::nullopt;
  int32_t row = f.grid->selRow();
  if (row < 2 || row > f.grid->rows()) return std::nullopt;
  double from = 0, to = 0;
  try {
    from = f.grid->cell(row, sim::scheduleColumnIndex("ColBDate")).value.toDate().serial;
    to = f.grid->cell(row, sim::scheduleColumnIndex("ColEDate")).value.toDate().serial;
  } catch (const automation::Error&) {
    return std::nullopt;  // a row without its dates
  }
  // The loader asked as the plug-in asks it: the bill's work order, the saved options.
  Line l;
  l.words = {"ability", std::to_string(w.schedule->workOrderId())};
  std::string path = scheduler::settingsKeyPath(services::GetEdition(0));
  for (const char* key : {"FSchedule", "CalcRemainAbility", "FNoPlanICMO"}) {
    std::optional<Variant> v = w.host().registry().read(path, key);
    bool on = v && !v->isEmpty() && !v->isNull() && v->toDouble() != 0;
    l.words.push_back(std::string(key) + (on ? "=1" : "=0"));
  }
  l.quoted.assign(l.words.size(), false);
  automation::Ref<automation::Recordset> rs;
  try {
    rs = loadAbility(w, l, 1);
  } catch (const automation::Error&) {
    return std::nullopt;
  }
  if (!rs) return std::nullopt;
  TerminalDialogs::LineFigures figures;
  figures.caption = (chineseLogin(w) ? "空闲工时 " : "free hours ") +
                    automation::formatDate(automation::Date{from}) + ".." +
                    automation::formatDate(automation::Date{to});
  std::map<std::string, double> hours;
  size_t line = rs->column(Variant("FLineID")), date = rs->column(Variant("FDate")),
         diff = rs->column(Variant("FDiff"));
  for (rs->moveFirst(); !rs->eof(); rs->moveNext()) {
    double day = std::floor(rs->value(date).toDate().serial);
    if (day < from || day > to) continue;
    hours[rs->value(line).toString()] += std::max(rs->value(diff).toDouble(), 0.0);
  }
  for (const auto& [id, h] : hours) figures.byLineId[id] = automation::formatNumber(h, 2);
  return figures;
}

// Shows a command's output a screenful at a time.
void page(const std::string& text, const AnswerReader& ask, bool chinese) {
  size_t lines = 0;
  for (char c : text) lines += c == '\n' ? 1 : 0;
  size_t screen = screenful(terminalSize().second);
  size_t at = 0, shown = 0;
  while (at < text.size()) {
    if (shown > 0 && shown % screen == 0) {
      size_t rest = lines - shown;
      std::string answer;
      std::string prompt =
          chinese ? "-- 还有 " + std::to_string(rest) + " 行: 回车继续, q 停止 -- "
                  : "-- " + std::to_string(rest) + " more lines: Enter shows more, q stops -- ";
      if (!ask(prompt, answer) || answer == "q" || answer == "Q") {
        std::cout << (chinese ? "(未显示 " : "(") << rest
                  << (chinese ? " 行; export --csv 文件 ledger|report|ability <工单> 可导出全部)\n"
                              : " lines not shown; export --csv FILE ledger|report|ability <id> "
                                "writes them all)\n");
        return;
      }
    }
    size_t end = text.find('\n', at);
    end = end == std::string::npos ? text.size() : end + 1;
    std::cout << std::string_view(text).substr(at, end - at);
    at = end;
    ++shown;
  }
  std::cout.flush();
}

}  // namespace

size_t screenful(int height) {
  return static_cast<size_t>(std::max(height - 2, 5));
}

std::pair<int, int> terminalSize() {
  winsize size{};
  if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0 || size.ws_col == 0 || size.ws_row == 0) {
    return {80, 24};
  }
  return {size.ws_col, size.ws_row};
}

void startTerminalSession(Workbench& w, AnswerReader ask) {
  catchInterrupts();
  w.terminalWidth = terminalSize().first;
  // A fresh home is set up as an installer would: the component registered, once.
  sim::SimHost& host = w.host();
  std::error_code ec;
  if (!std::filesystem::exists(host.options().registryFile(), ec) && homeProblem(host).empty()) {
    if (host.components().registerServer(sim::SimHost::defaultComponentLibrary()) == 0) {
      std::cout << (chineseLogin(w) ? "qxhost: 首次使用此主目录, 已注册组件 "
                                    : "qxhost: first use of this home: registered the component ")
                << sim::SimHost::defaultComponentLibrary().filename().string() << "\n";
    }
  }
  auto dialogs = std::make_shared<TerminalDialogs>(
      std::cout,
      [ask](const std::string& prompt, std::string& answer) {
        std::cout.flush();
        return ask(prompt, answer);
      },
      [&w] { return chineseLogin(w); }, [&w] { return freeHours(w); });
  host.platform().dialogs().setAsker([&w, dialogs](const sim::DialogQuestion& q) {
    w.flushOutput();
    return dialogs->ask(q);
  });
  w.setPager([&w, ask](const std::string& text) { page(text, ask, chineseLogin(w)); });
}

void stopTerminalSession(Workbench& w) {
  w.host().platform().dialogs().setAsker(nullptr);
  w.setPager(nullptr);
}

}  // namespace qx::qxhost
