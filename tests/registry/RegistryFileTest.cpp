// The portable store's file: where it lives, when it is created, and what happens when the file
// is damaged, foreign or unreadable (a clear error, and the file is never written over).
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QUuid>

#include "Exceptions.h"
#include "RegistryTestSupport.h"

using namespace Kel;
using Kel::Testing::RegistryTest;
using Kel::Testing::ScopedRegistryFile;

namespace {

class RegistryFile : public RegistryTest {
 protected:
  QByteArray FileBytes() const {
    QFile file(store_.FileName());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  void WriteFile(const QByteArray& bytes) {
    QFile file(store_.FileName());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  // A SQLite database of someone else's, made through Qt's own driver.
  void MakeDatabase(const QStringList& statements) {
    const QString connection = QUuid::createUuid().toString();
    {
      QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", connection);
      db.setDatabaseName(store_.FileName());
      ASSERT_TRUE(db.open());
      QSqlQuery query(db);
      for (const QString& sql : statements) ASSERT_TRUE(query.exec(sql)) << sql.toStdString();
      db.close();
    }
    QSqlDatabase::removeDatabase(connection);
  }
  // Every kind of access must raise, naming the file, and leave it byte for byte.
  void ExpectRefusedAndUntouched(const QString& expectedWords) {
    const QByteArray before = FileBytes();
    TRegistry reg;
    for (auto* action : std::initializer_list<void (*)(TRegistry&)>{
             [](TRegistry& r) { r.KeyExists("Software"); }, [](TRegistry& r) { r.ReadString("v"); },
             [](TRegistry& r) { r.CreateKey("Software"); },
             [](TRegistry& r) { r.WriteString("v", "x"); },
             [](TRegistry& r) { r.DeleteKey("Software"); }}) {
      try {
        action(reg);
        ADD_FAILURE() << "no exception";
      } catch (const ERegistryException& e) {
        EXPECT_TRUE(e.Message().contains(QDir::toNativeSeparators(store_.FileName())))
            << e.Message().toStdString();
        EXPECT_TRUE(e.Message().contains(expectedWords)) << e.Message().toStdString();
      }
    }
    EXPECT_EQ(FileBytes(), before);
  }
};

TEST_F(RegistryFile, ReadingFromAMissingFileFindsNothingAndCreatesNothing) {
  TRegistry reg;
  EXPECT_FALSE(reg.KeyExists("Software"));
  EXPECT_FALSE(reg.OpenKey("Software", false));
  EXPECT_EQ(reg.ReadString("v"), "");
  EXPECT_TRUE(reg.GetKeyNames().isEmpty());
  EXPECT_FALSE(reg.DeleteKey("Software"));
  EXPECT_FALSE(QFileInfo::exists(store_.FileName()));
}

TEST_F(RegistryFile, TheFirstChangeCreatesTheFileAndItsFolder) {
  const QString nested = store_.Folder() + "/a/b/registry.sqlite";
  TRegistry reg(OpenRegistryFile(nested));
  ASSERT_TRUE(reg.OpenKey("Software", true));
  reg.WriteString("v", "x");
  EXPECT_TRUE(QFileInfo::exists(nested));
  TRegistry again(OpenRegistryFile(nested));
  ASSERT_TRUE(again.OpenKey("Software", false));
  EXPECT_EQ(again.ReadString("v"), "x");
}

TEST_F(RegistryFile, AnEmptyFileBecomesAStore) {
  WriteFile(QByteArray());
  TRegistry reg;
  EXPECT_FALSE(reg.KeyExists("Software"));
  ASSERT_TRUE(reg.CreateKey("Software"));
  EXPECT_TRUE(reg.KeyExists("Software"));
}

TEST_F(RegistryFile, AGarbageFileIsReportedAndLeftAlone) {
  QByteArray garbage(4096, '\0');
  for (int i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<char>((i * 7919) & 0xFF);
  WriteFile(garbage);
  ExpectRefusedAndUntouched("damaged");
}

TEST_F(RegistryFile, ATruncatedStoreIsReportedAndLeftAlone) {
  {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Software", true));
    for (int i = 0; i < 4; ++i) reg.WriteBinary(QString("Blob%1").arg(i), QByteArray(8000, 'b'));
  }
  QByteArray bytes = FileBytes();
  ASSERT_GT(bytes.size(), 4096);
  bytes.truncate(bytes.size() / 2);
  for (qsizetype i = 1024; i < bytes.size(); i += 97) bytes[i] = '\xA5';
  WriteFile(bytes);
  ExpectRefusedAndUntouched("registry file");
}

TEST_F(RegistryFile, AnotherProgramsDatabaseIsNotTakenOver) {
  MakeDatabase(
      {"CREATE TABLE customers(id INTEGER, name TEXT)", "INSERT INTO customers VALUES (1, 'Ann')"});
  ExpectRefusedAndUntouched("not a registry file");
}

TEST_F(RegistryFile, AStoreOfAnUnknownFormatIsNotWritten) {
  MakeDatabase({"CREATE TABLE kel_registry_info(name TEXT PRIMARY KEY, value TEXT)",
                "INSERT INTO kel_registry_info VALUES ('format', '2')"});
  ExpectRefusedAndUntouched("unknown format '2'");
}

TEST_F(RegistryFile, AnUnreadableFileGivesAClearError) {
  if (geteuid() == 0) GTEST_SKIP() << "file permissions do not bind the super-user";
  {
    TRegistry reg;
    ASSERT_TRUE(reg.CreateKey("Software"));
  }
  ASSERT_TRUE(QFile::setPermissions(store_.FileName(), QFileDevice::Permissions()));
  TRegistry reg;
  EXPECT_THROW(reg.KeyExists("Software"), ERegistryException);
  QFile::setPermissions(store_.FileName(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

TEST_F(RegistryFile, AReadOnlyFileCanBeReadButNotChanged) {
  if (geteuid() == 0) GTEST_SKIP() << "file permissions do not bind the super-user";
  {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Software", true));
    reg.WriteString("v", "kept");
  }
  ASSERT_TRUE(QFile::setPermissions(store_.FileName(), QFileDevice::ReadOwner));
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("Software", false));
  EXPECT_EQ(reg.ReadString("v"), "kept");
  EXPECT_THROW(reg.WriteString("v", "new"), ERegistryException);
  EXPECT_EQ(reg.ReadString("v"), "kept");
  QFile::setPermissions(store_.FileName(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

TEST(RegistryFileLocation, KelRegistryNamesTheFileElseTheConfigurationFolderHoldsIt) {
  {
    ScopedRegistryFile store;
    EXPECT_EQ(DefaultRegistryFileName(), store.FileName());
  }
  const QByteArray saved = qgetenv("KEL_REGISTRY");
  const bool wasSet = qEnvironmentVariableIsSet("KEL_REGISTRY");
  qunsetenv("KEL_REGISTRY");
  const QString name = DefaultRegistryFileName();
  if (wasSet) qputenv("KEL_REGISTRY", saved);
  EXPECT_TRUE(
      name.startsWith(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)))
      << name.toStdString();
  EXPECT_TRUE(name.endsWith("/Kel/registry.sqlite"));
}

TEST_F(RegistryFile, ReadLocalMachineStringReadsTextBelowTheMachineRoot) {
  {
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(reg.OpenKey("Software\\Tool\\4.0", true));
    reg.WriteString("RootDir", "/opt/tool");
    reg.WriteInteger("Number", 4);
    reg.SetRootKey(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.OpenKey("Software\\Tool\\5.0", true));
    reg.WriteString("RootDir", "/home/user/tool");
  }
  bool found = false;
  EXPECT_EQ(ReadLocalMachineString("Software\\Tool\\4.0", "RootDir", &found), "/opt/tool");
  EXPECT_TRUE(found);
  EXPECT_EQ(ReadLocalMachineString("software\\tool\\4.0", "RootDir"), "/opt/tool");
  EXPECT_EQ(ReadLocalMachineString("Software\\Tool\\5.0", "RootDir", &found), "");
  EXPECT_FALSE(found);
  EXPECT_EQ(ReadLocalMachineString("Software\\Tool\\4.0", "Missing", &found), "");
  EXPECT_FALSE(found);
  EXPECT_EQ(ReadLocalMachineString("Software\\Tool\\4.0", "Number", &found), "");
  EXPECT_FALSE(found);
}

}  // namespace
