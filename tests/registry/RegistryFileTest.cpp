// The portable store's file: where it lives, when it is created, and what happens when the file
// is damaged or not a registry file at all (a clear error, and the file is never written over).
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>

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
  // A SQLite database of someone else's, made through Qt's own driver.
  void MakeDatabase(const QStringList& statements) {
    {
      QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "foreign");
      db.setDatabaseName(store_.FileName());
      ASSERT_TRUE(db.open());
      QSqlQuery query(db);
      for (const QString& sql : statements) ASSERT_TRUE(query.exec(sql)) << sql.toStdString();
    }
    QSqlDatabase::removeDatabase("foreign");
  }
  // Reading and writing must both raise, naming the file, and leave it byte for byte.
  void ExpectRefusedAndUntouched(const QString& expectedWords) {
    const QByteArray before = FileBytes();
    TRegistry reg;
    for (auto* action : std::initializer_list<void (*)(TRegistry&)>{
             [](TRegistry& r) { r.ReadString("v"); }, [](TRegistry& r) { r.CreateKey("S"); },
             [](TRegistry& r) { r.WriteString("v", "x"); }}) {
      try {
        action(reg);
        ADD_FAILURE() << "no exception";
      } catch (const ERegistryException& e) {
        EXPECT_TRUE(e.Message().contains(QDir::toNativeSeparators(store_.FileName())) &&
                    e.Message().contains(expectedWords))
            << e.Message().toStdString();
      }
    }
    EXPECT_EQ(FileBytes(), before);
  }
};

TEST_F(RegistryFile, ReadingCreatesNothingAndTheFirstChangeCreatesFileAndFolder) {
  TRegistry reg;
  EXPECT_FALSE(reg.OpenKey("Software", false));
  EXPECT_EQ(reg.ReadString("v"), "");
  EXPECT_FALSE(reg.DeleteKey("Software"));
  EXPECT_FALSE(QFileInfo::exists(store_.FileName()));

  const QString nested = store_.Folder() + QString::fromUtf8("/a/\u00e4 \u65e5/registry.sqlite");
  TRegistry writer(OpenRegistryFile(nested));
  ASSERT_TRUE(writer.OpenKey("Software", true));
  writer.WriteString("v", "x");
  EXPECT_TRUE(QFileInfo::exists(nested));  // under its own name, whatever the script
  TRegistry reader(OpenRegistryFile(nested));
  ASSERT_TRUE(reader.OpenKey("Software", false));
  EXPECT_EQ(reader.ReadString("v"), "x");
}

TEST_F(RegistryFile, AGarbageFileIsReportedAndLeftAlone) {
  QFile file(store_.FileName());
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  for (int i = 0; i < 4096; ++i) file.putChar(static_cast<char>((i * 7919) & 0xFF));
  file.close();
  ExpectRefusedAndUntouched("damaged");
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
  EXPECT_EQ(name, QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                      "/Kel/registry.sqlite");
}

TEST_F(RegistryFile, ReadLocalMachineStringReadsTextBelowTheMachineRootOnly) {
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
  EXPECT_EQ(ReadLocalMachineString("software\\tool\\4.0", "RootDir", &found), "/opt/tool");
  EXPECT_TRUE(found);
  for (const auto& [key, name] : {std::pair{"Software\\Tool\\5.0", "RootDir"},
                                  {"Software\\Tool\\4.0", "Missing"},
                                  {"Software\\Tool\\4.0", "Number"}}) {
    EXPECT_EQ(ReadLocalMachineString(key, name, &found), "");
    EXPECT_FALSE(found) << key << " " << name;
  }
}

}  // namespace
