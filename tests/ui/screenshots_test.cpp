// Pictures of every page of the main window, of each help window and of the start-up window.
// With TALVORA_SCREENSHOT_DIR set they are kept there (docs/screenshots/update.sh does that);
// otherwise they go to a temporary folder. Each picture is also checked for what must show in
// it: its size and the designed colours at known places.

#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <cstdlib>

#include "operations/register_table.h"
#include "ui/cdemo.h"
#include "ui/help_windows.h"
#include "ui/intro.h"
#include "ui_test_support.h"

namespace {

using uitest::Find;

class Screenshots : public uitest::WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    if (const char* dir = std::getenv("TALVORA_SCREENSHOT_DIR"); dir != nullptr && *dir != 0) {
      folder_ = QString::fromLocal8Bit(dir);
      QDir().mkpath(folder_);
    } else {
      ASSERT_TRUE(temporary_.isValid());
      folder_ = temporary_.path();
    }
  }

  QImage Save(QWidget& window, const QString& name) {
    const QPixmap picture = window.grab();
    const QString path = QDir(folder_).filePath(name + QStringLiteral(".png"));
    EXPECT_TRUE(picture.save(path, "PNG")) << path.toStdString();
    return QImage(path).convertToFormat(QImage::Format_RGB32);
  }

  // A point of a control's ground, clear of its text: near its right end, half-way down.
  static QPoint GroundOf(const QWidget* control) {
    return uitest::WindowPosition(control) + QPoint(control->width() - 5, control->height() / 2);
  }

  // Whether any pixel inside `area` has exactly this colour.
  static bool Shows(const QImage& image, const QRect& area, QRgb colour) {
    for (int y = area.top(); y <= area.bottom(); ++y) {
      for (int x = area.left(); x <= area.right(); ++x) {
        if (image.pixel(x, y) == colour) return true;
      }
    }
    return false;
  }

  QString folder_;
  QTemporaryDir temporary_;
};

TEST_F(Screenshots, EachPageShowsItsControlsInTheirColours) {
  ui::CDemo window([] { return std::string("COM1"); });
  window.Form_Load();
  window.show();
  const auto& programming = window.Programming();

  window.SSTab1()->setCurrentIndex(0);
  const QImage page0 = Save(window, QStringLiteral("programming"));
  ASSERT_EQ(page0.size(), QSize(632, 457));
  EXPECT_EQ(page0.pixel(GroundOf(programming.Text6[0])), qRgb(255, 255, 128));
  EXPECT_EQ(page0.pixel(GroundOf(programming.Text6[4])), qRgb(255, 255, 192));
  EXPECT_EQ(page0.pixel(GroundOf(programming.Text8[31])), qRgb(255, 192, 192));
  EXPECT_EQ(page0.pixel(GroundOf(programming.Text8[30])), qRgb(255, 224, 192));
  EXPECT_EQ(page0.pixel(GroundOf(programming.Text7)), qRgb(192, 255, 255));
  // The frame's caption is drawn in its own colour, above the first row.
  const QPoint frame = uitest::WindowPosition(programming.Frame2);
  EXPECT_TRUE(Shows(page0, QRect(frame, QSize(200, 20)), qRgb(192, 0, 192)));

  window.SSTab1()->setCurrentIndex(1);
  const QImage page1 = Save(window, QStringLiteral("radio_testing"));
  const auto& radio = window.RadioTesting();
  EXPECT_EQ(page1.pixel(GroundOf(radio.Label3)), qRgb(128, 255, 128));
  EXPECT_EQ(page1.pixel(GroundOf(radio.Label6)), qRgb(255, 255, 192));
  EXPECT_TRUE(
      Shows(page1, QRect(uitest::WindowPosition(radio.Frame1), QSize(120, 20)), qRgb(128, 0, 128)));

  window.SSTab1()->setCurrentIndex(2);
  const QImage page2 = Save(window, QStringLiteral("terminal"));
  const auto& terminal = window.Terminal();
  EXPECT_EQ(page2.pixel(GroundOf(terminal.TermText)), qRgb(128, 255, 255));
  EXPECT_TRUE(Shows(page2, QRect(uitest::WindowPosition(terminal.Frame5), QSize(120, 20)),
                    qRgb(192, 0, 0)));

  // The terminal as a master sees it, with the "to" and "from" boxes shown.
  for (QWidget* control : std::initializer_list<QWidget*>{terminal.Text2, terminal.Text3,
                                                          terminal.Label14, terminal.Label13}) {
    control->show();
  }
  const QImage master = Save(window, QStringLiteral("terminal_master"));
  EXPECT_EQ(master.pixel(GroundOf(terminal.Text2)), qRgb(255, 255, 128));

  // The three lamps side by side.
  QImage lamps(3 * 40, 40, QImage::Format_ARGB32);
  lamps.fill(window.palette().color(QPalette::Window));
  QPainter painter(&lamps);
  for (int i = 0; i < 3; ++i)
    painter.drawPixmap(4 + 40 * i, 4, radio.Picture1[i]->pixmap());
  painter.end();
  EXPECT_TRUE(lamps.save(QDir(folder_).filePath(QStringLiteral("lamps.png")), "PNG"));

  window.close();
}

