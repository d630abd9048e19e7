#include "KelFltBld.h"
#include "KelFltPending_p.h"
#include "StrUtils.h"

namespace Kel {

const QStringList& ReservedWords() {
  static const QStringList words = QStringLiteral(
      "ACTIVE ALL AFTER ALTER_ AND ANY AS ASC ASCENDING AT AUTO AUTOINC BASE_NAME BEFORE BEGIN "
      "BETWEEN BLOB BOOLEAN BOTH BY BYTES CACHE CAST CHARACTER CHECK COLUMN COMMIT COMMITTED "
      "COMPUTED CONDITIONAL CONNECT CONSTRAINT CONTAINING COUNT CREATE CURRENT CURSOR DATABASE "
      "DATE DEBUG DECIMAL DECLARE DEFAULT DELETE DESC DESCENDING DISTINCT DOMAIN DO DROP ELSE END "
      "ENTRY_POINT ESCAPE EXCEPTION EXECUTE EXISTS EXIT EXTERNAL EXTRACT FILTER FLOAT FOR FOREIGN "
      "FROM FULL FUNCTION GENERATOR GO GRANT GROUP HAVING IF IN INACTIVE INDEX INNER INSERT "
      "INTEGER INTO IS ISOLATION JOIN KEY NULL LEADING LEFT LEVEL LIKE MERGE MONEY NAMES NO NOT "
      "NUMERIC OF ON ONLY OR ORDER OUTER PARAMETER PASSWORD PIVOT PLAN POSITION PROCEDURE "
      "PROTECTED PRIMARY PRIVILEGES READ REFERENCES RETAIN RETURNING_VALUES RETURNS REVOKE RIGHT "
      "ROLLBACK SCHEMA SELECT SET SHARED SHADOW SMALLINT SNAPSHOT SOME SUSPEND TABLE THEN TIME "
      "TIMESTAMP TO TRAILING TRANSFORM TRANSACTION TRIGGER UNCOMMITTED UNION UNIQUE UPDATE USER "
      "USING VALUES VARCHAR VARIABLE VIEW WAIT WHEN WHERE WHILE WITH WORK")
                                       .split(u' ')
                                       .replaceInStrings(QStringLiteral("ALTER_"),
                                                         QStringLiteral("ALTER "));
  return words;
}

bool SqlHasWhere(const QString& sql) {
  QChar quote;
  for (qsizetype i = 0; i < sql.size(); ++i) {
    const QChar c = sql[i];
    if (!quote.isNull()) {
      if (c == quote) quote = QChar();
      continue;
    }
    if (c == u'\'' || c == u'"') {
      quote = c;
    } else if (c == u'/' && i + 1 < sql.size() && sql[i + 1] == u'*') {
      const qsizetype end = sql.indexOf(QStringLiteral("*/"), i + 2);
      if (end < 0) return false;
      i = end + 1;
    } else if (c.isLetter() && (i == 0 || !(sql[i - 1].isLetterOrNumber() || sql[i - 1] == u'_'))) {
      qsizetype end = i;
      while (end < sql.size() && (sql[end].isLetterOrNumber() || sql[end] == u'_')) ++end;
      if (SameText(sql.mid(i, end - i), QStringLiteral("WHERE"))) return true;
      i = end - 1;
    }
  }
  return false;
}

}  // namespace Kel
