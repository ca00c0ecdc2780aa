// The floor under any Qt Widgets program's start-up on this machine: a bare dialog the size of
// the start-up window, with a caption, a label and a button, nothing else loaded.

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QDialog dialog;
  dialog.setWindowTitle(QStringLiteral("floor"));
  dialog.setFixedSize(314, 224);
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(new QLabel(QStringLiteral("Port")));
  layout->addWidget(new QPushButton(QStringLiteral("OK")));
  dialog.show();
  return QApplication::exec();
}
