// The ledger's row texts, built from any column definition records and any field values: the
// control asks for every row and gets, without a failure escaping, a second header line of one
// cell per column, a first data row of one cell per column whose number cells read back as the
// rounded value, at most one cell per column on the other rows, and the same texts when it asks
// again.
#include <algorithm>
#include <cmath>

#include "automation/conversions.h"
#include "automation/host_dictionary.h"
#include "automation/host_vector.h"
#include "automation/recordset.h"
#include "fuzz_host.h"
#include "fuzz_support.h"
#include "sim/controls/ledger/header_line_service.h"
#include "sim/controls/ledger/ledger_grid.h"
#include "widgets/ledger_data.h"

using namespace qx::automation;
using qx::fuzz::shown;

namespace {

// The fields the binding reads itself, and data fields for the columns.
const char* const kFields[] = {"FInterID",    "FItemID",       "FSumSort",
                               "FQtyDecimal", "FPriceDecimal", "FAmountDecimal",
                               "FQty",        "FDate",         "FName"};

std::string textFrom(qx::fuzz::Input& in) {
  std::string t = in.text(';');
  t.erase(std::remove(t.begin(), t.end(), '|'), t.end());  // the cell separator
  return t;
}

// Values of every type, mostly a few small numbers so that documents and items repeat.
Variant valueFrom(qx::fuzz::Input& in) {
  switch (in.pick(12)) {
    case 0:
      return Variant();
    case 1:
      return Variant::null();
    case 2:
      return Variant(static_cast<bool>(in.byte() & 1));
    case 3:
      return Variant(static_cast<int16_t>(in.pick(4)));
    case 4:
      return Variant(static_cast<int32_t>(static_cast<int8_t>(in.byte())));
    case 5:
      return Variant(static_cast<double>(static_cast<int8_t>(in.byte())) / 8);
    case 6:
      return Variant(in.bits());
    case 7:
      return Variant(Date{46000.0 + static_cast<int8_t>(in.byte()) / 4.0});
    case 8:
      return Variant(Date{in.bits()});
    case 9:
      return Variant(std::to_string(in.pick(4)));
    default:
      return Variant(textFrom(in));
  }
}

// A column type code: mostly the known codes, sometimes any value.
Variant typeFrom(qx::fuzz::Input& in) {
  unsigned k = in.pick(16);
  if (k < 12) return Variant(static_cast<int32_t>(k));
  if (k < 14) return Variant(-static_cast<double>(in.pick(12)));
  return valueFrom(in);
}

bool numberColumn(double code) {
  return code == 2 || code == 4 || code == 6 || code == 8 || code == 10 || code < 0;
}

std::vector<std::string> cellsOf(const std::string& row) {
  std::vector<std::string> cells;
  size_t start = 0;
  for (size_t bar = row.find('|'); bar != std::string::npos; bar = row.find('|', start)) {
    cells.push_back(row.substr(start, bar - start));
    start = bar + 1;
  }
  return cells;
}

struct Host {
  qx::fuzz::FuzzPlatform platform;
  Host() {
    platform.headerLines = [] { return ObjectRef(qx::sim::HeaderLineService::create()); };
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Host host;
  qx::fuzz::Input in(data, size);

  auto rs = Recordset::create();
  std::vector<std::string> fields;
  const unsigned present = in.byte() | (in.byte() << 8);
  for (size_t f = 0; f < std::size(kFields); ++f) {
    if (present & (1u << f)) fields.push_back(kFields[f]);
  }
  if (fields.empty()) fields.push_back("FName");  // a recordset opens with one field or more
  for (const std::string& f : fields) rs->appendField({f});
  rs->open();

  struct Column {
    double code = 1;
    bool codeKnown = false;
    Variant source;
  };
  std::vector<Column> columns;
  auto header = HostVector::create();
  const unsigned columnCount = 1 + in.pick(6);
  for (unsigned c = 0; c < columnCount; ++c) {
    auto record = HostDictionary::create();
    Column col;
    Variant type = typeFrom(in);
    try {
      col.code = type.toDouble();
      col.codeKnown = true;
    } catch (const Error&) {
    }
    record->set("FColType", type);
    col.source = in.pick(4) == 0 ? valueFrom(in) : Variant(kFields[in.pick(std::size(kFields))]);
    record->set("FColName", col.source);
    record->set("FColCaption", Variant(textFrom(in)));
    if (in.byte() & 1) record->set("FHeadSecond", Variant(textFrom(in)));
    if (in.byte() & 1) record->set("FVisible", valueFrom(in));
    if (in.byte() & 1) record->set("FMergerType", Variant(static_cast<int32_t>(in.pick(5))));
    if (in.byte() & 1) record->set("FBackColor", valueFrom(in));
    header->call("Add", ObjectRef(record));
    columns.push_back(col);
  }
  const unsigned rowCount = in.pick(9);
  for (unsigned r = 0; r < rowCount; ++r) {
    std::vector<Variant> row;
    for (size_t f = 0; f < fields.size(); ++f) row.push_back(valueFrom(in));
    rs->appendRow(std::move(row));
  }

  auto ledger = qx::widgets::LedgerData::create();
  ledger->m_QtyDecimal = static_cast<int16_t>(static_cast<int>(in.pick(8)) - 1);
  ledger->m_PriceDecimal = static_cast<int16_t>(static_cast<int>(in.pick(8)) - 1);
  auto control = qx::sim::LedgerGrid::create("ldgData");
  ledger->setHeader(ObjectRef(header));
  ledger->setRs(ObjectRef(rs));
  ledger->setLdg(ObjectRef(control));
  ledger->Refresh();

  const std::vector<std::string> texts = control->texts();
  const std::string what =
      std::to_string(columnCount) + " columns, " + std::to_string(rowCount) + " rows";
  QX_FUZZ_CHECK(texts.size() == rowCount + 2,
                what + ": " + std::to_string(texts.size()) + " texts");
  QX_FUZZ_CHECK(cellsOf(texts[1]).size() == columnCount, what + ": line 2 is " + shown(texts[1]));
  for (size_t r = 2; r < texts.size(); ++r) {
    QX_FUZZ_CHECK(
        cellsOf(texts[r]).size() <= columnCount && texts[r].size() > 0 && texts[r].back() == '|',
        what + ": row " + std::to_string(r + 1) + " is " + shown(texts[r]));
  }
  if (rowCount > 0) {
    // The first data row shows every column; a number cell is empty, the value's own text, or
    // the number rounded to some decimals.
    std::vector<std::string> cells = cellsOf(texts[2]);
    QX_FUZZ_CHECK(cells.size() == columnCount, what + ": row 3 is " + shown(texts[2]));
    rs->moveFirst();
    for (size_t c = 0; c < columns.size(); ++c) {
      const Column& col = columns[c];
      if (!col.codeKnown || !numberColumn(col.code) || cells[c].empty()) continue;
      const std::string* name = col.source.stringIf();
      auto at = name ? rs->findColumn(*name) : std::nullopt;
      if (!at || !rs->value(*at).isNumber()) continue;
      double v = rs->value(*at).toDouble();
      std::optional<double> shownValue = parseNumber(cells[c]);
      QX_FUZZ_CHECK(shownValue && std::fabs(*shownValue - v) <= 0.5 + std::fabs(v) * 1e-15,
                    what + ": " + formatDouble(v) + " shows as " + shown(cells[c]));
    }
  }

  // Asked again, the control gets the same texts.
  control->resetTexts();
  control->repaint();
  QX_FUZZ_CHECK(control->texts() == texts, what + ": the second pass differs");
  ledger->FreeMem();
  return 0;
}
