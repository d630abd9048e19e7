// Two processes changing one registry file at the same time lose nothing. The test program starts
// itself twice as the workers: the worker test below does its work only when started that way.
#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>

#include "RegistryTestSupport.h"

using namespace Kel;

namespace {

constexpr int kValuesPerWorker = 100;
constexpr const char* kWorkerVariable = "KEL_REGISTRY_TEST_WORKER";

// Each worker writes its own values into one shared key, and creates (or finds) shared subkeys
// that the other worker creates too, each through a fresh TRegistry as separate programs would.
TEST(RegistryConcurrencyWorker, WritesItsShare) {
  const QString worker = qEnvironmentVariable(kWorkerVariable);
  if (worker.isEmpty()) GTEST_SKIP() << "runs only as a worker of TwoProcessesLoseNoValue";
  for (int i = 0; i < kValuesPerWorker; ++i) {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(QString("Software\\Shared\\Sub%1").arg(i % 10), true));
    ASSERT_TRUE(reg.OpenKey("\\Software\\Shared", false));
    reg.WriteInteger(QString("%1/%2").arg(worker).arg(i), i);
    reg.WriteString(QString("last-%1").arg(worker), QString::number(i));
  }
}

QProcess* StartWorker(const QString& name, const QString& registryFile, QObject* parent) {
  auto* process = new QProcess(parent);
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("KEL_REGISTRY", registryFile);
  environment.insert(kWorkerVariable, name);
  process->setProcessEnvironment(environment);
  process->setProcessChannelMode(QProcess::MergedChannels);
  process->start(QCoreApplication::applicationFilePath(),
                 {"--gtest_filter=RegistryConcurrencyWorker.WritesItsShare"});
  return process;
}

TEST(RegistryConcurrency, TwoProcessesLoseNoValue) {
  Kel::Testing::ScopedRegistryFile store;
  QObject owner;
  QProcess* first = StartWorker("A", store.FileName(), &owner);
  QProcess* second = StartWorker("B", store.FileName(), &owner);
  for (QProcess* process : {first, second}) {
    ASSERT_TRUE(process->waitForFinished(120000));
    EXPECT_EQ(process->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process->exitCode(), 0) << process->readAll().toStdString();
  }
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("Software\\Shared", false));
  for (const QString worker : {"A", "B"}) {
    for (int i = 0; i < kValuesPerWorker; ++i)
      EXPECT_EQ(reg.ReadInteger(QString("%1/%2").arg(worker).arg(i)), i);
    EXPECT_EQ(reg.ReadString("last-" + worker), QString::number(kValuesPerWorker - 1));
  }
  EXPECT_EQ(reg.GetValueNames().size(), 2 * kValuesPerWorker + 2);
  EXPECT_EQ(reg.GetKeyNames().size(), 10);  // each shared subkey once, though both created it
}

}  // namespace