TEST_F(Screenshots, PagesInUseShowTheirTextsInTheirColours) {
  ui::CDemo window([] { return std::string("COM1"); });
  window.Form_Load();
  window.show();
  const auto& programming = window.Programming();
  auto& table = window.RegisterTable();
  // As after a reading of registers 0 to 3, the fourth without an answer.
  for (int row = 0; row < 4; ++row)
    programming.Check1[row]->setChecked(true);
  for (int row : {0, 1, 2})
    table.ValueColour(row, operations::kReadColour);
  programming.Text6[0]->setText(QStringLiteral("0"));
  programming.Text6[1]->setText(QStringLiteral(". 12"));
  programming.Text6[2]->setText(QStringLiteral("255"));
  table.ValueColour(3, operations::kFailedColour);
  programming.Text6[3]->setText(QStringLiteral("NO"));
  programming.Text7->setPlainText(QStringLiteral("Out of Range Programming Values"));
  window.SSTab1()->setCurrentIndex(0);
  const QImage page0 = Save(window, QStringLiteral("programming_in_use"));
  const auto rectOf = [](const QWidget* control) {
    return QRect(uitest::WindowPosition(control), control->size());
  };
  EXPECT_TRUE(Shows(page0, rectOf(programming.Text6[2]), qRgb(0, 0, 192)));
  EXPECT_TRUE(Shows(page0, rectOf(programming.Text6[3]), qRgb(255, 0, 0)));

  const auto& radio = window.RadioTesting();
  radio.Label3->setText(QStringLiteral("3"));
  radio.Label2->setText(QStringLiteral("Difficult Connection"));
  radio.Label5->setText(QStringLiteral("32767"));
  radio.Label4->setText(QStringLiteral("32767"));
  radio.Label6->setText(QStringLiteral(" 546 min 59 sec"));
  radio.Picture1[operations::kGreyLamp]->show();
  window.SSTab1()->setCurrentIndex(1);
  const QImage page1 = Save(window, QStringLiteral("radio_testing_in_use"));
  EXPECT_TRUE(Shows(page1, rectOf(radio.Picture1[0]), qRgb(192, 192, 192)));

  const auto& terminal = window.Terminal();
  for (QWidget* control : std::initializer_list<QWidget*>{terminal.Text2, terminal.Text3,
                                                          terminal.Label14, terminal.Label13}) {
    control->show();
  }
  terminal.Label15->setText(QStringLiteral("Master-Slave Connection"));
  terminal.Text1->setPlainText(QStringLiteral("Hello from the master station"));
  terminal.Text2->setText(QStringLiteral("255"));
  terminal.Text3->setText(QStringLiteral("128"));
  terminal.TermText->setPlainText(QStringLiteral("Hello back"));
  window.SSTab1()->setCurrentIndex(2);
  const QImage page2 = Save(window, QStringLiteral("terminal_in_use"));
  EXPECT_EQ(page2.pixel(GroundOf(terminal.Text1)), qRgb(128, 255, 255));
  window.close();
}

TEST_F(Screenshots, HelpWindowsAndStartUpWindow) {
  ui::CDemo window([] { return std::string("COM1"); });
  window.Form_Load();
  window.show();
  struct Shot {
    operations::HelpTopic topic;
    const char* file;
    QSize size;
  };
  for (const Shot& shot : {Shot{operations::HelpTopic::RemoteAddress, "addr", QSize(525, 80)},
                           Shot{operations::HelpTopic::Delay, "delay", QSize(521, 79)},
                           Shot{operations::HelpTopic::Rs232, "rs232", QSize(544, 104)}}) {
    QImage image;
    uitest::RunModal([&] { window.Help().Open(shot.topic); },
                     [&](QWidget& help) { image = Save(help, QString::fromLatin1(shot.file)); });
    EXPECT_EQ(image.size(), shot.size) << shot.file;
  }
  window.close();

  ui::intro start;
  start.show();
  const QImage image = Save(start, QStringLiteral("intro"));
  EXPECT_EQ(image.size(), QSize(314, 224));
  EXPECT_TRUE(Shows(image, QRect(uitest::WindowPosition(start.Form().Frame1), QSize(150, 20)),
                    qRgb(255, 0, 0)));
}

}  // namespace
