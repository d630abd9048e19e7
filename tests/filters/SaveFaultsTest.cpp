// Saves that fail or are cut short: a filter box's file, a value of the registry store, and a
// list box's stored defaults with its memory slots, written on a disk that is full, by a writer
// that fails halfway, and by a process killed at random moments. Each leaves the previous
// contents whole, or the new ones, and a failure is reported.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <map>
#include <random>
#include <thread>

#include "Exceptions.h"
#include "FilterTestData.h"
#include "KelRegistryStream.h"
#include "Registry.h"
#include "ScopedRegistryFile.h"

namespace Kel {
namespace {

QByteArray Contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// A filter box whose conditions and one memory slot all name the same version: any mixture of
// two saves shows.
class TVersionedBox : public TKelFltBox {
 public:
  TVersionedBox() {
    data_.AddField("Name", ftString, 200);
    data_.Open();
    SetDataSet(&data_);
    setObjectName(QStringLiteral("Versioned"));
    SetDefStoreMemory(true);
  }
  ~TVersionedBox() override {
    SetDefStoreMemory(false);  // the tests save on their own
    SetDataSet(nullptr);
  }

  void MakeVersion(int version) {
    FltItems()->BeginUpdate();
    FltItems()->Clear();
    for (int i = 0; i < kLines; ++i)
      Testing::AddCondition(
          *Builder(), "Name", "is (exactly)",
          QStringLiteral("version %1 line %2 %3").arg(version).arg(i).arg(QString(150, u'x')))
          ->SetOperation("or");
    FltItems()->EndUpdate();
    MemorySlots()->Clear();
    SaveToSlot(QStringLiteral("slot"));
  }
  // The filter text of a version.
  static QString Expected(int version) {
    static std::map<int, QString> known;
    if (!known.count(version)) {
      TVersionedBox box;
      box.MakeVersion(version);
      known[version] = box.FilterStr();
    }
    return known[version];
  }
  // The version whose filter text is text whole; -1 for anything else.
  static int VersionOf(const QString& text) {
    const int version = text.section(u' ', 3, 3).toInt();
    return text == Expected(version) ? version : -1;
  }
  // The version of the stored memory slot, loaded into this box.
  int SlotVersion() {
    if (MemorySlots()->Count() != 1 || !LoadFromSlot(QStringLiteral("slot"))) return -1;
    return VersionOf(FilterStr());
  }

  static constexpr int kLines = 8;
  bool failWriting = false;

 protected:
  void SaveToString(QByteArray& s, int format) override {
    if (failWriting) throw EWriteError(QStringLiteral("the writer failed halfway"));
    TKelFltBox::SaveToString(s, format);
  }

 private:
  TMemDataSet data_;
};

QByteArray StoredDefaults(const TKelPrmListBox& box) {
  QString key;
  box.GetDefStoreKey(key);
  return TKelRegistryStream(key, fmOpenRead).Bytes();
}

TEST(SaveFaults, AStoredDefaultsSaveThatFailsHalfwayKeepsThePreviousDefaults) {
  Testing::ScopedRegistryFile registry;
  TVersionedBox box;
  QString key;
  box.GetDefStoreKey(key);
  {
    TKelRegistryStream old(key, rsCreate);
    old.WriteBytes("OLD-GOOD-DEFAULTS");
  }
  box.MakeVersion(1);
  box.failWriting = true;  // the memory slots are written, then the conditions fail
  EXPECT_THROW(box.SaveDefaults(), EWriteError);
  EXPECT_EQ(StoredDefaults(box), "OLD-GOOD-DEFAULTS");
  box.failWriting = false;
  box.SaveDefaults();
  TVersionedBox next;
  next.LoadDefaults();
  EXPECT_EQ(next.SlotVersion(), 1);
}

// A small tmpfs of the test's own, which the test fills up. Mounting needs root (or the right
// to mount); without it the tests say so and are skipped.
class FullDiskTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    if (::geteuid() != 0) GTEST_SKIP() << "full-disk tests skipped: mounting a tmpfs needs root";
    mounted_ =
        ::mount("tmpfs", QFile::encodeName(dir_.path()).constData(), "tmpfs", 0, "size=512k") == 0;
    if (!mounted_) GTEST_SKIP() << "full-disk tests skipped: no tmpfs could be mounted here";
    qputenv("KEL_REGISTRY", QFile::encodeName(Path("registry.sqlite")));
  }
  void TearDown() override {
    qunsetenv("KEL_REGISTRY");
    if (mounted_) ::umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
  }

  QString Path(const QString& name) const { return dir_.filePath(name); }
  // Takes every byte left.
  void Fill() {
    QFile filler(Path("filler"));
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    const QByteArray block(4096, 'f');
    while (filler.write(block) == block.size()) {
    }
  }
  QStringList Files() const { return QDir(dir_.path()).entryList(QDir::Files); }

  QTemporaryDir dir_;
  bool mounted_ = false;
};

TEST_F(FullDiskTest, AFilterFileSavedOnAFullDiskStaysAsItWas) {
  TVersionedBox box;
  box.MakeVersion(1);
  const QString file = Path("conditions.flt");
  box.SaveToFile(file, 0);
  const QByteArray old = Contents(file);
  box.MakeVersion(2);
  Fill();
  try {
    box.SaveToFile(file, 0);
    FAIL() << "no error";
  } catch (const EStreamError& e) {
    EXPECT_EQ(e.Message(),
              QStringLiteral("Cannot write file %1: No space left on device").arg(file));
  }
  EXPECT_EQ(Contents(file), old);
  EXPECT_EQ(Files(), QStringList({"conditions.flt", "filler"})) << "no half-written file left";
}

