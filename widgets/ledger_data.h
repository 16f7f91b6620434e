// LedgerData: binds a header list (column definition records) and a recordset (one record per
// data row) to the ledger grid control. The control asks for each row's whole text through an
// event; rows 1 and 2 are the two header lines, the records follow from row 3.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "automation/dispatch.h"
#include "widgets/source_field.h"

namespace qx::widgets {

class LedgerData final : public automation::Dispatch<LedgerData> {
 public:
  static constexpr std::string_view kTypeName = "LedgerData";
  static std::span<const automation::Member<LedgerData>> members();
  // Creation reads the local currency's decimals from the general-ledger object.
  [[nodiscard]] static automation::Ref<LedgerData> create() {
    return automation::makeObject<LedgerData>();
  }

  LedgerData();
  ~LedgerData() override;

  bool supports(std::string_view interfaceName) const override;

  // Property writes of the owner.
  void setHeader(const ObjectRef& header) { m_Header = header; }
  void setRs(const ObjectRef& rs) { m_rs = rs; }
  // Takes the ledger grid control, subscribes to its row-text requests and sets it up.
  void setLdg(const ObjectRef& ldg);
  void Refresh();
  // Releases the control (ending the subscription), the recordset and the header list.
  void FreeMem();

  // The two header lines (1 and 2): any failure gives an empty line.
  std::string GetHeaderText(int32_t lineNo);
  // The text of grid row lRow (3 = the first record); lBackColor receives the row colour. A
  // failing step is skipped: a missing field leaves its cell empty.
  std::string GetRowText(int32_t lRow, automation::Variant& lBackColor);

  // Public fields.
  int16_t m_MutilPageState = 0;
  int16_t m_QtyDecimal = -1;
  int16_t m_PriceDecimal = -1;

  // State for tests and the workbench.
  int32_t megerCol() const noexcept { return m_MegerCol; }
  int16_t megerType() const noexcept { return m_MegerType; }
  int32_t lastInterId() const noexcept { return m_LastInterID; }
  int32_t lastItemId() const noexcept { return m_LastItemID; }
  int16_t amountDecimal() const noexcept { return m_AmountDecimal; }
  int16_t currencyDecimal() const noexcept { return m_CurrencyDecimal; }
  const ObjectRef& ldg() const noexcept { return m_ldg.get(); }
  const ObjectRef& rs() const noexcept { return m_rs; }
  const ObjectRef& header() const noexcept { return m_Header; }

 private:
  // The control's row-text request (row, text by reference, colour by reference, unused).
  void m_ldg_RequestRowText(Args a);
  automation::Object& control() const;
  ObjectRef gridObject() const;
  ObjectRef rowObject(int32_t rowIndex) const;

  void mPutHeader(Args a, const automation::Variant& v);
  void mPutRs(Args a, const automation::Variant& v);
  void mPutLdg(Args a, const automation::Variant& v);
  void mPutMegerCol(Args a, const automation::Variant& v);
  void mPutMegerType(Args a, const automation::Variant& v);
  automation::Variant mRefresh(Args a);
  automation::Variant mFreeMem(Args a);
  automation::Variant mMutilPageState(Args a);
  void mPutMutilPageState(Args a, const automation::Variant& v);
  automation::Variant mQtyDecimal(Args a);
  void mPutQtyDecimal(Args a, const automation::Variant& v);
  automation::Variant mPriceDecimal(Args a);
  void mPutPriceDecimal(Args a, const automation::Variant& v);

  static const SourceField<LedgerData>::Route kControlRoutes[];

  ObjectRef m_rs;
  ObjectRef m_Header;
  int32_t m_MegerCol = 0;
  int16_t m_MegerType = 0;
  int32_t m_LastInterID = 0;
  int32_t m_LastItemID = 0;
  int16_t m_AmountDecimal = 0;
  int16_t m_CurrencyDecimal = 0;
  SourceField<LedgerData> m_ldg;
};

}  // namespace qx::widgets
