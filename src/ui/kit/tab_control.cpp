#include "ui/kit/tab_control.h"

#include <QStyleOptionTabWidgetFrame>

namespace ui {

TabStrip::TabStrip(int tabsPerRow, int tabHeight, QWidget* parent)
    : QTabBar(parent), tabsPerRow_(tabsPerRow), tabHeight_(tabHeight) {
  setExpanding(false);
  setUsesScrollButtons(false);
  setElideMode(Qt::ElideNone);
}

QSize TabStrip::tabSizeHint(int /*index*/) const {
  const QWidget* control = parentWidget();
  const int rowWidth = control != nullptr ? control->width() : width();
  return {rowWidth / tabsPerRow_, tabHeight_};
}

TabControl::TabControl(int tabsPerRow, int tabHeight, QWidget* parent) : QTabWidget(parent) {
  setTabBar(new TabStrip(tabsPerRow, tabHeight, this));
}

QWidget* TabControl::AddPage(const QString& caption) {
  auto* page = new QWidget;
  auto* surface = new QWidget(page);
  surfaces_.push_back(surface);
  addTab(page, caption);
  AlignSurfaces();
  return surface;
}

void TabControl::resizeEvent(QResizeEvent* event) {
  QTabWidget::resizeEvent(event);
  AlignSurfaces();
}

void TabControl::showEvent(QShowEvent* event) {
  QTabWidget::showEvent(event);
  AlignSurfaces();
}

void TabControl::AlignSurfaces() {
  // The pages sit where the style puts the tab control's contents; the surfaces undo that.
  QStyleOptionTabWidgetFrame option;
  initStyleOption(&option);
  const QRect contents = style()->subElementRect(QStyle::SE_TabWidgetTabContents, &option, this);
  for (QWidget* surface : surfaces_) {
    surface->setGeometry(-contents.left(), -contents.top(), width(), height());
  }
}

}  // namespace ui
