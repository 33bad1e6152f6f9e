#pragma once

namespace rsgz::app {

// The product's own particulars, kept in one place; the support address is written once.
#define RSGZ_SUPPORT_URL "https://support.rsgz.example/"
inline constexpr const char* kProductTitle = "人事工资管理系统";
inline constexpr const char* kVersionLabel = "ver 1.0F";
inline constexpr const char* kSupportUrl = RSGZ_SUPPORT_URL;
inline constexpr const char* kSupportLine = "技术支持：" RSGZ_SUPPORT_URL "（工作日 9:00-17:00）";
inline constexpr const char* kVendorLines = "rsgz 开发组\n技术支持：" RSGZ_SUPPORT_URL;
#undef RSGZ_SUPPORT_URL

}  // namespace rsgz::app
