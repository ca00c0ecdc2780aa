#include "operations/link_quality.h"

#include <cmath>

#include "operations/page_views.h"

namespace operations {
namespace {

// A number as the testing time writes it: a blank where the sign of a non-negative number
// would stand.
QString SignedNumber(double value) {
  const auto whole = static_cast<long long>(value);
  return (whole < 0 ? QString() : QString(" ")) + QString::number(whole);
}

}  // namespace

QString QualityCaption(int level) {
  if (level <= 1) return "No Connection";
  if (level <= 3) return "Difficult Connection";
  return "OK, Connection";
}

int QualityLamp(int level) {
  if (level <= 1) return kRedLamp;
  if (level <= 3) return kGreyLamp;
  return kGreenLamp;
}

QString TestingTimeCaption(float seconds) {
  const double minutes = std::floor(seconds / 60.0f);
  const double rest = std::floor(seconds - 60.0 * minutes);
  return SignedNumber(minutes) + " min" + SignedNumber(rest) + " sec";
}

}  // namespace operations
