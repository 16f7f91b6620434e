// A small plant for the item/line components: two departments with a work centre each, lines
// (one forbidden), a mould, three items and their relations.
#pragma once

#include <filesystem>
#include <memory>

#include "sim/db/database.h"
#include "support/live_objects.h"
#include "support/temp_home.h"

namespace qx::sim {

inline constexpr const char* kSmallPlant = R"(
INSERT INTO t_department (FItemID, FNumber, FShortNumber, FName) VALUES (1, 'D1', '1', 'd1'),
  (2, 'D2', '2', 'd2');
INSERT INTO t_workcenter (FItemID, FNumber, FName, FDeptID) VALUES (11, 'W1', 'w1', 1),
  (12, 'W2', 'w2', 2);
INSERT INTO t_resourcetype (FTypeID, FName) VALUES (11063, 'line'), (11064, 'mould');
INSERT INTO t_resource (FInterID, FNumber, FName, FTypeID, FWorkCenterID, FForbid) VALUES
  (101, 'A-1', 'Alpha', 11063, 11, 0), (102, 'A-2', 'Beta', 11063, 11, 0),
  (103, 'B-1', 'Gamma', 11063, 12, 0), (104, 'A-3', 'Forbidden', 11063, 11, 1),
  (105, 'M-1', 'Mould', 11064, 11, 0);
INSERT INTO t_MeasureUnit (FMeasureUnitID, FNumber, FName, FUnitGroupID) VALUES (1, 'PCS', 'pc', 1);
INSERT INTO t_ICItem (FItemID, FNumber, FName, FUnitID, FProductUnitID) VALUES
  (7, 'I-7', 'seven', 1, 1), (8, 'I-8', 'eight', 1, 1), (9, 'I-9', 'nine', 1, 1);
INSERT INTO t_eiItemLine (FID, FItemID, FLineID, FPriority) VALUES
  (1, 7, 101, 1), (2, 8, 102, 1), (3, 8, 103, 2), (4, 7, 104, 1), (5, 7, 105, 1);
)";

// The department filter exactly as the schedule plug-in writes it.
inline std::string departmentFilter(int dept) {
  return "  FWorkCenterId in (select t1.FItemId from t_workCenter t1  where t1.FDeptId=" +
         std::to_string(dept) + ")";
}

class ItemLineFixture : public qx::testing::LiveObjectsTest {
 protected:
  void SetUp() override {
    LiveObjectsTest::SetUp();
    std::filesystem::path data = std::filesystem::path(QX_SOURCE_DIR) / "sim" / "data";
    std::filesystem::path file = home_.dir() / "plant.db";
    Database::build(file, {data / "schema.sql", home_.write("plant.sql", kSmallPlant)});
    database_ = std::make_shared<Database>(file, data, false);
  }
  void TearDown() override {
    database_.reset();
    LiveObjectsTest::TearDown();
  }
  int32_t count(const std::string& sql) {
    return database_->open().execute(sql)->value(0).toInt32();
  }

  qx::testing::TempHome home_;
  std::shared_ptr<Database> database_;
};

}  // namespace qx::sim
