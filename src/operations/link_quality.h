#pragma once

#include <QString>

namespace operations {

// The highest link quality level; levels run from 0 to this.
inline constexpr int kBestLinkQuality = 5;

// What a link quality level shows: the verdict text and the lamp (an index into the lamps of
// the "&Radio Testing" page: grey, green, red).
QString QualityCaption(int level);
int QualityLamp(int level);

// The testing time shown by TEST OFF for a test of `seconds`: whole minutes and the whole
// seconds left, each number with a leading blank ("125.3" gives " 2 min 5 sec").
QString TestingTimeCaption(float seconds);

}  // namespace operations
