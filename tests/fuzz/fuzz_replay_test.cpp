// Every file of the fuzzers' corpora (the seeds and every input that once made a target fail)
// run through its target in the ordinary suite, so that a fault found once stays fixed
// without clang. A target fails by aborting, which ends this test program too.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <cstdint>

int talvora_fuzz_register_list(const std::uint8_t* data, std::size_t size);
int talvora_fuzz_register_value(const std::uint8_t* data, std::size_t size);
int talvora_fuzz_profile(const std::uint8_t* data, std::size_t size);
int talvora_fuzz_settings_ports(const std::uint8_t* data, std::size_t size);
int talvora_fuzz_sim_options(const std::uint8_t* data, std::size_t size);
int talvora_fuzz_module_bytes(const std::uint8_t* data, std::size_t size);

namespace {

struct Target {
  const char* corpus;  // the folder under tests/fuzz/corpus
  int (*run)(const std::uint8_t*, std::size_t);
  friend void PrintTo(const Target& target, std::ostream* out) { *out << target.corpus; }
};

class FuzzCorpus : public testing::TestWithParam<Target> {};

TEST_P(FuzzCorpus, EveryFileRunsThroughItsTarget) {
  const QDir folder(QString(TALVORA_FUZZ_CORPUS) + "/" + GetParam().corpus);
  const QStringList files = folder.entryList(QDir::Files);
  ASSERT_FALSE(files.isEmpty()) << "no corpus in " << folder.path().toStdString();
  for (const QString& name : files) {
    QFile file(folder.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    const QByteArray bytes = file.readAll();
    SCOPED_TRACE(name.toStdString());
    EXPECT_EQ(GetParam().run(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                             static_cast<std::size_t>(bytes.size())),
              0);
  }
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzCorpus,
                         testing::Values(Target{"register_list", talvora_fuzz_register_list},
                                         Target{"register_value", talvora_fuzz_register_value},
                                         Target{"profile", talvora_fuzz_profile},
                                         Target{"settings_ports", talvora_fuzz_settings_ports},
                                         Target{"sim_options", talvora_fuzz_sim_options},
                                         Target{"module_bytes", talvora_fuzz_module_bytes}));

}  // namespace
