#pragma once

// The main window's pages without a window: the same page model, over plain controls, for
// running the operations from a script.

#include <memory>
#include <vector>

#include "operations/page_model.h"
#include "operations/plain_control.h"

namespace cli {

// Nothing to withhold or grey without a window; a script cannot click meanwhile.
class HeadlessWindow final : public operations::MainWindowServices {
 public:
  void DisableClose() override {}
  void EnableClose() override {}
  void SetPageEnabled(int /*page*/, bool /*enabled*/) override {}
  void WaitBegins() override {}
  void WaitEnds() override {}
  operations::Rgb WindowTextColour() const override { return operations::MakeRgb(0, 0, 0); }
};

// The page model over plain controls, loaded as the window's load leaves it.
class HeadlessPages {
 public:
  HeadlessPages();
  HeadlessPages(const HeadlessPages&) = delete;
  HeadlessPages& operator=(const HeadlessPages&) = delete;

  operations::PageModel& Model() { return *model_; }
  operations::SessionState& Session() { return model_->Session(); }
  operations::RegisterTable& Table() { return model_->Table(); }
  operations::EepromReader& Reader() { return model_->Reader(); }
  operations::EepromWriter& Writer() { return model_->Writer(); }
  operations::LinkTest& LinkTest() { return model_->LinkTest(); }
  operations::Terminal& Terminal() { return model_->Terminal(); }
  operations::Outcomes& Reports() { return model_->Reports(); }

  const operations::ProgrammingView& Programming() const { return model_->Views().programming; }
  const operations::RadioTestingView& RadioTesting() const { return model_->Views().radioTesting; }
  const operations::TerminalView& TerminalPage() const { return model_->Views().terminal; }

 private:
  operations::PageViews MakeViews();

  std::vector<std::unique_ptr<operations::PlainControl>> controls_;
  HeadlessWindow window_;
  std::unique_ptr<operations::PageModel> model_;
};

}  // namespace cli
