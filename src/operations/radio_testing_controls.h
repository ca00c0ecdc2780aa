#pragma once

#include <array>

class QGroupBox;
class QLabel;
class QPushButton;

namespace platform {
class IntervalTimer;
}

namespace operations {

// Lamps of the link test, by index into RadioTestingControls::Picture1.
inline constexpr int kGreyLamp = 0;
inline constexpr int kGreenLamp = 1;
inline constexpr int kRedLamp = 2;

// The controls of the "&Radio Testing" page. The main window owns them.
struct RadioTestingControls {
  QGroupBox* Frame1 = nullptr;
  std::array<QLabel*, 3> Picture1{};  // grey, green and red lamp, stacked on one another
  QPushButton* Command3 = nullptr;    // "TEST ON"
  QPushButton* Command1 = nullptr;    // "TEST OFF"
  QGroupBox* Frame3 = nullptr;        // "Radio Connection"
  QLabel* Label7 = nullptr;           // legend "0-1: no"
  QLabel* Label8 = nullptr;           // legend "2-3: difficult"
  QLabel* Label9 = nullptr;           // legend "4-5: good"
  QLabel* Label3 = nullptr;           // link quality level
  QLabel* Label2 = nullptr;           // connection verdict
  QGroupBox* Frame4 = nullptr;        // "Statistics"
  QLabel* Label5 = nullptr;           // received packets
  QLabel* Label4 = nullptr;           // sent packets
  QLabel* Label6 = nullptr;           // testing time
  QLabel* Label11 = nullptr;          // "Received Packets"
  QLabel* Label10 = nullptr;          // "Sent Packets"
  QLabel* Label12 = nullptr;          // "Testing Time"
  // The link test's 500 ms clock. It sits on the programming page's frame in the window's
  // design, but only the link test drives it.
  platform::IntervalTimer* Timer1 = nullptr;
};

}  // namespace operations
