#include "headless_pages.h"

#include "platform/windows.h"

namespace cli {
namespace {

constexpr std::uint32_t kTimer1IntervalMs = 500;

}  // namespace

HeadlessPages::HeadlessPages()
    : timer1_(kTimer1IntervalMs),
      programming_(MakeProgramming()),
      radioTesting_(MakeRadioTesting()),
      terminalView_(MakeTerminal()),
      table_(programming_, session_),
      reader_(table_, window_, session_),
      writer_(table_, window_, session_),
      linkTest_(radioTesting_, window_, session_),
      terminal_(terminalView_, window_, session_) {
  timer1_.OnTick([this] { linkTest_.Timer1_Timer(); });
  // The state the window's load leaves: the host module chosen, the table filled, the
  // terminal's address boxes hidden, the lamps off.
  programming_.Option1->Checked(true);
  table_.Option1_Click();
  session_.ModuleKind = 0;
  table_.Fill();
  for (operations::ControlView* hidden :
       {terminalView_.Text2, terminalView_.Text3, terminalView_.Label14, terminalView_.Label13})
    hidden->Visible(false);
  for (operations::ControlView* lamp : radioTesting_.Picture1)
    lamp->Visible(false);
  radioTesting_.Command1->Enabled(false);
}

HeadlessPages::~HeadlessPages() {
  platform::UnregisterWindow(terminalView_.TermTextWindow);
  platform::UnregisterWindow(terminalView_.Text3Window);
}

operations::ControlView* HeadlessPages::NewControl() {
  controls_.push_back(std::make_unique<operations::PlainControl>());
  return controls_.back().get();
}

operations::ProgrammingView HeadlessPages::MakeProgramming() {
  operations::ProgrammingView view;
  for (int row = 0; row < operations::kRegisterCount; ++row) {
    view.Check1[row] = NewControl();
    view.Text6[row] = NewControl();
    view.Text8[row] = NewControl();
  }
  view.Option1 = NewControl();
  view.Option2 = NewControl();
  view.Text7 = NewControl();
  return view;
}

operations::RadioTestingView HeadlessPages::MakeRadioTesting() {
  operations::RadioTestingView view;
  for (auto& lamp : view.Picture1)
    lamp = NewControl();
  for (operations::ControlView** control : {&view.Command3, &view.Command1, &view.Label3,
                                            &view.Label2, &view.Label5, &view.Label4, &view.Label6})
    *control = NewControl();
  view.Timer1 = &timer1_;
  return view;
}

operations::TerminalView HeadlessPages::MakeTerminal() {
  operations::TerminalView view;
  for (operations::ControlView** control :
       {&view.Command7, &view.Command6, &view.Label15, &view.Command5, &view.Text1, &view.Label14,
        &view.Text2, &view.TermText, &view.Label13, &view.Text3})
    *control = NewControl();
  auto* received = static_cast<operations::PlainControl*>(view.TermText);
  view.TermTextWindow = platform::RegisterWindow([received](const std::string& bytes) {
    received->Text(QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size())));
  });
  auto* sender = static_cast<operations::PlainControl*>(view.Text3);
  view.Text3Window = platform::RegisterWindow([sender](const std::string& bytes) {
    sender->Text(QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size())));
  });
  return view;
}

}  // namespace cli
