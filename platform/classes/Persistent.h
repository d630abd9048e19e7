#pragma once
// TPersistent: the base of every object that can be copied with Assign and written to a
// component stream. Its published properties are its Q_PROPERTYs (see TypInfo.h).
//
// API summary
//   Assign(source)      copies source into this object; the default asks source->AssignTo(this),
//                       whose default raises EConvertError "Cannot assign a TSource to a TDest"
//                       ("nil" for a null source). Descendants override Assign for the sources
//                       they understand and AssignTo for the targets they can fill.
//   GetOwner()          the object this one belongs to in property paths (nullptr by default).
//                       A QObject, not necessarily a TPersistent: the library's controls are
//                       QWidgets and own collections too.
//   GetNamePath()       the path that names this object ("Form1.Items[2]"); by default the
//                       class name, preceded by the owner's path when there is one.
//   NamePathOf(obj)     GetNamePath() of a TPersistent, the objectName() of any other QObject.
//   DefineProperties()  declares extra stream data that is not a published property (TFiler is
//                       defined with the stream reader and writer, in Filer.h).
//   IsPropertyStored()  the "stored" rule of a property of its own: false keeps a published
//                       property out of streams whatever its value (true by default).
//   ClassName()         the class name without namespace ("TKelNamedItem").

#include <QObject>
#include <QString>

#include "PlatformExport.h"

namespace Kel {

class TFiler;

class KEL_PLATFORM_EXPORT TPersistent : public QObject {
  Q_OBJECT

 public:
  explicit TPersistent(QObject* parent = nullptr);
  ~TPersistent() override;

  virtual void Assign(TPersistent* source);
  virtual void AssignTo(TPersistent* dest) const;
  virtual QObject* GetOwner() const { return nullptr; }
  virtual QString GetNamePath() const;
  virtual void DefineProperties(TFiler& filer) {}
  virtual bool IsPropertyStored(const char* name) const { return true; }

  QString ClassName() const;
  static QString ClassNameOf(const QMetaObject& metaObject);
  static QString NamePathOf(const QObject* object);

 protected:
  // Raises EConvertError "Cannot assign a <source class> to a <this class>".
  [[noreturn]] void AssignError(const TPersistent* source) const;
};

}  // namespace Kel
