// The Debian package that scripts/package.sh leaves in the top folder, when there is one: its
// files and its control fields. Nothing is installed; the package is only read.

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QRegularExpression>

namespace {

class DebianPackage : public ::testing::Test {
 protected:
  void SetUp() override {
    const QDir top(TALVORA_SOURCE_DIR);
    const QStringList found = top.entryList({"talvora_" TALVORA_VERSION "_*.deb"});
    if (found.isEmpty()) GTEST_SKIP() << "no package; bash scripts/package.sh makes it";
    deb_ = top.filePath(found.first());
  }
  QString DpkgDeb(const QStringList& arguments) const {
    QProcess process;
    process.start("dpkg-deb", arguments + QStringList{deb_});
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
  }

  QString deb_;
};

TEST_F(DebianPackage, HoldsEveryProgramWithItsManPageTheMenuEntryAndTheIcons) {
  const QString contents = DpkgDeb({"--contents"});
  for (const char* program : {"talvora", "talvora-cli", "talvora-sim"}) {
    const QRegularExpression executable(QString("^-rwxr-xr-x .* \\./usr/bin/%1$").arg(program),
                                        QRegularExpression::MultilineOption);
    EXPECT_TRUE(executable.match(contents).hasMatch()) << program;
    EXPECT_TRUE(contents.contains(QString(" ./usr/share/man/man1/%1.1.gz\n").arg(program)))
        << program;
  }
  QStringList expected{
      "usr/share/applications/talvora.desktop", "usr/share/icons/hicolor/scalable/apps/talvora.svg",
      "usr/share/metainfo/org.talvora.talvora.metainfo.xml", "usr/share/doc/talvora/copyright"};
  for (const int size : {16, 32, 48, 64, 128, 256})
    expected << QString("usr/share/icons/hicolor/%1x%1/apps/talvora.png").arg(size);
  for (const QString& path : expected)
    EXPECT_TRUE(contents.contains(" ./" + path + "\n")) << path.toStdString();
  EXPECT_FALSE(contents.contains(" ./usr/local/") || contents.contains(" ./usr/include/"));
}

// The libraries come from dpkg-shlibdeps, the fonts from the packaging: the windows ask for
// faces that only these packages stand in for.
TEST_F(DebianPackage, NamesItsVersionAndEveryDependency) {
  EXPECT_EQ(DpkgDeb({"--field"}).section("Version: ", 1).section('\n', 0, 0), TALVORA_VERSION);
  const QString depends = DpkgDeb({"--field"}).section("Depends: ", 1).section('\n', 0, 0);
  for (const char* package : {"libc6", "libstdc++6", "libqt6widgets6", "fonts-liberation2",
                              "fonts-comfortaa", "fonts-dejavu-core"}) {
    const QRegularExpression named(
        QString("(^|, )%1( |,|$)").arg(QRegularExpression::escape(package)));
    EXPECT_TRUE(named.match(depends).hasMatch())
        << package << " missing from " << depends.toStdString();
  }
}

}  // namespace
