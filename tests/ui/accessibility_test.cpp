// The windows through Qt's in-process accessibility interface, as a screen reader finds them.

#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include <QAccessible>
#include <QApplication>
#include <QTabBar>
#include <map>

#include "operations/page_views.h"
#include "radio_window.h"
#include "ui/accessibility/value_words.h"
#include "ui/intro.h"

namespace {

using uitest::kMs;

QAccessibleInterface* Accessible(QObject* object) {
  return QAccessible::queryAccessibleInterface(object);
}
QString NameOf(QObject* object) {
  return Accessible(object)->text(QAccessible::Name);
}
QString DescriptionOf(QObject* object) {
  return Accessible(object)->text(QAccessible::Description);
}

// Every report to assistive technology while it lives: the kind, the object, and the object's
// name and description as the report went out.
class Reports {
 public:
  struct Report {
    QAccessible::Event type;
    QObject* object;
    QString name, description;
  };

  Reports() {
    Current() = this;
    previous_ = QAccessible::installUpdateHandler(&Record);
  }
  ~Reports() {
    QAccessible::installUpdateHandler(previous_);
    Current() = nullptr;
  }
  // The names (NameChanged) or descriptions (DescriptionChanged) reported for `object`, in order.
  std::vector<QString> Said(QObject* object, QAccessible::Event type) const {
    std::vector<QString> seen;
    for (const Report& report : reports_)
      if (report.object == object && report.type == type)
        seen.push_back(type == QAccessible::NameChanged ? report.name : report.description);
    return seen;
  }

 private:
  static Reports*& Current() {
    static Reports* current = nullptr;
    return current;
  }
  static void Record(QAccessibleEvent* event) {
    Reports* self = Current();
    QAccessibleInterface* iface = event->accessibleInterface();
    if (self != nullptr && iface != nullptr) {
      self->reports_.push_back({event->type(), event->object(), iface->text(QAccessible::Name),
                                iface->text(QAccessible::Description)});
    }
    if (self != nullptr && self->previous_ != nullptr) self->previous_(event);
  }

