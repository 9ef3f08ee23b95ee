#pragma once

// The window's layout: positions in twips (15 twips make one pixel at 96 dpi) from the client
// area's top left. The window opens at the client size, which is also its smallest; in a larger
// window the log grows by the difference in width and height, the status line widens with it and
// moves down to stay below it, and the buttons and labels stay where they are.
namespace kelvane::main_window_layout {

struct TwipsRect {
    int left;
    int top;
    int width;
    int height;
};

inline constexpr int kTwipsPerPixel = 15;
inline constexpr int kClientWidth = 8400;
inline constexpr int kClientHeight = 4620;

inline constexpr TwipsRect kChPower{1080, 240, 1515, 495};
inline constexpr TwipsRect kObw{2880, 240, 1515, 495};
inline constexpr TwipsRect kAcp{4680, 240, 1515, 495};
inline constexpr TwipsRect kSem{6480, 240, 1515, 495};
inline constexpr TwipsRect kSem11a{1800, 960, 1815, 495};
inline constexpr TwipsRect kSem11b{3840, 960, 1695, 495};
inline constexpr TwipsRect kTotalPower11b{5760, 960, 1695, 495};
inline constexpr TwipsRect kResultLog{360, 1800, 7635, 2235};
inline constexpr TwipsRect kLabel3gpp{360, 360, 615, 255};
inline constexpr TwipsRect kLabelWlan{960, 1080, 615, 255};
// The status line fills the free strip below the log (pixels 272 to 304), as wide as the log.
inline constexpr TwipsRect kStatusLine{360, 4080, 7635, 480};

// Every position of the layout is a whole number of pixels, so nothing is rounded.
constexpr bool WholePixels(const TwipsRect& r) {
    return r.left % kTwipsPerPixel == 0 && r.top % kTwipsPerPixel == 0 &&
           r.width % kTwipsPerPixel == 0 && r.height % kTwipsPerPixel == 0;
}
static_assert(WholePixels(kChPower) && WholePixels(kObw) && WholePixels(kAcp) &&
              WholePixels(kSem) && WholePixels(kSem11a) && WholePixels(kSem11b) &&
              WholePixels(kTotalPower11b) && WholePixels(kResultLog) && WholePixels(kLabel3gpp) &&
              WholePixels(kLabelWlan) && WholePixels(kStatusLine) &&
              kClientWidth % kTwipsPerPixel == 0 && kClientHeight % kTwipsPerPixel == 0);

}  // namespace kelvane::main_window_layout
