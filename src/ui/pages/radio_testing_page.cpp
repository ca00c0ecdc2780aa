#include <QLabel>

#include "ui/kit/controls.h"
#include "ui/kit/lamp_icons.h"
#include "ui/pages/pages.h"

namespace ui {
namespace {

constexpr Twips kRadioFrame1{345, 750, 8892, 2892};
constexpr Twips kFrame3{2400, 360, 6252, 1092};
constexpr Twips kFrame4{2400, 1560, 6252, 1092};
constexpr Twips kLamp{1080, 480, 480, 480};

constexpr QRgb kRadioFrameCaption = qRgb(128, 0, 128);
constexpr QRgb kQualityGround = qRgb(128, 255, 128);
constexpr QRgb kCountGround = qRgb(255, 255, 192);

// The legend lines stand one under the other at the left edge of "Radio Connection".
constexpr int kLegendLeft = 120;
constexpr int kLegendTop = 300;
constexpr int kLegendStep = 240;
constexpr int kLegendWidth = 1335;
constexpr int kLegendHeight = 210;

// Captions under the statistics, each as wide as the value above it.
constexpr int kCaptionTop = 720;
constexpr int kCaptionHeight = 252;

QLabel* AddLamp(const Designer& frame, int index, QRgb colour) {
  auto* lamp = new QLabel(frame.Container());
  frame.Place(lamp, QStringLiteral("Picture1(%1)").arg(index), lamp->font(), kLamp);
  lamp->setAlignment(Qt::AlignCenter);
  lamp->setPixmap(LampIcon(colour));
  return lamp;
}

}  // namespace

RadioTestingControls BuildRadioTestingPage(const Designer& page) {
  RadioTestingControls controls;
  Frame* frame1 = AddFrame(page, QStringLiteral("Frame1"), QStringLiteral("Testing"),
                           DesignFont(kTahoma, 11.25), kRadioFrame1, kRadioFrameCaption);
  controls.Frame1 = frame1;
  const Designer testing = page.Inside(frame1, kRadioFrame1);

  controls.Picture1[operations::kGreyLamp] = AddLamp(testing, 0, kGreyLampColour);
  controls.Picture1[operations::kGreenLamp] = AddLamp(testing, 1, kGreenLampColour);
  controls.Picture1[operations::kRedLamp] = AddLamp(testing, 2, kRedLampColour);

  const QFont small = DesignFont(kTahoma, 8.25);
  controls.Command3 = AddButton(testing, QStringLiteral("Command3"), QStringLiteral("TEST ON"),
                                small, {720, 1080, 1092, 372});
  controls.Command1 = AddButton(testing, QStringLiteral("Command1"), QStringLiteral("TEST OFF"),
                                small, {720, 1680, 1092, 372});

  controls.Frame3 = AddFrame(testing, QStringLiteral("Frame3"), QStringLiteral("Radio Connection"),
                             small, kFrame3);
  const Designer connection = testing.Inside(controls.Frame3, kFrame3);
  const QFont legend = DesignFont(kTahoma, 6.75);
  const auto legendLine = [](int line) {
    return Twips{kLegendLeft, kLegendTop + line * kLegendStep, kLegendWidth, kLegendHeight};
  };
  controls.Label7 = AddLabel(connection, QStringLiteral("Label7"), QStringLiteral("0-1: no"),
                             legend, legendLine(0));
  controls.Label8 = AddLabel(connection, QStringLiteral("Label8"), QStringLiteral("2-3: difficult"),
                             legend, legendLine(1));
  controls.Label9 = AddLabel(connection, QStringLiteral("Label9"), QStringLiteral("4-5: good"),
                             legend, legendLine(2));
  controls.Label3 = AddPanelLabel(connection, QStringLiteral("Label3"), DesignFont(kTahoma, 24),
                                  {1575, 270, 735, 615}, kQualityGround, Qt::AlignHCenter);
  controls.Label2 = AddPanelLabel(connection, QStringLiteral("Label2"), DesignFont(kTahoma, 13.5),
                                  {2640, 336, 3468, 516}, kQualityGround, Qt::AlignHCenter);

  controls.Frame4 =
      AddFrame(testing, QStringLiteral("Frame4"), QStringLiteral("Statistics"), small, kFrame4);
  const Designer statistics = testing.Inside(controls.Frame4, kFrame4);
  const QFont count = DesignFont(kTahoma, 10.5);
  const Twips received{240, 240, 1212, 372};
  const Twips sent{2040, 240, 1332, 372};
  const Twips time{3840, 240, 2172, 372};
  controls.Label5 = AddPanelLabel(statistics, QStringLiteral("Label5"), count, received,
                                  kCountGround, Qt::AlignRight);
  controls.Label4 = AddPanelLabel(statistics, QStringLiteral("Label4"), count, sent, kCountGround,
                                  Qt::AlignRight);
  controls.Label6 = AddPanelLabel(statistics, QStringLiteral("Label6"), count, time, kCountGround,
                                  Qt::AlignRight);
  const auto under = [](const Twips& value) {
    return Twips{value.left, kCaptionTop, value.width, kCaptionHeight};
  };
  controls.Label11 =
      AddLabel(statistics, QStringLiteral("Label11"), QStringLiteral("Received Packets"), legend,
               under(received), Qt::AlignHCenter);
  controls.Label10 = AddLabel(statistics, QStringLiteral("Label10"), QStringLiteral("Sent Packets"),
                              legend, under(sent), Qt::AlignHCenter);
  controls.Label12 = AddLabel(statistics, QStringLiteral("Label12"), QStringLiteral("Testing Time"),
                              legend, under(time), Qt::AlignHCenter);
  return controls;
}

}  // namespace ui
