// The schedule bill through COM: the substitute host's bill engine, form, controls and
// components run in this process and are served to the COM server as COM objects; the
// plug-in is created from the registered DLL. The scenario's transcript is compared with the
// Linux run's by scripts/windows-test.
#include <ole2.h>
#include <windows.h>

#include <filesystem>
#include <fstream>

#include "automation/host_dictionary.h"
#include "host/prog_ids.h"
#include "services/local_string.h"
#include "sim/bills/event_source.h"
#include "sim/bills/schedule_scenario.h"
#include "widgets/ledger_data.h"
#include "win32/com/bstr.h"
#include "win32/com/object_bridge.h"
#include "win32/com/object_dispatch.h"
#include "win32/testhost/check.h"
#include "win32/testhost/plugin.h"
#include "win32/testhost/sim_components.h"
#include "win32/testhost/tests.h"

namespace qx::testhost {

namespace {

// The event source's operations take their by-reference arguments in the declared types: an
// object slot as IDispatch*, not as a reference to a VARIANT.
void checkDeclaredOperationTypes() {
  section("the bill event source's operations");
  auto source = sim::EventSource::create("BillEvents");
  ComPtr<IDispatch> form = win32::ObjectDispatch::create(automation::HostDictionary::create());
  source->setOperations([&](int, automation::Args a) {
    a[0].set(automation::Variant(win32::objectFromDispatch(form.get())));
    return automation::Variant();
  });
  ComPtr<IDispatch> d = win32::ObjectDispatch::create(automation::ObjectRef(source));

  ComPtr<IDispatch> slot;
  CallOutcome typed = invoke(d.get(), 0x60030000, DISPATCH_METHOD, {refDispatch(slot)});
  checkStatus(typed.hr, S_OK, "GetForm with an IDispatch** slot");
  check(slot && win32::objectFromDispatch(slot.get()).get() ==
                    win32::objectFromDispatch(form.get()).get(),
        "GetForm writes the form into the object slot");

  VARIANT v;
  VariantInit(&v);
  CallOutcome untyped = invoke(d.get(), 0x60030000, DISPATCH_METHOD, {refVariant(v)});
  checkStatus(untyped.hr, DISP_E_TYPEMISMATCH, "GetForm with a VARIANT reference is refused");
  check(V_VT(&v) == VT_EMPTY, "the refused call wrote nothing");

  int32_t mode = 0;
  VARIANT lMode;
  V_VT(&lMode) = VT_BYREF | VT_I4;
  V_I4REF(&lMode) = reinterpret_cast<LONG*>(&mode);
  CallOutcome shortCall = invoke(d.get(), 0x60030009, DISPATCH_METHOD, {lMode});
  checkStatus(shortCall.hr, DISP_E_BADPARAMCOUNT, "ShowDetail without its tool is refused");
}

bool playScenario(const std::filesystem::path& home, const std::filesystem::path& dataDir,
                  const std::filesystem::path& transcript) {
  sim::HostOptions o;
  o.home = home;
  o.dataDir = dataDir;
  o.today = sim::kScenarioToday;
  std::error_code ec;
  std::filesystem::remove_all(o.home, ec);
  std::filesystem::create_directories(o.home, ec);
  std::ofstream out(transcript, std::ios::binary);
  if (!check(static_cast<bool>(out), "the transcript file opens")) return false;

  bool played = false;
  {
    sim::SimHost host(o);
    SimComponentRegistration served(host);
    size_t components = host.components().componentIds().size();
    check(served.ok() && components > 0 && served.count() == components,
          "the substitute host's " + std::to_string(components) +
              " components are served as COM objects");
    MessageBoxAnswers answers(host);
    check(answers.ok(), "the message boxes of this thread are answered by the host's script");
    // After the registration: the plug-in comes from the registered COM server.
    host.components().registerComponent(host::prog_id::kEIRepScheduler, [] {
      HRESULT hr = S_OK;
      ComPtr<IDispatch> plugin = createByProgId(kSchedulerProgId, &hr);
      if (!plugin) {
        throw automation::Error(429, "CoCreateInstance " + std::to_string(hr),
                                std::string(host::prog_id::kEIRepScheduler));
      }
      return win32::objectFromDispatch(plugin.get());
    });
    sim::ScheduleBill bill(host, automation::ObjectRef(widgets::LedgerData::create()));
    played = sim::playScheduleScenario(host, bill, host::prog_id::kEIRepScheduler, out);
    check(played, "the scenario played through COM without an unexpected failure");
    check(!bill.plugin(), "the bill released the plug-in");
  }
  services::releaseModuleState();
  out.close();
  check(static_cast<bool>(out), "the transcript is written");
  return played;
}

}  // namespace

void runScheduleBill(const std::wstring& home, const std::wstring& dataDir,
                     const std::wstring& transcript) {
  checkDeclaredOperationTypes();
  section("the schedule bill through COM");
  playScenario(home, dataDir, transcript);
  if (check(serverLoaded(), "the COM server is loaded")) {
    checkStatus(serverCanUnloadNow(), S_OK, "DllCanUnloadNow answers S_OK after the scenario");
  }
}

}  // namespace qx::testhost
