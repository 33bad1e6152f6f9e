#pragma once

namespace rsgz::app {

// The product's own particulars, kept in one place.
inline constexpr const char* kProductTitle = "人事工资管理系统";
inline constexpr const char* kVersionLabel = "ver 1.0F";
inline constexpr const char* kSupportUrl = "https://rsgz.example.cn/support";
inline constexpr const char* kSupportLine = "技术支持：https://rsgz.example.cn/support（工作日 9:00-17:00）";
inline constexpr const char* kVendorLines = "rsgz 开发组\n技术支持：https://rsgz.example.cn/support";

}  // namespace rsgz::app
