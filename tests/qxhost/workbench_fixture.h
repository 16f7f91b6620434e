// A substitute host in a folder of its own and a way to run workbench scripts on it.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <thread>

#include "support/live_objects.h"
#include "support/temp_home.h"
#include "tools/qxhost/workbench.h"

namespace qx::qxhost {

class WorkbenchFixture : public qx::testing::LiveObjectsTest {
 protected:
  void SetUp() override {
    LiveObjectsTest::SetUp();
    home_ = qx::testing::uniqueTempPath("workbench");
    std::filesystem::remove_all(home_);
    sim::HostOptions o;
    o.home = home_;
    o.dataDir = std::filesystem::path(QX_SOURCE_DIR) / "sim" / "data";
    host_ = std::make_unique<sim::SimHost>(o);
  }
  void TearDown() override {
    host_.reset();
    std::filesystem::remove_all(home_);
    LiveObjectsTest::TearDown();
  }
  // Runs a script and returns what it printed; `failed` receives the number of malformed
  // lines. The component keeps its translation state per thread while the thread has plug-in
  // objects: each script gets a thread of its own, like a host session.
  std::string run(const std::string& script, int* failed = nullptr) {
    std::ostringstream out;
    int f = 0;
    std::thread([&] {
      Workbench w(*host_, out);
      std::istringstream in(script);
      f = w.run(in);
    }).join();
    if (failed) *failed = f;
    return out.str();
  }
  static bool has(const std::string& out, const std::string& text) {
    return out.find(text) != std::string::npos;
  }

  std::filesystem::path home_;
  std::unique_ptr<sim::SimHost> host_;
};

}  // namespace qx::qxhost
