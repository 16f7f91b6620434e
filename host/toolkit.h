// The form toolkit and the ledger grid control as the component reaches them: event interfaces
// with their event ids, the ledger grid control's members by dispatch id, and the toolkit's
// numbers (mouse pointers, system colours). The substitute host implements the same.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "host/event_interfaces.h"

namespace qx::host {

inline constexpr std::string_view kPictureBoxEvents = "PictureBoxEvents";
inline constexpr std::string_view kFormEvents = "FormEvents";
inline constexpr std::string_view kLedgerGridEvents = "LedgerGridEvents";

// MouseDown(Button, Shift, X, Y): X and Y in the bar's own coordinates.
namespace picture_box_event {
inline constexpr DispId kMouseDown = 1;
}

// Resize(); MouseMove and MouseUp(Button, Shift, X, Y) in form coordinates.
namespace form_event {
inline constexpr DispId kResize = 1, kMouseMove = 2, kMouseUp = 3;
}

// RequestRowText(lRow, sText by reference, lBackColor by reference, vUnused): the control asks
// its owner for the whole text of row lRow (from 1; rows 1 and 2 are the header lines).
namespace ledger_grid_event {
inline constexpr DispId kRequestRowText = 1;
}

// Members of the ledger grid control by dispatch id.
namespace ledger_grid {
// The control.
inline constexpr DispId kGrid = 2;    // get: the grid object
inline constexpr DispId kColumn = 9;  // get (column from 1, 32-bit by reference): column object
inline constexpr DispId kRow = 10;    // get (row index = row number - 1): row object

// The grid object.
namespace grid {
inline constexpr DispId kRows = 1, kCols = 2, kFixedRows = 3, kFixedCols = 4, kBackColor = 8,
                        kOption = 19,  // put (option number, flag); option 32 off at set-up
    kRepaint = 15,                     // method: fetch every row's text again
    kResetTexts = 16;                  // method: drop the texts held so far
}  // namespace grid

// A column object.
namespace column {
inline constexpr DispId kBackColor = 3, kAlignment = 5,
                        kFlag = 8;  // put (flag number, on/off); flag 16 hides the column
inline constexpr int32_t kHiddenFlag = 16;
inline constexpr int32_t kAlignLeft = 0, kAlignRight = 1;
}  // namespace column

// A row object: put flag [1], true on the continuation rows of a document.
namespace row {
inline constexpr DispId kContinued = 1;
}
}  // namespace ledger_grid

// The header-line service's member: (control, line number, text) → the line to show.
inline constexpr std::string_view kHeaderLineMember = "HeaderLine";

// Mouse pointer numbers of the toolkit.
namespace mouse_pointer {
inline constexpr int32_t kDefault = 0, kSizeNS = 7, kSizeWE = 9, kHourglass = 11, kNoDrop = 12;
}

// System colours: the index with the system-colour flag.
namespace system_color {
inline constexpr int32_t kButtonFace = static_cast<int32_t>(0x8000000Fu);
inline constexpr int32_t kButtonShadow = static_cast<int32_t>(0x80000010u);
}  // namespace system_color

// A colour from its red, green and blue parts, as the toolkit stores it.
constexpr int32_t rgb(int r, int g, int b) {
  return r | (g << 8) | (b << 16);
}

std::span<const EventDecl> pictureBoxEvents();
std::span<const EventDecl> formEvents();
std::span<const EventDecl> ledgerGridEvents();
// The events of a toolkit interface by name (letter case ignored), empty if unknown.
std::span<const EventDecl> toolkitEventsOf(std::string_view interfaceName);

}  // namespace qx::host
