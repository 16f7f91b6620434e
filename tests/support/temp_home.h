// A temporary folder per test (and per process, since tests run in parallel), removed at the
// end, and a small database built in it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "sim/db/database.h"

namespace qx::testing {

// A path in the temporary folder unique to the running test and process.
inline std::filesystem::path uniqueTempPath(const std::string& stem) {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string test = info ? std::string(info->test_suite_name()) + "_" + info->name() : "global";
  return std::filesystem::temp_directory_path() /
         ("qx_" + stem + "_" + test + "_" + std::to_string(::getpid()));
}

class TempHome {
 public:
  TempHome() {
    dir_ = uniqueTempPath("home");
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  ~TempHome() {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  TempHome(const TempHome&) = delete;
  TempHome& operator=(const TempHome&) = delete;

  const std::filesystem::path& dir() const noexcept { return dir_; }
  std::filesystem::path write(const std::string& name, const std::string& text) const {
    std::filesystem::path p = dir_ / name;
    std::ofstream(p, std::ios::binary) << text;
    return p;
  }
  // A database made from one script.
  std::filesystem::path database(const std::string& name, const std::string& script) const {
    std::filesystem::path file = dir_ / name;
    sim::Database::build(file, {write(name + ".sql", script)});
    return file;
  }

 private:
  std::filesystem::path dir_;
};

}  // namespace qx::testing
