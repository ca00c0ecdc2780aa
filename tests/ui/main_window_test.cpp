// The main window as the load step leaves it, against its design in twips, fifteen to the pixel.

#include <QTabBar>

#include "platform/interval_timer.h"
#include "radio_window.h"
#include "ui/kit/controls.h"

namespace {

using MainWindow = uitest::RadioWindowTest;

// A caption, a frame's title or a box's text.
QString TextOf(const QWidget* control) {
  for (const char* property : {"text", "title", "plainText"}) {
    if (const QVariant text = control->property(property); text.isValid()) return text.toString();
  }
  return {};
}

// A frame's caption colour, a text box's or a panel's background, a lamp's face; 0 where the
// style's own.
QRgb ColourOf(const QWidget* control) {
  if (const auto* frame = dynamic_cast<const ui::Frame*>(control)) {
    return frame->CaptionColour().value_or(0);
  }
  if (qobject_cast<const QLineEdit*>(control) || qobject_cast<const QPlainTextEdit*>(control)) {
    return control->palette().color(QPalette::Base).rgb();
  }
  const auto* label = qobject_cast<const QLabel*>(control);
  if (label == nullptr) return 0;
  if (!label->pixmap().isNull()) return label->pixmap().toImage().pixel(16, 16);
  return label->autoFillBackground() ? label->palette().color(QPalette::Window).rgb() : 0;
}

struct Designed {
  const char* name;
  const char* text;
  bool shown, enabled;
  const char* face;  // null: a picture, whose font does not show
  int pixels;
  QRgb colour;
  QPoint in;                     // the container's top-left corner in the window, twips
  int left, top, width, height;  // in the container, twips; -1: no size designed
};

// The design's two faces.
constexpr const char* T = "Tahoma";
constexpr const char* A = "Arial Rounded MT Bold";
constexpr QRgb kYellow = qRgb(255, 255, 128), kPaleYellow = qRgb(255, 255, 192);
constexpr QRgb kPink = qRgb(255, 192, 192), kPeach = qRgb(255, 224, 192);
constexpr QRgb kGreen = qRgb(128, 255, 128), kCyan = qRgb(128, 255, 255);
// Controls on a page are placed relative to the tab control, at (-15, -45) in the window.
constexpr QPoint kWindow{0, 0}, kPage{-15, -45};
constexpr QPoint kFrame2 = kPage + QPoint(165, 495), kFrame1 = kPage + QPoint(345, 750);
constexpr QPoint kFrame3 = kFrame1 + QPoint(2400, 360), kFrame4 = kFrame1 + QPoint(2400, 1560);
constexpr QPoint kFrame5 = kPage + QPoint(288, 1248);

const Designed kLoaded[] = {
    {"SSTab1", "", 1, 1, T, 12, 0, kWindow, -15, -45, 9495, 6870},
    {"Frame2", "EEPROM Values", 1, 1, T, 15, qRgb(192, 0, 192), kPage, 165, 495, 9204, 6228},
    {"Check1(10)", "0a", 1, 1, T, 11, 0, kFrame2, 96, 2952, 520, 252},
    {"Text6(4)", "255", 1, 1, T, 11, kPaleYellow, kFrame2, 600, 1488, 500, 300},
    {"Text6(31)", "255", 1, 1, T, 11, kYellow, kFrame2, 5136, 4128, 500, 300},
    {"Text8(0)", "Module Address", 1, 1, T, 11, kPink, kFrame2, 1128, 528, 3200, 300},
    {"Text8(1)", "Synchro Prehamble Delay", 1, 1, T, 11, kPink, kFrame2, 1128, 768, 3200, 300},
    {"Text8(2)", "Synchro Character", 1, 1, T, 11, kPink, kFrame2, 1128, 1008, 3200, 300},
    {"Text8(3)", "RS 232 Features Setting", 1, 1, T, 11, kPink, kFrame2, 1128, 1248, 3200, 300},
    {"Text8(4)", "Reserved", 1, 1, T, 11, kPeach, kFrame2, 1128, 1488, 3200, 300},
    {"Text8(31)", "Firmware Release", 1, 1, T, 11, kPink, kFrame2, 5664, 4128, 3200, 300},
    {"Option1", "Host Module ", 1, 1, T, 15, 0, kFrame2, 870, 4560, 2565, 348},
    {"Option2", "Remote Module ", 1, 1, T, 15, 0, kFrame2, 864, 4896, 4428, 300},
    {"Command2", "EEPROM Reading", 1, 1, T, 12, 0, kFrame2, 480, 5424, 1332, 492},
    {"Command4", "EEPROM Writing", 1, 1, T, 12, 0, kFrame2, 1935, 5415, 1212, 492},
    {"Text7", "", 1, 1, A, 14, qRgb(192, 255, 255), kFrame2, 3360, 5472, 5676, 372},
    {"Frame1", "Testing", 1, 1, T, 15, qRgb(128, 0, 128), kPage, 345, 750, 8892, 2892},
    {"Picture1(0)", "", 0, 1, nullptr, 0, qRgb(192, 192, 192), kFrame1, 1080, 480, 480, 480},
    {"Picture1(1)", "", 0, 1, nullptr, 0, qRgb(0, 255, 0), kFrame1, 1080, 480, 480, 480},
    {"Picture1(2)", "", 0, 1, nullptr, 0, qRgb(255, 0, 0), kFrame1, 1080, 480, 480, 480},
    {"Command3", "TEST ON", 1, 1, T, 11, 0, kFrame1, 720, 1080, 1092, 372},
    {"Command1", "TEST OFF", 1, 0, T, 11, 0, kFrame1, 720, 1680, 1092, 372},
    {"Frame3", "Radio Connection", 1, 1, T, 11, 0, kFrame1, 2400, 360, 6252, 1092},
    {"Label7", "0-1: no", 1, 1, T, 9, 0, kFrame3, 120, 300, -1, -1},
    {"Label8", "2-3: difficult", 1, 1, T, 9, 0, kFrame3, 120, 540, -1, -1},
    {"Label9", "4-5: good", 1, 1, T, 9, 0, kFrame3, 120, 780, -1, -1},
    {"Label3", "", 1, 1, T, 32, kGreen, kFrame3, 1575, 270, 735, 615},
    {"Label2", "", 1, 1, T, 18, kGreen, kFrame3, 2640, 336, 3468, 516},
    {"Frame4", "Statistics", 1, 1, T, 11, 0, kFrame1, 2400, 1560, 6252, 1092},
    {"Label5", "", 1, 1, T, 14, kPaleYellow, kFrame4, 240, 240, 1212, 372},
    {"Label4", "", 1, 1, T, 14, kPaleYellow, kFrame4, 2040, 240, 1332, 372},
    {"Label6", "", 1, 1, T, 14, kPaleYellow, kFrame4, 3840, 240, 2172, 372},
    {"Label11", "Received Packets", 1, 1, T, 9, 0, kFrame4, 240, 720, 1212, -1},
    {"Label10", "Sent Packets", 1, 1, T, 9, 0, kFrame4, 2040, 720, 1332, -1},
    {"Label12", "Testing Time", 1, 1, T, 9, 0, kFrame4, 3840, 720, 2172, -1},
    {"Frame5", "Terminal", 1, 1, T, 15, qRgb(192, 0, 0), kPage, 288, 1248, 8940, 3036},
    {"Command7", "Initialization", 1, 1, T, 16, 0, kPage, 600, 1536, 2364, 444},
    {"Command6", "Stop", 1, 0, T, 16, 0, kPage, 7425, 1635, 1500, 396},
    {"Label15", "", 1, 1, A, 18, 0, kFrame5, 2055, 1005, 5250, 345},
    {"Command5", "Send Data", 1, 0, T, 16, 0, kFrame5, 330, 1620, 1500, 396},
    {"Text1", "", 1, 1, A, 14, kCyan, kFrame5, 2085, 1485, 4995, 645},
    {"Label14", "to", 0, 1, T, 16, 0, kFrame5, 7410, 1650, -1, -1},
    {"Text2", "", 0, 1, A, 14, kYellow, kFrame5, 7905, 1620, 444, 396},
    {"Label1", "Received Data", 1, 1, T, 16, 0, kFrame5, 240, 2415, -1, -1},
    {"TermText", "", 1, 1, A, 14, kCyan, kFrame5, 2100, 2265, 5025, 630},
    {"Label13", "from", 0, 1, T, 16, 0, kFrame5, 7230, 2415, -1, -1},
    {"Text3", "", 0, 1, A, 14, kYellow, kFrame5, 7905, 2340, 444, 444},
};

TEST_F(MainWindow, LoadingLeavesEveryControlAsDesignedAndOpensThePort) {
  LoadOnScript();
  for (const Designed& row : kLoaded) {
    SCOPED_TRACE(row.name);
    const auto* control = Window().findChild<QWidget*>(QString::fromLatin1(row.name));
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(TextOf(control), QString::fromLatin1(row.text));
    EXPECT_EQ(!control->isHidden(), row.shown);
    EXPECT_EQ(control->isEnabled(), row.enabled);
    EXPECT_EQ(ColourOf(control), row.colour);
    uitest::ExpectPlaced(control, row.in.x() + row.left, row.in.y() + row.top, row.width,
                         row.height);
    if (row.face == nullptr) continue;
    EXPECT_EQ(control->font().family(), QString::fromLatin1(row.face));
    EXPECT_EQ(control->font().pixelSize(), row.pixels);
    EXPECT_TRUE(control->font().bold());
  }
  // The register grid: two columns of sixteen rows, 240 twips apart; the selector is centred
  // on its value box, and the load step has widened the name boxes to 3200 twips.
  const auto& grid = Window().Programming();
  for (int row = 0; row < 32; ++row) {
    SCOPED_TRACE(row);
    const int right = row / 16, top = kFrame2.y() + 528 + (row % 16) * 240;
    uitest::ExpectPlaced(grid.Check1[row], kFrame2.x() + (right ? 4608 : 96), top + 24, 520, 252);
    uitest::ExpectPlaced(grid.Text6[row], kFrame2.x() + (right ? 5136 : 600), top, 500, 300);
    uitest::ExpectPlaced(grid.Text8[row], kFrame2.x() + (right ? 5664 : 1128), top, 3200, 300);
    EXPECT_EQ(grid.Text6[row]->text(), QStringLiteral("255"));
    EXPECT_FALSE(grid.Check1[row]->isChecked());
    EXPECT_TRUE(grid.Text8[row]->isReadOnly());
  }
  // A fixed window (its title-bar buttons: window_manners_test); three pages in one row of
  // tabs, 420 twips high.
  EXPECT_EQ(Window().windowTitle(), QStringLiteral("TALVORA"));
  EXPECT_EQ(Window().minimumSize(), QSize(632, 457));
  EXPECT_EQ(Window().maximumSize(), QSize(632, 457));
  const QTabBar* strip = Window().SSTab1()->tabBar();
  const QStringList pages = {"&Programming", "&Radio Testing", "&Terminal"};
  for (int page = 0; page < 3; ++page) {
    EXPECT_EQ(strip->tabText(page), pages[page]);
    EXPECT_EQ(strip->tabRect(page), QRect(page * 211, 0, 211, 28));
    EXPECT_TRUE(strip->isTabEnabled(page));
  }
  EXPECT_EQ(Window().SSTab1()->currentIndex(), 0);
  EXPECT_TRUE(grid.Option1->isChecked());
  EXPECT_EQ(Window().Session().ModuleKind, 0);
  EXPECT_TRUE(Window().Session().SendPhase);
  EXPECT_FALSE(Window().RadioTesting().Timer1->Enabled());
  EXPECT_TRUE(platform::IsCloseCommandEnabled(Window().hWnd()));
  ASSERT_NE(functions::serial, nullptr);
  EXPECT_EQ(functions::serial->devicename(), "COM1");
  EXPECT_NE(functions::lngTimerID, 0);
}

// Where the text of a bordered label stands inside its border, as the operator sees it: the
// empty pixels left of, right of, above and below its ink.
QMargins TextGaps(QLabel* label) {
  const QImage image = label->grab().toImage();
  const QRect inside = label->contentsRect();
  QRect ink;
  for (int y = inside.top(); y <= inside.bottom(); ++y) {
    for (int x = inside.left(); x <= inside.right(); ++x)
      if (qGray(image.pixel(x, y)) < 128) ink |= QRect(x, y, 1, 1);
  }
  return {ink.left() - inside.left(), ink.top() - inside.top(), inside.right() - ink.right(),
          inside.bottom() - ink.bottom()};
}

TEST_F(MainWindow, BorderedLabelsKeepTheirTextWithinTheBorderWhereDesigned) {
  LoadOnScript();
  Window().SSTab1()->setCurrentIndex(1);
  // Each row: label, text, whether it is centred (else right-aligned), and whether it stands
  // in the middle of its box from top to bottom too, as the big quality digit does.
  const std::tuple<const char*, const char*, bool, bool> cases[] = {
      {"Label3", "5", true, true}, {"Label5", "32767", false, false}};
  for (const auto& [name, text, centred, middle] : cases) {
    SCOPED_TRACE(name);
    auto* label = Window().findChild<QLabel*>(QString::fromLatin1(name));
    label->setText(QString::fromLatin1(text));
    const QMargins gaps = TextGaps(label);
    EXPECT_GE(std::min({gaps.left(), gaps.top(), gaps.right(), gaps.bottom()}), 1)
        << "the text touches the border";
    if (centred) {
      EXPECT_LE(std::abs(gaps.left() - gaps.right()), 1);
    } else {
      EXPECT_LE(gaps.right(), 2) << "the text ends at the border";
    }
    EXPECT_TRUE(!middle || std::abs(gaps.top() - gaps.bottom()) <= 3)
        << gaps.top() << " above, " << gaps.bottom() << " below";
  }
}

}  // namespace
