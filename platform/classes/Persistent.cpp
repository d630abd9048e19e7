#include "Persistent.h"

#include "Exceptions.h"

namespace Kel {

TPersistent::TPersistent(QObject* parent) : QObject(parent) {}

TPersistent::~TPersistent() = default;

void TPersistent::Assign(TPersistent* source) {
  if (source == nullptr) AssignError(nullptr);
  source->AssignTo(this);
}

void TPersistent::AssignTo(TPersistent* dest) const {
  if (dest == nullptr) throw EConvertError(RtlMessage(RtlText::AssignError, ClassName(), "nil"));
  dest->AssignError(this);
}

void TPersistent::AssignError(const TPersistent* source) const {
  const QString sourceName = source ? source->ClassName() : QStringLiteral("nil");
  throw EConvertError(RtlMessage(RtlText::AssignError, sourceName, ClassName()));
}

QString TPersistent::GetNamePath() const {
  QString result = ClassName();
  if (const QObject* owner = GetOwner()) {
    const QString ownerPath = NamePathOf(owner);
    if (!ownerPath.isEmpty()) result = ownerPath + u'.' + result;
  }
  return result;
}

QString TPersistent::NamePathOf(const QObject* object) {
  if (!object) return QString();
  if (const auto* persistent = qobject_cast<const TPersistent*>(object))
    return persistent->GetNamePath();
  return object->objectName();
}

QString TPersistent::ClassName() const { return ClassNameOf(*metaObject()); }

QString TPersistent::ClassNameOf(const QMetaObject& metaObject) {
  const QString name = QString::fromLatin1(metaObject.className());
  const qsizetype colon = name.lastIndexOf(u':');
  return colon < 0 ? name : name.mid(colon + 1);
}

}  // namespace Kel
