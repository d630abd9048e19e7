// kelsampledb: loads keldemo's sample tables into a database server, so that the demonstration
// can run against it (an alias of the alias file pointing there, see README).
//
//   kelsampledb --postgres CONNINFO [--replace] [--script FILE]
//   kelsampledb --alias NAME [--replace] [--script FILE]
//
// CONNINFO is a PostgreSQL connection string ("host=/var/run/postgresql dbname=kel"); the
// password comes from the client's password file or PGPASSWORD. Tables of the same names are
// replaced only with --replace.

#include <QCoreApplication>
#include <QTextStream>

#include "DB.h"
#include "SampleDatabase.h"

namespace {

const char* const kUsage =
    "usage: kelsampledb (--postgres CONNINFO | --alias NAME) [--replace] [--script FILE]\n"
    "Loads the sample tables of keldemo into a database.\n";

struct TOptions {
  QString conninfo;
  QString alias;
  QString script = QStringLiteral(KEL_SAMPLE_SCRIPT);
  bool replace = false;
  QString error;
};

TOptions ParseOptions(const QStringList& arguments) {
  TOptions options;
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    const QString& argument = arguments[i];
    const auto value = [&]() -> QString {
      if (i + 1 >= arguments.size()) {
        options.error = argument + QStringLiteral(" needs a value");
        return QString();
      }
      return arguments[++i];
    };
    if (argument == u"--postgres")
      options.conninfo = value();
    else if (argument == u"--alias")
      options.alias = value();
    else if (argument == u"--script")
      options.script = value();
    else if (argument == u"--replace")
      options.replace = true;
    else
      options.error = QStringLiteral("unknown argument \"%1\"").arg(argument);
    if (!options.error.isEmpty()) return options;
  }
  if (options.conninfo.isEmpty() == options.alias.isEmpty())
    options.error = QStringLiteral("give either --postgres or --alias");
  return options;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  QTextStream out(stdout);
  QTextStream errors(stderr);
  const TOptions options = ParseOptions(application.arguments().mid(1));
  if (!options.error.isEmpty()) {
    errors << "kelsampledb: " << options.error << "\n" << kUsage;
    return 2;
  }
  try {
    QString alias = options.alias;
    if (!options.conninfo.isEmpty()) {
      alias = QStringLiteral("kel-sample-target");
      Kel::Session().AddAlias(alias, QStringLiteral("QPSQL"), QString(),
                              {QStringLiteral("OPTIONS=") + options.conninfo});
    }
    Kel::LoadSampleTables(options.script, alias, options.replace);
    out << "kelsampledb: loaded " << Kel::SampleTableNames(options.script).join(", ") << "\n";
    Kel::Session().CloseDatabases();
    return 0;
  } catch (const std::exception& error) {
    errors << "kelsampledb: " << error.what() << "\n";
    return 1;
  }
}
