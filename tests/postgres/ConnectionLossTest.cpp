// A database server that restarts or stops under open tables and queries: reads go on through a
// new connection (or say that the dataset must be opened again), a write made while the server is
// gone is reported and kept for posting again, nothing waits longer than the connect timeout, and
// keldemo's filter window works again after a restart.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <set>

#include "Buttons.h"
#include "DB.h"
#include "DemoFormParts.h"
#include "FboxToolPanel.h"
#include "PostgresTest.h"
#include "TestPrinters.h"
#include "fboxunit.h"

namespace Kel {
namespace {

using Testing::PostgresTest;

class ConnectionLossTest : public PostgresTest {
 protected:
  void TearDown() override {
    if (Server().Installed() && !Server().Running()) Server().StartAgain();
    PostgresTest::TearDown();
  }
  void Restart() {
    ASSERT_TRUE(Server().ShutDown()) << Server().Reason().toStdString();
    ASSERT_TRUE(Server().StartAgain()) << Server().Reason().toStdString();
  }
  // A table far larger than what a connection buffers (a restart cuts its reading short), in
  // a database of its own behind the alias PGBIG.
  static constexpr const char* BigAlias = "PGBIG";
  static void CreateBigTable() {
    static bool created = false;
    if (created) return;
    Server().CreateDatabase("kelbig");
    Server().AddAlias(BigAlias, "kelbig");
    {
      QSqlDatabase raw = QSqlDatabase::addDatabase("QPSQL", "kel-test-big");
      raw.setConnectOptions(Server().ConnectionString("kelbig"));
      ASSERT_TRUE(raw.open());
      QSqlQuery query(raw);
      ASSERT_TRUE(
          query.exec("create table big as select i as id, repeat('x', 100) as label "
                     "from generate_series(1, 200000) i"));
      ASSERT_TRUE(query.exec("alter table big add primary key (id)"));
    }
    QSqlDatabase::removeDatabase("kel-test-big");
    created = true;
  }
  static bool EachIdOnce(TDataSet& data) {
    std::vector<int> ids;
    for (data.First(); !data.Eof(); data.Next()) ids.push_back(data.Fields()[0]->AsInteger());
    for (size_t i = 0; i < ids.size(); ++i)
      if (ids[i] != static_cast<int>(i) + 1) return false;
    return ids.size() == 200000;
  }
  static std::set<int> Species(TDataSet& data) {
    std::set<int> species;
    for (data.First(); !data.Eof(); data.Next())
      species.insert(data.FieldByName("Species No")->AsInteger());
    return species;
  }
  static QString ErrorOf(const std::function<void()>& action) {
    try {
      action();
    } catch (const EDatabaseError& e) {
      return e.Message();
    }
    return QStringLiteral("<no error>");
  }
};

TEST_F(ConnectionLossTest, ReadsAndWritesGoOnAfterTheServerRestarts) {
  CreateBigTable();
  TTable big, country;
  TQuery query;
  big.SetDatabaseName(BigAlias);
  query.SetDatabaseName(BigAlias);
  country.SetDatabaseName(Alias);
  big.SetTableName("big");
  country.SetTableName("country");
  query.SQL()->Add("select id from big order by id");
  big.Open();
  query.Open();
  country.Open();
  ASSERT_FALSE(big.AllRecordsFetched());
  ASSERT_FALSE(query.AllRecordsFetched());

  Restart();
  // A table half read reads on after its last record, through a new connection.
  EXPECT_TRUE(EachIdOnce(big));
  // A query half read says so; opened again, it reads.
  const QString lost = ErrorOf([&] { query.Last(); });
  EXPECT_TRUE(
      lost.startsWith("The connection of alias 'PGBIG' was lost before all records "
                      "were read; close and open the dataset again"))
      << lost.toStdString();
  query.Close();
  query.Open();
  EXPECT_TRUE(EachIdOnce(query));
  // A read on the session's own connection is run again on a new one.
  Restart();
  EXPECT_TRUE(Session().TableNames(Alias).contains("country"));

  // An edit posted while the server is down is kept, and posted once it is back.
  ASSERT_TRUE(Server().ShutDown());
  const QString capital = country.FieldByName("Capital")->AsString();
  country.Edit();
  country.FieldByName("Capital")->SetAsString("Outage");
  EXPECT_TRUE(ErrorOf([&] { country.Post(); })
                  .startsWith("The connection of alias 'PGTEST' was lost: the change was not "
                              "saved. It is kept and can be posted again once the database "
                              "answers"));
  EXPECT_TRUE(ErrorOf([&] { country.Post(); }).startsWith("Cannot open database 'PGTEST'"));
  EXPECT_EQ(country.State(), dsEdit);
  EXPECT_EQ(country.FieldByName("Capital")->AsString(), "Outage");
  ASSERT_TRUE(Server().StartAgain());
  country.Post();
  TQuery check;
  check.SetDatabaseName(Alias);
  check.SQL()->Add(QStringLiteral("select \"Capital\" from country where \"Name\" = '%1'")
                       .arg(country.FieldByName("Name")->AsString()));
  check.Open();
  EXPECT_EQ(check.Fields()[0]->AsString(), "Outage");
  country.Edit();
  country.FieldByName("Capital")->SetAsString(capital);
  country.Post();
}

TEST_F(ConnectionLossTest, AServerStoppedForGoodGivesClearErrorsWithoutWaiting) {
  CreateBigTable();
  TTable big;
  big.SetDatabaseName(BigAlias);
  big.SetTableName("big");
  big.Open();
  ASSERT_TRUE(Server().ShutDown());
  QElapsedTimer timer;
  timer.start();
  const QString noServer = QStringLiteral("Cannot open database 'PGBIG'");
  EXPECT_TRUE(ErrorOf([&] { big.Last(); }).startsWith(noServer));
  EXPECT_TRUE(ErrorOf([&] { Session().TableNames(BigAlias); }).startsWith(noServer));
  TQuery query;
  query.SetDatabaseName(BigAlias);
  query.SQL()->Add("select 1");
  EXPECT_TRUE(ErrorOf([&] { query.Open(); }).startsWith(noServer));
  big.First();  // the records read before stay
  big.Edit();
  big.FieldByName("label")->SetAsString("never saved");
  EXPECT_FALSE(ErrorOf([&] { big.Post(); }).isEmpty());
  EXPECT_EQ(big.State(), dsEdit);
  big.Cancel();
  EXPECT_LT(timer.elapsed(), 5000) << "a server that is gone is no reason to wait";
}

TEST(ConnectionTimeout, AServerThatDoesNotAnswerIsGivenUpAfterTheConnectTimeout) {
  if (!QSqlDatabase::isDriverAvailable("QPSQL")) GTEST_SKIP() << "no PostgreSQL driver";
  // A port whose listener takes connections but never says a word.
  const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(::listen(listener, 8), 0);
  ASSERT_EQ(::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length), 0);
  Session().AddAlias(
      "SILENT", "QPSQL", "kel",
      {"HOST=127.0.0.1", QStringLiteral("PORT=%1").arg(ntohs(address.sin_port)), "USER=kel"});
  QElapsedTimer timer;
  timer.start();
  EXPECT_THROW(Session().TableNames("SILENT"), EDatabaseError);
  const qint64 waited = timer.elapsed();
  Session().DeleteAlias("SILENT");
  ::close(listener);
  EXPECT_GE(waited, (TSession::ConnectTimeoutSeconds - 1) * 1000);
  EXPECT_LT(waited, (TSession::ConnectTimeoutSeconds + 5) * 1000);
}

TEST_F(ConnectionLossTest, TheFilterWindowWorksAgainAfterTheServerRestarts) {
  // keldemo's sample alias on the server, as its README shows.
  QTemporaryDir dir;
  const QString aliases = dir.filePath("aliases.ini");
  {
    QFile file(aliases);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("[DBDEMOS]\ndriver=QPSQL\ndatabase=kel\nhost=%1\nport=%2\nuser=%3\n")
                   .arg(Server().SocketFolder())
                   .arg(Server().Port())
                   .arg(Server().User())
                   .toUtf8());
  }
  Session().LoadAliasFile(aliases);
  QStringList messages;
  const TDemoMessageHook previous =
      SetDemoMessageHook([&](QWidget*, const QString& text) { messages << text; });
  {
    TFboxForm form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    // What keldemo does with an error that a button raises: it shows it.
    const auto press = [&](QWidget* button, QPoint at = QPoint()) {
      try {
        QTest::mouseClick(button, Qt::LeftButton, {}, at);
      } catch (const std::exception& error) {
        messages << QString::fromUtf8(error.what());
      }
    };
    auto* serverBased = form.findChild<QCheckBox*>("ServerBasedCheckBox");
    ASSERT_NE(serverBased, nullptr);
    const QPoint box(serverBased->height() / 2, serverBased->height() / 2);
    press(serverBased, box);
    ASSERT_TRUE(form.Query()->Active());
    const std::set<int> selected = Species(*form.Query());
    ASSERT_FALSE(selected.empty());

    Restart();
    press(form.ToolPanel()->RunFilterBtn);
    press(form.ToolPanel()->RunFilterBtn);
    EXPECT_LE(messages.size(), 1) << "an error once at most: " << messages.join('\n').toStdString();
    messages.clear();
    EXPECT_TRUE(form.Query()->Active());
    EXPECT_EQ(Species(*form.Query()), selected) << "the server's records again";

    // Back on the table, after one more restart: its filter button selects the same records.
    Restart();
    press(serverBased, box);
    ASSERT_FALSE(serverBased->isChecked());
    press(form.ToolPanel()->FilterStateBtn);
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
    EXPECT_TRUE(form.Table()->Filtered());
    EXPECT_EQ(Species(*form.Table()), selected);
  }
  SetDemoMessageHook(previous);
  Session().LoadAliasFile(QString());
}

}  // namespace
}  // namespace Kel
