// The two header lines of the ledger, and the column attributes set while line 1 is built.
#include "automation/arg.h"
#include "host/toolkit.h"
#include "widgets/ledger_data.h"
#include "widgets/ledger_format.h"
#include "widgets/ledger_parts.h"

namespace qx::widgets {

using automation::CallKind;
using automation::Variant;
namespace column = host::ledger_grid::column;

namespace {

bool isZero(const Variant& v) {
  return v.value().toDouble() == 0;
}

}  // namespace

std::string LedgerData::GetHeaderText(int32_t lineNo) {
  // Catch-all: a failure anywhere gives an empty line instead.
  try {
    std::string text;
    if (lineNo == 1) {
      int32_t columnNo = 1;
      forEachRecord(m_Header, [&](const Variant& definition) {
        const HeaderRecord record(definition);
        Variant index(columnNo);
        ObjectRef col =
            control()
                .callId(host::ledger_grid::kColumn, CallKind::Get, automation::byRef(index))
                .toObject();
        col->callId(column::kFlag, CallKind::Put, column::kHiddenFlag,
                    isZero(record.value("FVisible")));
        if (auto alignment = alignmentFor(typeCode(record.value("FColType")))) {
          col->callId(column::kAlignment, CallKind::Put, *alignment);
        }
        // "$" marks a heading without a second level; a blank caption adds no cell at all.
        std::string caption = textOf(record.value("FColCaption"));
        if (!trimmed(caption).empty()) {
          const Variant none("");
          std::string second = textOf(record.getValue("FHeadSecond", &none));
          bool oneLevel = caption.find('$') == std::string::npos && second.empty();
          text += caption + (oneLevel ? "$|" : "|");
        }
        const Variant noColour(int32_t{0});
        Variant backColour = record.getValue("FBackColor", &noColour);
        if (!isZero(backColour)) col->callId(column::kBackColor, CallKind::Put, backColour);
        ++columnNo;
      });
    } else if (lineNo == 2) {
      forEachRecord(m_Header, [&](const Variant& definition) {
        text += trimmed(textOf(HeaderRecord(definition).value("FHeadSecond"))) + "|";
      });
    }
    return text;
  } catch (...) {
    return {};
  }
}

}  // namespace qx::widgets
