#include "preview/previewzoom.h"

#include <algorithm>

namespace tessary {

int ClampViewScale(int scale) {
    return std::clamp(scale, MinViewScale, MaxViewScale);
}

int ZoomStepAbove(int scale) {
    const auto it = std::upper_bound(ZoomSteps.begin(), ZoomSteps.end(), scale);
    return it == ZoomSteps.end() ? scale : *it;
}

int ZoomStepBelow(int scale) {
    const auto it = std::lower_bound(ZoomSteps.begin(), ZoomSteps.end(), scale);
    return it == ZoomSteps.begin() ? scale : *std::prev(it);
}

QString ScaleTextFor(TViewMode mode, int scale) {
    switch (mode) {
    case vmWholePage:
        return QStringLiteral("Whole page (%1%)").arg(scale);
    case vmPageWidth:
        return QStringLiteral("Page width (%1%)").arg(scale);
    case vmCustom:
        break;
    }
    return QStringLiteral("%1%").arg(scale);
}

} // namespace tessary
