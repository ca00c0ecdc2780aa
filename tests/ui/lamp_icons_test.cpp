// The lamp images of the link test: a round lamp of its colour with a black rim and a white
// highlight, and which picture box shows which lamp.

#include "ui/lamp_icons.h"

#include <QImage>
#include <QLabel>

#include "ui/cdemo.h"
#include "ui_test_support.h"

namespace {

void ExpectLamp(const QImage& image, QRgb colour) {
  ASSERT_EQ(image.size(), QSize(32, 32));
  EXPECT_EQ(image.pixel(16, 16), colour) << "the lamp's face";
  EXPECT_EQ(image.pixel(20, 24), colour) << "the lamp's face";
  EXPECT_EQ(image.pixel(16, 2), qRgb(0, 0, 0)) << "the rim at the top";
  EXPECT_EQ(image.pixel(29, 16), qRgb(0, 0, 0)) << "the rim at the right";
  EXPECT_EQ(image.pixel(11, 9), qRgb(255, 255, 255)) << "the highlight";
  EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << "a clear ground in the corners";
  EXPECT_EQ(qAlpha(image.pixel(31, 31)), 0) << "a clear ground in the corners";
}

TEST(LampIcons, ARoundLampWithRimAndHighlight) {
  for (QRgb colour : {qRgb(192, 192, 192), qRgb(0, 255, 0), qRgb(255, 0, 0)}) {
    SCOPED_TRACE(colour);
    ExpectLamp(ui::LampIcon(colour).toImage().convertToFormat(QImage::Format_ARGB32), colour);
  }
}

class LampPictures : public uitest::WindowTest {};

TEST_F(LampPictures, PictureBoxesShowGreyGreenAndRed) {
  ui::CDemo window([] { return std::string("COM1"); });
  const QRgb colours[] = {qRgb(192, 192, 192), qRgb(0, 255, 0), qRgb(255, 0, 0)};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    const QLabel* picture = window.RadioTesting().Picture1[i];
    EXPECT_EQ(picture->objectName(), QStringLiteral("Picture1(%1)").arg(i));
    ExpectLamp(picture->pixmap().toImage().convertToFormat(QImage::Format_ARGB32), colours[i]);
  }
}

}  // namespace
