#pragma once

#include <QTabBar>
#include <QTabWidget>
#include <vector>

namespace ui {

// The strip of a tab control: every tab is as wide as one share of a row of tabs and as high
// as designed.
class TabStrip : public QTabBar {
 public:
  TabStrip(int tabsPerRow, int tabHeight, QWidget* parent = nullptr);

 protected:
  QSize tabSizeHint(int index) const override;
  QSize minimumTabSizeHint(int index) const override { return tabSizeHint(index); }

 private:
  int tabsPerRow_;
  int tabHeight_;
};

// A tab control whose pages are designed in its own coordinates, tab strip included: each page
// carries a surface that lies exactly over the whole control, so that a control placed on the
// surface at the designed position lands there in the window, whatever room the style gives
// the strip and the page's border.
class TabControl : public QTabWidget {
 public:
  TabControl(int tabsPerRow, int tabHeight, QWidget* parent);

  // Adds a page and returns its surface.
  QWidget* AddPage(const QString& caption);
  QWidget* Surface(int page) const { return surfaces_.at(static_cast<std::size_t>(page)); }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void AlignSurfaces();

  std::vector<QWidget*> surfaces_;
};

}  // namespace ui
