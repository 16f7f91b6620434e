// Programmatic identifiers of the host components and of this library's classes.
#pragma once

#include <string_view>

namespace qx::host::prog_id {

inline constexpr std::string_view kEIResource = "QxIndDepComponent.EIResource";
inline constexpr std::string_view kEIRepScheduler = "QxIndDepComponent.EIRepScheduler";

inline constexpr std::string_view kConnection = "QxConnection.AppConnection";
inline constexpr std::string_view kResLoader = "QxResLoader.Loader";
inline constexpr std::string_view kShareProps = "ShareVault.ShareProps";
inline constexpr std::string_view kGLData = "QRWGLView.GLData";
inline constexpr std::string_view kResourceInfo = "QxMEIResource.ResourceInfo";
inline constexpr std::string_view kResourceUpdate = "QxMEIResource.ResourceUpdate";
inline constexpr std::string_view kAbilityLoad = "QxEIAbility.AbilityLoad";
inline constexpr std::string_view kRepSchedulerMain = "qxMRepScheduler.clsMain";
inline constexpr std::string_view kSystemProfile = "QRVBase.SystemProfile";
inline constexpr std::string_view kRpt902 = "QxEIRpt.Rpt902";
inline constexpr std::string_view kReportView = "qxVRpt.View";
inline constexpr std::string_view kItemLineInfo = "QxMEIItemLine.ItemLineInfo";
inline constexpr std::string_view kLineBrowser = "QxEIItemLine.Browser";

}  // namespace qx::host::prog_id
