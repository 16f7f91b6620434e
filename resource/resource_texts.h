// The resource bill's fixed texts and identifiers. Texts shown to the user are the source texts
// that LoadLocalString translates.
#pragma once

#include <cstdint>
#include <string_view>

namespace qx::resource {

inline constexpr std::string_view kProductivityCaption = "生产率";
inline constexpr std::string_view kCheckFailed = "数据检查出错,原因：";
inline constexpr std::string_view kNotALine = "非生产线资源不能定义生产率.";
inline constexpr std::string_view kStillReferenced = "有生产线和物料对应关系引用该资源，不能删除.";
inline constexpr std::string_view kDisableInstead = "但你可以禁用该资源。";
inline constexpr std::string_view kCannotCheck = "无法检查该资源的引用关系,不能删除.";

// The host's two standard server components of the resource bill and their replacements.
inline constexpr std::string_view kStandardResourceList = "QxMResource.ResourceList";
inline constexpr std::string_view kStandardResourceAction = "QxMResource.ResourceAction";
inline constexpr std::string_view kResourceInfo = "QxMEIResource.ResourceInfo";
inline constexpr std::string_view kResourceUpdate = "QxMEIResource.ResourceUpdate";

inline constexpr std::string_view kCaptionKey = "EIResourceList";

// The type id of production-line resources.
inline constexpr int32_t kProductionLineType = 11063;
// A productivity at most this far from 0 counts as none.
inline constexpr double kNoProductivity = 1e-7;

}  // namespace qx::resource
