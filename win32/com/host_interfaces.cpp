#include "win32/com/host_interfaces.h"

#include "automation/text.h"
#include "host/event_interfaces.h"
#include "host/toolkit.h"
#include "hostevents.h"

namespace qx::win32 {

namespace {
// The form toolkit's controls publish no type library of their own: their interfaces and
// event interfaces carry these ids across COM.
const IID kIidForm = {0x3ad3d9db, 0xdb90, 0x4c28, {0x81, 0x67, 0x52, 0x0e, 0x15, 0xc4, 0x77, 0x60}};
const IID kIidFormEvents = {
    0x729608a2, 0x0be8, 0x4ea1, {0xbf, 0x0e, 0x49, 0x45, 0x21, 0xed, 0x78, 0xfb}};
const IID kIidPictureBox = {
    0x6ac7c173, 0xdcfd, 0x4fe0, {0xa4, 0xd8, 0xbf, 0x89, 0x19, 0xe2, 0x00, 0x53}};
const IID kIidPictureBoxEvents = {
    0xf358a11a, 0xedda, 0x4562, {0x91, 0xd3, 0xca, 0xf6, 0x9f, 0xcb, 0xfc, 0x69}};
const IID kIidLedgerGrid = {
    0xee872f6b, 0xbe47, 0x4e4e, {0x8f, 0x52, 0xf7, 0x59, 0x05, 0x23, 0xd2, 0xbe}};
const IID kIidLedgerGridEvents = {
    0xb9d043a6, 0x3508, 0x4c11, {0xae, 0xcc, 0x54, 0xdf, 0x8f, 0x9f, 0xb0, 0x56}};

const HostInterface kHostInterfaces[] = {
    {host::kMasterDataEvents, &IID__MasterDataEvents, &DIID___MasterDataEvents},
    {host::kBillEvents, &IID__BillEvents, &DIID___BillEvents},
    {host::kFormEvents, &kIidForm, &kIidFormEvents},
    {host::kPictureBoxEvents, &kIidPictureBox, &kIidPictureBoxEvents},
    {host::kLedgerGridEvents, &kIidLedgerGrid, &kIidLedgerGridEvents},
};
}  // namespace

const HostInterface* findHostInterface(std::string_view name) noexcept {
  for (const HostInterface& h : kHostInterfaces) {
    if (automation::equalsIgnoreCase(h.name, name)) return &h;
  }
  return nullptr;
}

std::span<const HostInterface> hostInterfaces() noexcept {
  return kHostInterfaces;
}

}  // namespace qx::win32