  std::vector<Report> reports_;
  QAccessible::UpdateHandler previous_ = nullptr;
};

class Accessibility : public uitest::EepromPageTest {
 protected:
  // As when a screen reader runs: Qt passes its reports on only then.
  void SetUp() override {
    EepromPageTest::SetUp();
    Active(true);
  }
  void TearDown() override {
    EepromPageTest::TearDown();
    Active(false);
  }
  static void Active(bool on) {
    QPlatformAccessibility* platform =
        QGuiApplicationPrivate::platformIntegration()->accessibility();
    ASSERT_NE(platform, nullptr);
    platform->setActive(on);
  }
  void LoadActive(const std::string& options) {
    Load(options);
    QApplication::setActiveWindow(&Window());
  }
  // Gives `control` the focus, as Tab would, and lets the window take it in.
  void Focus(QWidget* control) {
    control->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
  }
};

TEST_F(Accessibility, EveryDesignedControlHasANameUniqueOnItsPageAndTheWindowsTheirRoles) {
  Load("host=7");
  QTabWidget* tabs = Window().SSTab1();
  for (int page = 0; page < tabs->count(); ++page) {
    SCOPED_TRACE(page);
    std::map<QString, QString> named;  // spoken name, lower case -> control
    int controls = 0;
    for (QWidget* control : tabs->widget(page)->findChildren<QWidget*>()) {
      // Qt's own parts of a control are named "qt_..."; designed controls have names of theirs.
      if (control->objectName().isEmpty() || control->objectName().startsWith("qt_")) continue;
      ++controls;
      const QString name = NameOf(control);
      EXPECT_FALSE(name.trimmed().isEmpty()) << control->objectName().toStdString();
      // A caption says the name of the control it stands for, tied to it as its buddy.
      if (auto* label = qobject_cast<QLabel*>(control); label && label->buddy()) {
        const auto related = Accessible(label->buddy())->relations(QAccessible::Label);
        EXPECT_TRUE(std::any_of(related.begin(), related.end(), [&](const auto& r) {
          return r.first->object() == label;
        })) << control->objectName().toStdString();
        continue;
      }
      const auto [it, added] = named.emplace(name.toLower(), control->objectName());
      EXPECT_TRUE(added) << name.toStdString() << ": " << control->objectName().toStdString()
                         << " and " << it->second.toStdString();
    }
    EXPECT_GT(controls, 10);
  }
  EXPECT_EQ(NameOf(Page().Text6[10]), "Register 0a value");
  EXPECT_EQ(NameOf(Page().Text8[0]), "Register 00 name: Module Address");
  EXPECT_EQ(NameOf(Page().Text8[31]), "Register 1f name: Firmware Release");
  EXPECT_EQ(DescriptionOf(Page().Text8[3]), "F1 or Return explains its values");
  EXPECT_EQ(DescriptionOf(Page().Text8[2]), "");
  EXPECT_EQ(NameOf(Page().Text7), "Status");
  EXPECT_EQ(NameOf(Window().Terminal().Text2), "Destination address");
  // The windows are a dialog and a frame, not fillers.
  EXPECT_EQ(Accessible(&Window())->role(), QAccessible::Dialog);
  EXPECT_EQ(NameOf(&Window()), "TALVORA");
  ui::intro start;
  EXPECT_EQ(Accessible(&start)->role(), QAccessible::Window);
  EXPECT_EQ(NameOf(&start), "intro");
  EXPECT_EQ(NameOf(start.Form().Option1[2]), "COM3");
  EXPECT_EQ(NameOf(start.Form().Command1), "OK");
}

struct Words {
  QRgb colour;
  const char* text;
  bool selected;
  const char* said;
};

class ValueWordsTable : public testing::TestWithParam<Words> {};

TEST_P(ValueWordsTable, SayWhatTheColourSays) {
  const Words& w = GetParam();
  EXPECT_EQ(ui::ValueWords(w.colour, QString::fromLatin1(w.text), w.selected), w.said);
}

INSTANTIATE_TEST_SUITE_P(
    Colours, ValueWordsTable,
    testing::Values(Words{uitest::kDarkBlue, "65", true, "read"},
                    Words{uitest::kDarkBlue, ". 66", true, "read at the second request"},
                    Words{uitest::kRed, "NO", true, "no answer"},
                    Words{uitest::kRed, "12", true, "not confirmed"},
                    Words{uitest::kRed, "000", false, "out of range, not written"},
                    Words{uitest::kGreen, "7", true, "confirmed"},
                    Words{uitest::kBlack, "7", true, ""}, Words{uitest::kReset, "7", true, ""}));

TEST_F(Accessibility, ValueBoxesSayWhatAReadingShowsInColour) {
  int requestsOf5 = 0;
  LoadOnScript([&](const auto& frame, auto& sink) {
    if (frame.bytes == "$\x04") sink.SendToProgram("A", frame.end + 2 * kMs);
    if (frame.bytes == "$\x05" && ++requestsOf5 == 2) sink.SendToProgram("B", frame.end + 2 * kMs);
  });
  Select({4, 5, 6});
  Run(Reading());
  ASSERT_EQ(Value(6), "NO");
  EXPECT_EQ(DescriptionOf(Page().Text6[4]), "read");
  EXPECT_EQ(DescriptionOf(Page().Text6[5]), "read at the second request");
  EXPECT_EQ(DescriptionOf(Page().Text6[6]), "no answer");
  EXPECT_EQ(DescriptionOf(Page().Text6[7]), "") << "not selected";
  // A click makes the value the operator's own again: nothing more to say.
  uitest::Click(Page().Text6[4]);
  EXPECT_EQ(DescriptionOf(Page().Text6[4]), "");
}

TEST_F(Accessibility, ValueBoxesSayWhatProgrammingShowsInColour) {
  Load("host=7");
  Select({0});
  Run(Reading());
  EXPECT_EQ(DescriptionOf(Page().Text6[0]), "read");
  Run(Writing());
  ASSERT_EQ(Colour(0), uitest::kGreen);
  EXPECT_EQ(DescriptionOf(Page().Text6[0]), "confirmed");

  Page().Text6[0]->setText("300");
  Run(Writing());
  EXPECT_EQ(DescriptionOf(Page().Text6[0]), "out of range, not written");
}

TEST_F(Accessibility, AValueNotReadBackSaysNotConfirmed) {
  LoadOnScript();  // a module that never answers
  Page().Text6[2]->setText("9");
  Select({2});
  Run(Writing());
  ASSERT_EQ(Colour(2), uitest::kRed);
  EXPECT_EQ(DescriptionOf(Page().Text6[2]), "not confirmed");
}

TEST_F(Accessibility, TheNewStatusIsReportedOnTheStatusLineAndOnTheFocusedButton) {
  LoadActive("host=7");
  Select({0});
  Focus(Reading());
  ASSERT_EQ(QApplication::focusWidget(), Reading());
  const Reports reports;
  Run(Reading());
  const auto status = reports.Said(Page().Text7, QAccessible::DescriptionChanged);
  EXPECT_EQ(status, (std::vector<QString>{"EEPROM Reading", "OK, EEPROM CORRECTLY READ"}));
  const auto spoken = reports.Said(Reading(), QAccessible::DescriptionChanged);
  ASSERT_FALSE(spoken.empty());
  EXPECT_EQ(spoken.back(), "OK, EEPROM CORRECTLY READ");
  // Once the focus moves on, the button has its own description back.
  Focus(Writing());
  EXPECT_EQ(DescriptionOf(Reading()), "Reads the selected registers");
}

TEST_F(Accessibility, TheLampAndTheLevelAreNamedByTheLinkTheyShow) {
  LoadActive("host=0,remotes=1");
  const auto& radio = Window().RadioTesting();
  Window().SSTab1()->setCurrentIndex(operations::kRadioTestingPage);
  Focus(radio.Command3);
  const Reports reports;
  uitest::Click(radio.Command3);
  RunMs(3250);
  const auto shownLamp = [&] {
    for (QLabel* lamp : radio.Picture1)
      if (lamp->isVisible()) return NameOf(lamp);
    return QString();
  };
  EXPECT_EQ(shownLamp(), "Link lamp: good link");
  EXPECT_EQ(NameOf(radio.Label3), "Link quality level: 5");
  EXPECT_EQ(Accessible(radio.Label3)->role(), QAccessible::StatusBar);
  EXPECT_EQ(NameOf(radio.Label2), "Connection: OK, Connection");
  const auto named = reports.Said(radio.Label3, QAccessible::NameChanged);
  ASSERT_FALSE(named.empty());
  EXPECT_EQ(named.front(), "Link quality level: 5");
  // TEST ON disabled itself: the focus went on to TEST OFF, which spoke the level.
  ASSERT_EQ(QApplication::focusWidget(), radio.Command1);
  const auto spoken = reports.Said(radio.Command1, QAccessible::DescriptionChanged);
  EXPECT_NE(std::find(spoken.begin(), spoken.end(), "Link quality level: 5"), spoken.end());

  radio.Command1->click();
  EXPECT_EQ(shownLamp(), "Link lamp: no link");
  EXPECT_EQ(NameOf(radio.Label5), "Received Packets: 3");
  EXPECT_EQ(NameOf(radio.Label3), "Link quality level");
  QApplication::processEvents();
  EXPECT_EQ(QApplication::focusWidget(), radio.Command3)
      << "not the tab strip but " << QApplication::focusWidget()->objectName().toStdString() << " "
      << QApplication::focusWidget()->metaObject()->className();
}

TEST_F(Accessibility, KeysOnANameBoxOpenItsHelpWindowAsAClickDoes) {
  Load("host=7");
  const std::pair<int, Qt::Key> keys[] = {{0, Qt::Key_F1}, {1, Qt::Key_Return}, {3, Qt::Key_Enter}};
  const char* const captions[] = {"Remote Address", "Delay", "", "RS 232 Characteristics"};
  for (const auto& [row, key] : keys) {
    const QPointer<QWidget> byKey =
        uitest::RunModal([&, row = row, key = key] { QTest::keyClick(Page().Text8[row], key); });
    ASSERT_NE(byKey, nullptr) << row;
    EXPECT_EQ(byKey->windowTitle(), captions[row]);
    EXPECT_EQ(uitest::RunModal([&, row = row] { uitest::Click(Page().Text8[row]); }), byKey);
  }
  EXPECT_EQ(uitest::RunModal([&] { QTest::keyClick(Page().Text8[2], Qt::Key_F1); }), nullptr);
}

TEST_F(Accessibility, WithheldPagesSaySo) {
  Load("host=7");
  QTabBar* strip = Window().SSTab1()->tabBar();
  Select({0});
  QString during;
  After(100, [&] { during = strip->accessibleTabName(operations::kRadioTestingPage); });
  Run(Reading());
  EXPECT_EQ(during, "Radio Testing, unavailable while an operation runs");
  EXPECT_EQ(strip->accessibleTabName(operations::kRadioTestingPage), "");
  EXPECT_EQ(DescriptionOf(Window().SSTab1()->widget(operations::kRadioTestingPage)), "");
}

}  // namespace
