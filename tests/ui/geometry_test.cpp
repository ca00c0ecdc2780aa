// Where every control of the main window and of the start-up window lies in its window, in
// pixels, against its designed place in twips (fifteen to the pixel). Each row gives the
// control, the window position of its container's top-left corner and its place in that
// container, all in twips, as designed.

#include <QWidget>
#include <cmath>
#include <string>
#include <vector>

#include "ui/cdemo.h"
#include "ui/intro.h"
#include "ui_test_support.h"

namespace {

struct Place {
  std::string name;
  QPoint container;  // the container's top-left corner in the window, twips
  int left, top, width, height;
};

// Containers of the main window. Controls on a page are placed relative to the tab control,
// which lies at (-15, -45) in the window.
constexpr QPoint kPage{-15, -45};
constexpr QPoint kFrame2 = kPage + QPoint(165, 495);
constexpr QPoint kFrame1 = kPage + QPoint(345, 750);
constexpr QPoint kFrame3 = kFrame1 + QPoint(2400, 360);
constexpr QPoint kFrame4 = kFrame1 + QPoint(2400, 1560);
constexpr QPoint kFrame5 = kPage + QPoint(288, 1248);

std::vector<Place> MainWindowDesign() {
  std::vector<Place> design = {
      {"SSTab1", {0, 0}, -15, -45, 9495, 6870},      {"Frame2", kPage, 165, 495, 9204, 6228},
      {"Option1", kFrame2, 870, 4560, 2565, 348},    {"Option2", kFrame2, 864, 4896, 4428, 300},
      {"Command2", kFrame2, 480, 5424, 1332, 492},   {"Command4", kFrame2, 1935, 5415, 1212, 492},
      {"Text7", kFrame2, 3360, 5472, 5676, 372},     {"Frame1", kPage, 345, 750, 8892, 2892},
      {"Picture1(0)", kFrame1, 1080, 480, 480, 480}, {"Picture1(1)", kFrame1, 1080, 480, 480, 480},
      {"Picture1(2)", kFrame1, 1080, 480, 480, 480}, {"Command3", kFrame1, 720, 1080, 1092, 372},
      {"Command1", kFrame1, 720, 1680, 1092, 372},   {"Frame3", kFrame1, 2400, 360, 6252, 1092},
      {"Label3", kFrame3, 1575, 270, 735, 615},      {"Label2", kFrame3, 2640, 336, 3468, 516},
      {"Frame4", kFrame1, 2400, 1560, 6252, 1092},   {"Label5", kFrame4, 240, 240, 1212, 372},
      {"Label4", kFrame4, 2040, 240, 1332, 372},     {"Label6", kFrame4, 3840, 240, 2172, 372},
      {"Frame5", kPage, 288, 1248, 8940, 3036},      {"Command7", kPage, 600, 1536, 2364, 444},
      {"Command6", kPage, 7425, 1635, 1500, 396},    {"Label15", kFrame5, 2055, 1005, 5250, 345},
      {"Command5", kFrame5, 330, 1620, 1500, 396},   {"Text1", kFrame5, 2085, 1485, 4995, 645},
      {"Text2", kFrame5, 7905, 1620, 444, 396},      {"TermText", kFrame5, 2100, 2265, 5025, 630},
      {"Text3", kFrame5, 7905, 2340, 444, 444},
  };
  // Where no size is designed, only the place is checked: the row's size is -1.
  const Place placed[] = {
      {"Label14", kFrame5, 7410, 1650, -1, -1},  {"Label1", kFrame5, 240, 2415, -1, -1},
      {"Label13", kFrame5, 7230, 2415, -1, -1},  {"Label11", kFrame4, 240, 720, 1212, -1},
      {"Label10", kFrame4, 2040, 720, 1332, -1}, {"Label12", kFrame4, 3840, 720, 2172, -1},
  };
  design.insert(design.end(), std::begin(placed), std::end(placed));
  // The register grid: two columns of sixteen rows, 240 twips apart; the selector is centred
  // on its value box. Name boxes have been widened to 3200 twips by the load step.
  for (int row = 0; row < 32; ++row) {
    const int column = row / 16;
    const int top = 528 + (row % 16) * 240;
    const auto indexed = [row](const char* name) {
      return std::string(name) + "(" + std::to_string(row) + ")";
    };
    design.push_back({indexed("Check1"), kFrame2, column == 0 ? 96 : 4608, top + 24, 520, 252});
    design.push_back({indexed("Text6"), kFrame2, column == 0 ? 600 : 5136, top, 500, 300});
    design.push_back({indexed("Text8"), kFrame2, column == 0 ? 1128 : 5664, top, 3200, 300});
  }
  return design;
}

std::vector<Place> StartUpDesign() {
  constexpr QPoint kIntroFrame{135, 120};
  std::vector<Place> design = {
      {"Frame1", {0, 0}, 135, 120, 4440, 3090},
      {"Command1", kIntroFrame, 1740, 900, 1695, 840},
  };
  for (int i = 0; i < 4; ++i) {
    design.push_back(
        {"Option1(" + std::to_string(i) + ")", kIntroFrame, 225, 525 + 330 * i, 945, 270});
  }
  return design;
}

// Each coordinate must be the pixel nearest to the designed one.
void ExpectPlaces(const QWidget& window, const std::vector<Place>& design) {
  constexpr double kNearest = 0.5 + 1e-9;
  for (const Place& place : design) {
    SCOPED_TRACE(place.name);
    auto* control = uitest::Find<QWidget>(&window, QString::fromStdString(place.name));
    if (control == nullptr) continue;
    const QPoint at = uitest::WindowPosition(control);
    EXPECT_LE(std::abs(at.x() - (place.container.x() + place.left) / 15.0), kNearest)
        << "left " << at.x();
    EXPECT_LE(std::abs(at.y() - (place.container.y() + place.top) / 15.0), kNearest)
        << "top " << at.y();
    if (place.width >= 0) {
      EXPECT_LE(std::abs(control->width() - place.width / 15.0), kNearest)
          << "width " << control->width();
    }
    if (place.height >= 0) {
      EXPECT_LE(std::abs(control->height() - place.height / 15.0), kNearest)
          << "height " << control->height();
    }
  }
}

class Geometry : public uitest::WindowTest {};

TEST_F(Geometry, EveryControlOfTheMainWindowLiesWhereDesigned) {
  ui::CDemo window([] { return std::string("COM1"); });
  window.Form_Load();
  window.show();
  EXPECT_EQ(window.size(), QSize(632, 457));
  ExpectPlaces(window, MainWindowDesign());
}

TEST_F(Geometry, EveryControlOfTheStartUpWindowLiesWhereDesigned) {
  ui::intro start;
  start.show();
  ExpectPlaces(start, StartUpDesign());
}

}  // namespace
