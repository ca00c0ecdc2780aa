#include "ui/port_choice.h"

#include <QActionGroup>
#include <QEvent>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>
#include <QRadioButton>
#include <QTimer>
#include <QToolTip>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "ports/port_descriptions.h"
#include "ports/port_map.h"
#include "ports/port_names.h"
#include "ports/port_settings.h"
#include "ports/port_watcher.h"

namespace ui {
namespace {

constexpr const char* kSimulatedChoice = "Simulated radio system";
constexpr const char* kOtherChoice = "Other device…";
constexpr const char* kAutomaticChoice = "Automatic";
constexpr const char* kSimulatedDevice = "sim";
constexpr const char* kEnvironmentDecides = "talvoraEnvironmentDecides";

std::string NameOf(int index) {
  return ports::ComName(index + 1);
}

// The choices exclude each other: radio items of one group. While the environment decides the
// port none of them is in force, so none is ticked and none can be chosen.
QAction* AddChoice(QMenu* menu, const QString& text, bool current) {
  auto* group = menu->findChild<QActionGroup*>(QString(), Qt::FindDirectChildrenOnly);
  if (group == nullptr) group = new QActionGroup(menu);
  QAction* action = menu->addAction(text);
  action->setCheckable(true);
  action->setActionGroup(group);
  action->setChecked(current && !menu->property(kEnvironmentDecides).toBool());
  action->setEnabled(!menu->property(kEnvironmentDecides).toBool());
  return action;
}

// Shows an option's tooltip to the right of the option, where it hides none of the others.
class TooltipBeside final : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* option = qobject_cast<QWidget*>(watched);
    if (option == nullptr || event->type() != QEvent::ToolTip) return false;
    QToolTip::showText(option->mapToGlobal(QPoint(option->width(), 0)), option->toolTip(), option,
                       option->rect());
    return true;
  }
};

}  // namespace

PortChoice::PortChoice(const std::array<QRadioButton*, kPortCount>& options, QObject* parent)
    : QObject(parent), options_(options), watcher_(new ports::PortWatcher(this)) {
  for (int i = 0; i < kPortCount; ++i) {
    QRadioButton* option = options_[static_cast<std::size_t>(i)];
    option->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(option, &QWidget::customContextMenuRequested, this,
            [this, i](const QPoint& at) { ShowMenu(i, at); });
    option->installEventFilter(new TooltipBeside(option));
  }
  connect(watcher_, &ports::PortWatcher::Changed, this, &PortChoice::RefreshTooltips);
  // The window shows first; the devices behind the names are looked up once it is on the
  // screen. A name chosen before that is resolved when its port opens, as always.
  options_.front()->window()->installEventFilter(this);
}

bool PortChoice::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Paint && watched == options_.front()->window()) {
    watched->removeEventFilter(this);
    QTimer::singleShot(0, this, [this] { RefreshTooltips(); });
  }
  return QObject::eventFilter(watched, event);
}

void PortChoice::RefreshTooltips() {
  const std::vector<std::string> texts = ports::DescribeComNames();
  for (std::size_t i = 0; i < options_.size() && i < texts.size(); ++i)
    options_[i]->setToolTip(QString::fromStdString(texts[i]));
}

QMenu* PortChoice::MenuFor(int index, QWidget* parent) {
  auto* menu = new QMenu(parent);
  menu->setObjectName(QStringLiteral("PortMenu"));
  const std::string name = NameOf(index);
  const std::string variable = ports::ComVariable(index + 1);
  if (const char* set = std::getenv(variable.c_str()); set != nullptr && *set != '\0') {
    // The environment wins over whatever is chosen here.
    QAction* decided =
        menu->addAction(QString::fromStdString(variable + " sets " + name + " to " + set));
    decided->setCheckable(true);
    decided->setChecked(true);
    decided->setEnabled(false);
    menu->setProperty(kEnvironmentDecides, true);
    menu->addSeparator();
  }
  const ports::PortSettings saved = ports::ReadPortSettings();
  const auto it = saved.devices.find(name);
  const std::string current = it == saved.devices.end() ? std::string() : it->second;

  bool listed = current.empty();
  for (const ports::DetectedPort& port : ports::DetectedPorts()) {
    const QString text = QString::fromStdString(port.path + "  (" + port.description + ")");
    listed = listed || current == port.path;
    connect(AddChoice(menu, text, current == port.path), &QAction::triggered, this,
            [this, index, device = port.path] { Choose(index, device); });
  }
  menu->addSeparator();
  const bool simulated = ports::IsSimulated(current);
  connect(AddChoice(menu, QString::fromLatin1(kSimulatedChoice), simulated), &QAction::triggered,
          this, [this, index] { Choose(index, kSimulatedDevice); });
  connect(AddChoice(menu, QString::fromUtf8(kOtherChoice), !listed && !simulated),
          &QAction::triggered, this, [this, index, current] { AskForDevice(index, current); });
  menu->addSeparator();
  connect(AddChoice(menu, QString::fromLatin1(kAutomaticChoice), current.empty()),
          &QAction::triggered, this, [this, index] { Choose(index, {}); });
  return menu;
}

void PortChoice::ShowMenu(int index, const QPoint& at) {
  QRadioButton* option = options_[static_cast<std::size_t>(index)];
  const std::unique_ptr<QMenu> menu(MenuFor(index, option));
  menu->exec(option->mapToGlobal(at));
}

void PortChoice::AskForDevice(int index, const std::string& current) {
  bool ok = false;
  const QString device = QInputDialog::getText(
      options_[static_cast<std::size_t>(index)]->window(), QString::fromStdString(NameOf(index)),
      QStringLiteral("Device (a path such as /dev/ttyUSB0, or sim:options):"), QLineEdit::Normal,
      QString::fromStdString(current), &ok);
  if (ok && !device.trimmed().isEmpty()) Choose(index, device.trimmed().toStdString());
}

void PortChoice::Choose(int index, const std::string& device) {
  std::string problem;
  if (!ports::SavePortSetting(NameOf(index), device, problem)) {
    const std::string text = NameOf(index) + " not saved: " + problem;
    std::fprintf(stderr, "talvora: %s\n", text.c_str());
    QMessageBox box(QMessageBox::Warning, QString::fromStdString(NameOf(index)),
                    QString::fromStdString(text), QMessageBox::Ok,
                    options_[static_cast<std::size_t>(index)]->window());
    box.setObjectName("PortChoiceMessage");
    box.exec();
  }
  RefreshTooltips();
}

}  // namespace ui
