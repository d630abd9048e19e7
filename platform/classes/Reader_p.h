#pragma once
// Private state of TReader: what reading whole objects collects until the root is complete.

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <vector>

#include "Filer.h"

namespace Kel {

class TReader::Impl {
 public:
  // A property that refers to a component by name, set once every component is read (the
  // component may come later in the stream).
  struct Fixup {
    QPointer<QObject> instance;
    QByteArray propertyName;
    QString referenceName;
    QString path;  // for error messages
  };
  std::vector<Fixup> fixups;
  // Components read so far, in reading order: Loaded() is called on them at the end.
  std::vector<QPointer<QObject>> loaded;
  // Where the property being read sits, for error messages: propPath is the prefix of the
  // properties of the object being read ("P[2]."), currentPath the property itself
  // ("P[2].Amount").
  QString propPath;
  QString currentPath;
  int propertyDepth = 0;
  // The first (innermost) failure while reading nested properties, reported by the outermost.
  bool failed = false;
  QString errorPath;
  QString errorMessage;
};

}  // namespace Kel
