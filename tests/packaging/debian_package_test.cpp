// The Debian package that scripts/package.sh leaves in the top folder, when there is one: its
// files, its control fields, and that its metadata agrees with itself. Nothing is installed;
// the package is only listed and unpacked into a temporary folder.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

const QString kMetainfo = QStringLiteral("usr/share/metainfo/org.talvora.talvora.metainfo.xml");

QString Output(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(60000) || process.exitCode() != 0) return {};
  return QString::fromUtf8(process.readAllStandardOutput());
}

QString ReadText(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

class DebianPackage : public ::testing::Test {
 protected:
  void SetUp() override {
    const QStringList found = QDir(QStringLiteral(TALVORA_SOURCE_DIR))
                                  .entryList({QStringLiteral("talvora_" TALVORA_VERSION "_*.deb")});
    if (found.isEmpty()) GTEST_SKIP() << "no package; bash scripts/package.sh makes it";
    deb_ = QDir(QStringLiteral(TALVORA_SOURCE_DIR)).filePath(found.first());
  }

  // Path (without the leading "./") to permissions, for every entry of the package.
  QMap<QString, QString> Contents() const {
    QMap<QString, QString> entries;
    const auto lines = Output(QStringLiteral("dpkg-deb"), {QStringLiteral("--contents"), deb_})
                           .split('\n', Qt::SkipEmptyParts);
    for (const QString& line : lines) {
      const QStringList columns = line.split(' ', Qt::SkipEmptyParts);
      if (columns.size() >= 6) entries.insert(columns[5].mid(2), columns[0]);
    }
    return entries;
  }
  QString Field(const char* name) const {
    return Output(QStringLiteral("dpkg-deb"), {QStringLiteral("--field"), deb_, name}).trimmed();
  }

  QString deb_;
};

TEST_F(DebianPackage, HoldsEveryProgramWithItsManPageIconsAndMetadata) {
  const auto contents = Contents();
  ASSERT_FALSE(contents.isEmpty());
  QStringList programs{QStringLiteral("talvora"), QStringLiteral("talvora-sim")};
  if (TALVORA_HAS_CLI) programs << QStringLiteral("talvora-cli");
  for (const QString& program : programs) {
    EXPECT_EQ(contents.value("usr/bin/" + program), QStringLiteral("-rwxr-xr-x"))
        << program.toStdString();
  }
  for (auto entry = contents.begin(); entry != contents.end(); ++entry) {
    const QString& path = entry.key();
    EXPECT_TRUE(path.startsWith(QStringLiteral("usr/"))) << path.toStdString();
    EXPECT_FALSE(path.startsWith(QStringLiteral("usr/local")) ||
                 path.endsWith(QStringLiteral(".a")) ||
                 path.startsWith(QStringLiteral("usr/include")))
        << path.toStdString();
    if (path.startsWith(QStringLiteral("usr/bin/")) && !path.endsWith('/')) {
      EXPECT_TRUE(contents.contains("usr/share/man/man1/" + path.mid(8) + ".1.gz"))
          << "no man page for " << path.toStdString();
    }
  }

  QStringList expected{QStringLiteral("usr/share/applications/talvora.desktop"),
                       QStringLiteral("usr/share/icons/hicolor/scalable/apps/talvora.svg"),
                       kMetainfo, QStringLiteral("usr/share/doc/talvora/copyright"),
                       QStringLiteral("usr/share/doc/talvora/changelog.gz")};
  for (const int size : {16, 32, 48, 64, 128, 256})
    expected << QStringLiteral("usr/share/icons/hicolor/%1x%1/apps/talvora.png").arg(size);
  for (const QString& path : expected)
    EXPECT_EQ(contents.value(path), QStringLiteral("-rw-r--r--")) << path.toStdString();
}

TEST_F(DebianPackage, ControlFieldsNameTheVersionAndEveryDependency) {
  EXPECT_EQ(Field("Package"), QStringLiteral("talvora"));
  EXPECT_EQ(Field("Version"), QStringLiteral(TALVORA_VERSION));
  EXPECT_EQ(Field("Architecture"),
            Output(QStringLiteral("dpkg"), {QStringLiteral("--print-architecture")}).trimmed());
  EXPECT_FALSE(Field("Maintainer").isEmpty());
  const QStringList depends = Field("Depends").split(QRegularExpression(QStringLiteral(",\\s*")));
  // The libraries come from dpkg-shlibdeps, the fonts from the packaging: the windows ask for
  // faces that only these packages stand in for.
  for (const char* package : {"libc6", "libstdc++6", "libqt6core6", "libqt6widgets6",
                              "fonts-liberation2", "fonts-comfortaa"}) {
    EXPECT_TRUE(depends.indexOf(QRegularExpression(
                    QStringLiteral("^%1( .*)?$").arg(QRegularExpression::escape(package)))) >= 0)
        << package << " missing from " << depends.join(", ").toStdString();
  }
}

TEST_F(DebianPackage, MetadataAgreesWithTheFilesAndTheVersion) {
  QTemporaryDir root;
  ASSERT_TRUE(root.isValid());
  ASSERT_EQ(
      QProcess::execute(QStringLiteral("dpkg-deb"), {QStringLiteral("-x"), deb_, root.path()}), 0);
  const QDir files(root.path());
  const QString metainfo = ReadText(files.filePath(kMetainfo));
  const auto launchable =
      QRegularExpression(QStringLiteral("<launchable type=\"desktop-id\">([^<]+)</launchable>"))
          .match(metainfo);
  ASSERT_TRUE(launchable.hasMatch()) << metainfo.toStdString();
  const QString desktop =
      ReadText(files.filePath("usr/share/applications/" + launchable.captured(1)));
  EXPECT_TRUE(desktop.contains(QStringLiteral("\nExec=talvora\n"))) << desktop.toStdString();
  EXPECT_TRUE(desktop.contains(QStringLiteral("\nIcon=talvora\n"))) << desktop.toStdString();
  EXPECT_TRUE(metainfo.contains(QStringLiteral("<release version=\"" TALVORA_VERSION "\"")));

  // The man pages carry the same version.
  const QString page =
      Output(QStringLiteral("gzip"),
             {QStringLiteral("-dc"), files.filePath("usr/share/man/man1/talvora.1.gz")});
  EXPECT_TRUE(page.contains(QStringLiteral("\"talvora " TALVORA_VERSION "\"")))
      << page.left(200).toStdString();
}

}  // namespace
