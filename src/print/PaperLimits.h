#pragma once

namespace rsgz::print {

// The bounds every length read from a layout, card or report file is held to. No printer takes a
// sheet larger than A0 (841 × 1189 mm), whichever way it lies; a value beyond these comes from a
// damaged or foreign file, and would make pages of millions of lines or overflow a sum.
inline constexpr int kA0ShortTenths = 8410, kA0LongTenths = 11890;     // tenths of a millimetre
inline constexpr int kA0LongPixels = 4495;                             // at 3.78 pixels per millimetre
inline constexpr double kA0ShortMm = 841, kA0LongMm = 1189;
inline constexpr int kMaxFontPoints = 500;  // 0 stands for the default size

// A sheet of width × height fits an A0 sheet, turned if need be.
constexpr bool fitsA0(double width, double height, double shortSide, double longSide)
{
    const double narrow = width < height ? width : height, wide = width < height ? height : width;
    return narrow > 0 && narrow <= shortSide && wide <= longSide;
}

}  // namespace rsgz::print
