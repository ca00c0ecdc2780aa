#include "operations/page_model.h"

namespace operations {

PageModel::PageModel(const PageViews& views, MainWindowServices& window,
                     RegisterTable::HelpOpener openHelp)
    : timer1_(static_cast<std::uint32_t>(kTimer1Period.count())),
      views_(WithTimer(views, timer1_)),
      table_(views_.programming, session_, std::move(openHelp)),
      reader_(table_, window, session_, outcomes_),
      writer_(table_, window, session_, outcomes_),
      linkTest_(views_.radioTesting, window, session_, outcomes_),
      terminal_(views_.terminal, window, session_, outcomes_) {
  timer1_.OnTick([this] { linkTest_.Timer1_Timer(); });
}

PageViews PageModel::WithTimer(PageViews views, platform::IntervalTimer& timer1) {
  views.radioTesting.Timer1 = &timer1;
  return views;
}

void PageModel::Load() {
  const ProgrammingView& programming = views_.programming;
  const RadioTestingView& radioTesting = views_.radioTesting;
  const TerminalView& terminal = views_.terminal;

  programming.Option1->Checked(true);
  table_.Option1_Click();
  programming.Option2->Checked(false);
  session_.ModuleKind = kNoModuleChosen;

  radioTesting.Command1->Enabled(false);
  radioTesting.Command3->Enabled(true);
  terminal.Command5->Enabled(false);
  terminal.Command6->Enabled(false);
  for (ControlView* hidden : {terminal.Text2, terminal.Text3, terminal.Label14, terminal.Label13})
    hidden->Visible(false);
  for (ControlView* lamp : radioTesting.Picture1)
    lamp->Visible(false);

  table_.Fill();
  session_.SendPhase = true;
  timer1_.Enabled(false);
}

}  // namespace operations
