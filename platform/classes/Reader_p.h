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
  };
  std::vector<Fixup> fixups;
  // Components read so far, in reading order: Loaded() is called on them at the end.
  std::vector<QPointer<QObject>> loaded;
  // Dotted path of the property being read, for error messages ("P.Items.Amount").
  QString propPath;
};

}  // namespace Kel
