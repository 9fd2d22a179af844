#pragma once

#include <QString>
#include <array>

namespace tessary {

// How the sheet is fitted: the whole sheet in the control, the sheet across the control's
// width, or at a chosen scale in percent.
enum TViewMode { vmWholePage, vmPageWidth, vmCustom };

// The scales the zoom buttons and the zoom box step through; the first and last are the
// limits of any scale.
inline constexpr std::array<int, 11> ZoomSteps{10, 25, 50, 75, 100, 150, 200, 300, 500, 700, 1000};
inline constexpr int MinViewScale = ZoomSteps.front();
inline constexpr int MaxViewScale = ZoomSteps.back();

int ClampViewScale(int scale);
// The first step above `scale`, or `scale` itself when none is above it.
int ZoomStepAbove(int scale);
// The last step below `scale`, or `scale` itself when none is below it.
int ZoomStepBelow(int scale);
// "Whole page (38%)", "Page width (120%)" or "250%".
QString ScaleTextFor(TViewMode mode, int scale);

} // namespace tessary