TEST_F(FullDiskTest, RegistryValuesAndStoredDefaultsSavedOnAFullDiskStayAsTheyWere) {
  TVersionedBox box;
  box.MakeVersion(1);
  box.SaveDefaults();
  const QByteArray oldDefaults = StoredDefaults(box);
  {
    TKelRegistryStream value(QStringLiteral("Test\\Value"), rsCreate);
    value.WriteBytes(QByteArray(3000, 'o'));
  }
  Fill();
  box.MakeVersion(2);
  EXPECT_THROW(box.SaveDefaults(), ERegistryException);
  {
    TKelRegistryStream value(QStringLiteral("Test\\Value"), fmOpenReadWrite);
    value.SetSize(0);
    value.WriteBytes(QByteArray(20000, 'n'));
    try {
      value.Save();
      FAIL() << "no error";
    } catch (const ERegistryException& e) {
      EXPECT_TRUE(e.Message().contains("disk is full")) << e.what();
    }
  }  // the stream saves again as it goes, and fails again, silently
  EXPECT_EQ(StoredDefaults(box), oldDefaults);
  EXPECT_EQ(TKelRegistryStream(QStringLiteral("Test\\Value"), fmOpenRead).Bytes(),
            QByteArray(3000, 'o'));
  QFile::remove(Path("filler"));
  box.SaveDefaults();  // space again: the next save works
  TVersionedBox next;
  next.LoadDefaults();
  EXPECT_EQ(next.SlotVersion(), 2);
}

// A child process saves a filter file and the stored defaults in a loop, two versions in turn,
// and is killed at a random moment (fixed seed); what is on disk afterwards must be one of the
// two versions, byte for byte, each time. The files lie in memory (/dev/shm) where there is
// one, so that saves are quick and many kills land in the middle of one.
TEST(SaveFaults, AProcessKilledWhileSavingLeavesOneWholeVersion) {
  const QTemporaryDir dir(QDir("/dev/shm").exists() ? QStringLiteral("/dev/shm/kel-kill-XXXXXX")
                                                    : QDir::tempPath() + "/kel-kill-XXXXXX");
  ASSERT_TRUE(dir.isValid());
  const QString file = dir.filePath("conditions.flt");
  const QString registryFile = dir.filePath("registry.sqlite");
  qputenv("KEL_REGISTRY", QFile::encodeName(registryFile));
  TVersionedBox one, two;  // the same key in the registry
  one.MakeVersion(1);
  two.MakeVersion(2);
  QByteArray files[2], stored[2];
  int index = 0;
  for (TVersionedBox* box : {&one, &two}) {
    box->SaveToFile(file, 0);
    files[index] = Contents(file);
    box->SaveDefaults();
    stored[index++] = StoredDefaults(*box);
  }
  ASSERT_NE(files[0], files[1]);
  ASSERT_NE(stored[0], stored[1]);
  // Where the child is (saving the file, the defaults, or neither), how many rounds it saved,
  // and whether it is past its first round (which is slow: the child's memory is copied then).
  enum : int { kBetween, kSavingFile, kSavingDefaults };
  enum : int { kWhere, kRounds, kWarm };
  auto* shared = static_cast<volatile int*>(
      ::mmap(nullptr, 4096, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
  ASSERT_NE(shared, MAP_FAILED);
  constexpr int kKills = 200;
  std::mt19937 random(20240611);
  std::uniform_int_distribution<int> delayMicroseconds(0, 10000);
  int killedIn[3] = {0, 0, 0};
  for (int kill = 0; kill < kKills; ++kill) {
    shared[kWhere] = kBetween;
    shared[kWarm] = 0;
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      ::alarm(10);  // never outlive a test that lost track of it
      try {
        for (;;) {
          for (TVersionedBox* box : {&one, &two}) {
            shared[kWhere] = kSavingFile;
            box->SaveToFile(file, 0);
            shared[kWhere] = kSavingDefaults;
            box->SaveDefaults();
            shared[kWhere] = kBetween;
          }
          shared[kRounds] = shared[kRounds] + 1;
          shared[kWarm] = 1;
        }
      } catch (...) {
      }
      ::_exit(1);
    }
    for (int wait = 0; !shared[kWarm] && wait < 20000; ++wait)
      std::this_thread::sleep_for(std::chrono::microseconds(250));
    std::this_thread::sleep_for(std::chrono::microseconds(delayMicroseconds(random)));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the child stopped early";
    ++killedIn[shared[kWhere]];
    const QByteArray onDisk = Contents(file);
    ASSERT_TRUE(onDisk == files[0] || onDisk == files[1]) << "kill " << kill << ": a torn file";
    const QByteArray value = StoredDefaults(one);
    ASSERT_TRUE(value == stored[0] || value == stored[1]) << "kill " << kill << ": a torn value";
  }
  std::printf(
      "%d kills: %d in a filter file save, %d in a stored defaults save, %d between; "
      "%d rounds of saves completed\n",
      kKills, killedIn[kSavingFile], killedIn[kSavingDefaults], killedIn[kBetween],
      shared[kRounds]);
  EXPECT_GE(killedIn[kSavingFile], kKills / 50);
  EXPECT_GE(killedIn[kSavingDefaults], kKills / 50);
  ::munmap(const_cast<int*>(shared), 4096);
  // What is left reads as the next start reads it.
  TVersionedBox next;
  next.LoadFromFile(file, 0);
  EXPECT_EQ(next.FltItems()->Count(), TVersionedBox::kLines);
  next.LoadDefaults();
  EXPECT_NE(next.SlotVersion(), -1);
  qunsetenv("KEL_REGISTRY");
}

}  // namespace
}  // namespace Kel
