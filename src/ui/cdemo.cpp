#include "ui/cdemo.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "link/functions.h"
#include "operations/page_model.h"
#include "ui/accessibility/accessibility.h"
#include "ui/fatal_error.h"
#include "ui/help_windows.h"
#include "ui/kit/click_events.h"
#include "ui/kit/close_button_hint.h"
#include "ui/kit/tab_control.h"
#include "ui/kit/twips.h"
#include "ui/kit/window_focus.h"
#include "ui/link_history.h"
#include "ui/pages/control_views.h"
#include "ui/pages/page_logic.h"
#include "ui/pages/pages.h"
#include "ui/pages/profile_actions.h"
#include "ui/window_manners.h"

namespace ui {
namespace {

constexpr QSize kClientTwips{9480, 6855};
// The tab control lies just outside the client area on the left and at the top, so that its
// own borders do not show there.
constexpr Twips kSSTab1{-15, -45, 9495, 6870};
constexpr int kTabsPerRow = 3;
constexpr int kTabHeightTwips = 420;

}  // namespace

struct CDemo::Controls {
  TabControl* tabs = nullptr;
  PageControls pages;
  ControlViews views;  // what the page model sees of the controls above
  std::unique_ptr<operations::PageModel> model;
};

CDemo::CDemo(PortNameSource portName, QWidget* parent)
    : QWidget(parent, kMainWindowFlags),
      portName_(std::move(portName)),
      help_(std::make_unique<HelpWindows>(this)) {
  setWindowTitle(QString::fromLatin1(kProgramTitle));
  setFixedSize(TwipsToPixels(kClientTwips.width()), TwipsToPixels(kClientTwips.height()));
  hwnd_ = platform::RegisterWindow([this](const std::string& text) {
    setWindowTitle(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
  });
  KeepNormalState(*this, [] { return true; });
  linkHistory_ = new LinkHistory(this, portName_, [this] { return Session().ModuleKind == 2; });
  BuildControls();
}

CDemo::~CDemo() {
  if (loaded_) functions::CloseSerial();
  DropControls();
  platform::UnregisterWindow(hwnd_);
  functions::SetMainWindow(nullptr);
}

void CDemo::BuildControls() {
  auto controls = std::make_unique<Controls>();
  auto* tabs = new TabControl(kTabsPerRow, TwipsToPixels(kTabHeightTwips), this);
  Designer(this, QPoint(0, 0))
      .Place(tabs, QStringLiteral("SSTab1"), DesignFont(kTahoma, 9), kSSTab1);
  controls->tabs = tabs;

  // Controls on a page are designed relative to the tab control's top-left corner.
  const QPoint tabOrigin(kSSTab1.left, kSSTab1.top);
  controls->pages.programming =
      BuildProgrammingPage(Designer(tabs->AddPage(QStringLiteral("&Programming")), tabOrigin));
  controls->pages.radioTesting =
      BuildRadioTestingPage(Designer(tabs->AddPage(QStringLiteral("&Radio Testing")), tabOrigin));
  controls->pages.terminal =
      BuildTerminalPage(Designer(tabs->AddPage(QStringLiteral("&Terminal")), tabOrigin));

  controls->model = std::make_unique<operations::PageModel>(
      controls->views.Pages(controls->pages), *this,
      [this](operations::HelpTopic topic) { help_->Open(topic); });
  operations::PageModel& model = *controls->model;
  // Timer1 runs from the start, as designed; the load stops it.
  model.Timer1().Enabled(true);
  controls->pages.radioTesting.Timer1 = &model.Timer1();

  ConnectRegisterTable(controls->pages.programming, model.Table(), *new ClickEvents(tabs));
  new ProfileActions(
      tabs, controls->pages.programming.Frame2, model.Table(),
      [this] { return !OperationRunning(); }, [this] { return WindowTextColour(); });
  ConnectPageLogic(controls->pages, model, tabs);
  linkHistory_->Attach(model.Reports(), controls->pages.radioTesting.Frame1);

  tabs->show();
  controls_ = std::move(controls);
  MakeAccessible(*this);
}

void CDemo::DropControls() {
  if (!controls_) return;
  delete controls_->tabs;
  controls_.reset();
}

void CDemo::ShowModal() {
  Form_Load();
  setWindowModality(Qt::ApplicationModal);
  CentreFrameOnScreen(*this);
  show();
  CentreFrameOnScreen(*this);
  raise();
  activateWindow();
  QEventLoop loop;
  connect(this, &CDemo::Unloaded, &loop, &QEventLoop::quit);
  if (loaded_) loop.exec(QEventLoop::DialogExec);
}

void CDemo::Form_Load() {
  // A window closed before comes back as designed, as a window made anew would.
  if (loadedBefore_) {
    // The window's variables outlive its controls.
    const operations::SessionState session = Session();
    DropControls();
    BuildControls();
    Session() = session;
  }
  loadedBefore_ = true;
  controls_->tabs->setCurrentIndex(operations::kProgrammingPage);
  controls_->model->Load();
  WidenNameBoxes(controls_->pages.programming);

  functions::SetMainWindow(this);
  functions::OpenSerial(portName_ ? portName_() : std::string());
  loaded_ = true;
}

void CDemo::Form_Unload() {
  functions::CloseSerial();
  controls_->model->Timer1().Enabled(false);
  loaded_ = false;
  emit Unloaded();
}

void CDemo::closeEvent(QCloseEvent* event) {
  if (!platform::IsCloseCommandEnabled(hwnd_)) {
    event->ignore();
    return;
  }
  event->accept();
  if (loaded_) Guarded([this] { Form_Unload(); });
}

void CDemo::showEvent(QShowEvent* event) {
  DropStaleFocusConnections(*this);
  QWidget::showEvent(event);
}

void CDemo::DisableClose() {
  closeWithheld_ = true;
  ShowCloseCommand();
}

void CDemo::EnableClose() {
  closeWithheld_ = false;
  ShowCloseCommand();
}

void CDemo::WaitBegins() {
  ++runningWaits_;
  ShowCloseCommand();
}

void CDemo::WaitEnds() {
  --runningWaits_;
  ShowCloseCommand();
}

bool CDemo::OperationRunning() const {
  return closeWithheld_ || runningWaits_ > 0 ||
         !controls_->tabs->isTabEnabled(operations::kProgrammingPage);
}

void CDemo::ShowCloseCommand() {
  const bool available = !closeWithheld_ && runningWaits_ == 0;
  platform::EnableMenuItem(
      platform::GetSystemMenu(hwnd_, 0), platform::kCloseMenuPosition,
      platform::MF_BYPOSITION |
          (available ? platform::MF_ENABLED : platform::MF_DISABLED | platform::MF_GRAYED));
  ShowCloseButton(*this, available);
}

operations::Rgb CDemo::WindowTextColour() const {
  return QGuiApplication::palette().color(QPalette::Text).rgb();
}

void CDemo::SetPageEnabled(int page, bool enabled) {
  controls_->tabs->setTabEnabled(page, enabled);
}

QTabWidget* CDemo::SSTab1() const {
  return controls_->tabs;
}

const ProgrammingControls& CDemo::Programming() const {
  return controls_->pages.programming;
}

const RadioTestingControls& CDemo::RadioTesting() const {
  return controls_->pages.radioTesting;
}

const TerminalControls& CDemo::Terminal() const {
  return controls_->pages.terminal;
}

operations::RegisterTable& CDemo::RegisterTable() {
  return controls_->model->Table();
}

operations::SessionState& CDemo::Session() {
  return controls_->model->Session();
}

operations::PageModel& CDemo::Model() {
  return *controls_->model;
}

}  // namespace ui
