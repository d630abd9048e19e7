#pragma once
// The filer family: reading and writing component streams in their binary form.
//
// A component stream is the signature "TPF0" and one component: an optional flags prefix, the
// class name, the component name, its properties (name + typed value) up to an end marker, and
// its child components up to an end marker. Every value is one type byte (TValueType) and its
// payload, little-endian throughout.
//
//  - TFiler is what a persistent object sees in DefineProperties: it declares extra properties
//    that are not published (DefineProperty with read/write callbacks, DefineBinaryProperty with
//    raw bytes) and tells whether the object is written against an ancestor.
//  - TWriter writes values (integers in their smallest kind, text as String/LString when plain
//    ASCII and as WString otherwise, ...) and whole objects: the published properties in
//    declaration order, skipping values equal to their declared default (or to the ancestor's),
//    nested objects as dotted names, string lists and collections, child components.
//  - TReader reads values, accepting every kind wherever a number or text is expected (the
//    bytes of 8-bit text, ShortStrings included, as DecodeUtf8OrAnsiBytes reads them), and whole
//    objects: it creates children and collection items, sets the properties by name, marks the
//    components as loading and calls Loaded() when all of them are read.
//
// Outside bytes never crash a reader: a truncated stream raises EReadError "Stream read error",
// an unknown type byte or a damaged structure "Invalid stream format", a value of the wrong kind
// "Invalid property value", a property the class lacks "Property X does not exist"; errors while
// reading a property are reported as "Error reading Root.Path.Prop: <reason>". Nesting of lists,
// collections and components is bounded (MaxNestingDepth).

#include <QByteArray>
#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "Currency.h"
#include "DateUtils.h"
#include "ExtendedFloat.h"
#include "PlatformExport.h"
#include "Set.h"
#include "StrUtils.h"
#include "Streams.h"
#include "Variant.h"

class QMetaObject;
class QObject;

namespace Kel {

class TPersistent;
class TComponent;
class TCollection;
class TStrings;
class TReader;
class TWriter;
namespace TypInfo {
class TPropInfo;
}

// The type byte of every value in a binary component stream.
enum TValueType : uint8_t {
  vaNull = 0,  // a null variant; also the end marker of every list
  vaList = 1,
  vaInt8 = 2,
  vaInt16 = 3,
  vaInt32 = 4,
  vaExtended = 5,
  vaString = 6,
  vaIdent = 7,
  vaFalse = 8,
  vaTrue = 9,
  vaBinary = 10,
  vaSet = 11,
  vaLString = 12,
  vaNil = 13,
  vaCollection = 14,
  vaSingle = 15,
  vaCurrency = 16,
  vaDate = 17,
  vaWString = 18,
  vaInt64 = 19,
  vaUTF8String = 20,
  vaUString = 21,
  vaQWord = 22,
};
inline constexpr int kLastValueType = vaQWord;

// The kinds that hold an integer (QWord may exceed the signed 64-bit range).
inline bool IsIntegerKind(TValueType kind) {
  return kind == vaInt8 || kind == vaInt16 || kind == vaInt32 || kind == vaInt64 || kind == vaQWord;
}

// The optional component prefix: 0xF0 | flags, followed by the child position when ffChildPos
// is set. Member e is bit 1 << e, as in the stream.
enum TFilerFlag { ffInherited = 0, ffChildPos = 1, ffInline = 2 };
using TFilerFlags = TSet<TFilerFlag>;

// The signature in front of every component stream.
inline constexpr char kFilerSignature[4] = {'T', 'P', 'F', '0'};

// Lists, collections and components nest at most this deep in what a reader accepts; deeper
// input is refused. Writers allow four times as much, since they spend more levels on the same
// structure (a collection and its item's properties, nested objects): whatever was read can be
// written again.
inline constexpr int MaxNestingDepth = 64;

using TReaderProc = std::function<void(TReader&)>;
using TWriterProc = std::function<void(TWriter&)>;
using TStreamProc = std::function<void(TStream&)>;

class KEL_PLATFORM_EXPORT TFiler {
 public:
  TFiler(TStream& stream, int maxDepth) : stream_(stream), maxDepth_(maxDepth) {}
  virtual ~TFiler() = default;
  TFiler(const TFiler&) = delete;
  TFiler& operator=(const TFiler&) = delete;

  TStream& Stream() const { return stream_; }

  // The component being read or written as a whole; component references are written relative
  // to LookupRoot (normally the same component).
  TComponent* Root() const { return root_; }
  virtual void SetRoot(TComponent* root);
  TComponent* LookupRoot() const { return lookupRoot_; }
  void SetLookupRoot(TComponent* lookupRoot) { lookupRoot_ = lookupRoot; }

  // The object that the one being written descends from (nullptr: none). DefineProperties
  // implementations compare with it to decide whether they have data to write.
  TPersistent* Ancestor() const { return ancestor_; }
  void SetAncestor(TPersistent* ancestor) { ancestor_ = ancestor; }

  bool IgnoreChildren() const { return ignoreChildren_; }
  void SetIgnoreChildren(bool value) { ignoreChildren_ = value; }

  // Declares a property that is not published. A writer calls writeData when hasData is true;
  // a reader calls readData when the stream holds a property of that name.
  virtual void DefineProperty(const QString& name, TReaderProc readData, TWriterProc writeData,
                              bool hasData) = 0;
  // The same for raw bytes, stored as one Binary value.
  virtual void DefineBinaryProperty(const QString& name, TStreamProc readData,
                                    TStreamProc writeData, bool hasData) = 0;

 protected:
  // Counts one more level of nesting for its lifetime; throws when MaxNestingDepth is passed.
  class NestingGuard {
   public:
    explicit NestingGuard(TFiler& filer);
    ~NestingGuard() { --filer_.depth_; }
    NestingGuard(const NestingGuard&) = delete;
    NestingGuard& operator=(const NestingGuard&) = delete;

   private:
    TFiler& filer_;
  };
  // Raised by NestingGuard; readers raise EReadError, writers EWriteError.
  [[noreturn]] virtual void NestingError() = 0;

 private:
  TStream& stream_;
  TComponent* root_ = nullptr;
  TComponent* lookupRoot_ = nullptr;
  TPersistent* ancestor_ = nullptr;
  bool ignoreChildren_ = false;
  int maxDepth_;
  int depth_ = 0;
};

class KEL_PLATFORM_EXPORT TWriter : public TFiler {
 public:
  explicit TWriter(TStream& stream) : TFiler(stream, 4 * MaxNestingDepth) {}

  void SetRoot(TComponent* root) override;
  void DefineProperty(const QString& name, TReaderProc readData, TWriterProc writeData,
                      bool hasData) override;
  void DefineBinaryProperty(const QString& name, TStreamProc readData, TStreamProc writeData,
                            bool hasData) override;

  // ---- values
  void Write(const void* buffer, int64_t count) { Stream().WriteBuffer(buffer, count); }
  void WriteValue(TValueType value);
  void WriteSignature();
  void WritePrefix(TFilerFlags flags, int childPos);
  // A component header: prefix, class name, name. A class name of 240 bytes or more begins with
  // a length byte that readers would take for a prefix, so an empty prefix (0xF0) goes first.
  void WriteComponentHeader(TFilerFlags flags, int childPos, const QString& className,
                            const QString& name);
  // A length byte and the UTF-8 bytes; EWriteError when they exceed 255 bytes.
  void WriteStr(const QString& text);
  void WriteListBegin() { WriteValue(vaList); }
  void WriteListEnd() { WriteValue(vaNull); }
  // Int8, Int16, Int32 or Int64: the smallest kind that holds the value.
  void WriteInteger(int64_t value);
  void WriteQWord(uint64_t value);  // Int64 when it fits, else QWord
  void WriteBoolean(bool value) { WriteValue(value ? vaTrue : vaFalse); }
  void WriteFloat(double value);  // Extended
  void WriteExtended(const TExtended80& value);
  void WriteSingle(float value);
  void WriteCurrency(Currency value);
  void WriteDate(TDateTime value);
  // String (up to 255 bytes) or LString for plain ASCII text, WString otherwise.
  void WriteString(const QString& text);
  void WriteWideString(const QString& text);  // always WString
  void WriteUTF8String(const QString& text);  // always UTF8String
  void WriteChar(QChar c) { WriteString(QString(c)); }
  // An identifier; "True", "False", "nil" and "Null" (any case) become their own value kinds.
  void WriteIdent(const QString& ident);
  void WriteSet(const QStringList& members);
  void WriteBinary(const QByteArray& bytes);
  // The value in its own kind: empty as Nil, null as Null, integers, floats (single as Single,
  // double as Extended), currency, date, booleans, text (a wide string always as WString, so it
  // reads back as one); arrays as a List of their elements.
  void WriteVariant(const Variant& value);
  void WriteCollectionBegin() { WriteValue(vaCollection); }

  // ---- objects
  // The signature and the component with its children: what TStream.WriteComponent writes.
  void WriteDescendent(TComponent* root, TComponent* ancestor);
  void WriteRootComponent(TComponent* root) { WriteDescendent(root, nullptr); }
  // One component: prefix, class name, name, properties, children.
  void WriteComponent(TComponent* component);
  // The published properties of instance (those stored and different from the default or the
  // ancestor) and then what its DefineProperties declares.
  void WriteProperties(TPersistent* instance);
  // A Collection value: each item's properties in a List, then the end marker.
  void WriteCollection(TCollection* collection);

  // Writing a component reference: its name relative to LookupRoot: "Table1" for a component
  // LookupRoot owns, "Owner" for LookupRoot itself, "Form1.Table1" for a component of another
  // named owner, "Table1.Owner" for a named component without a named owner; empty when it
  // cannot be named.
  QString ComponentReferenceName(const TComponent* component) const;

 private:
  [[noreturn]] void NestingError() override;
  void WritePropName(const QString& name);
  void WriteProperty(TPersistent* instance, const TypInfo::TPropInfo& prop);
  void WriteObjectProperty(TPersistent* instance, const TypInfo::TPropInfo& prop);
  void WriteStringList(TStrings* strings);
  bool IsSameAsAncestor(TPersistent* instance, const TypInfo::TPropInfo& prop) const;
  void WriteChildren(TComponent* component);

  QString propPath_;  // dotted prefix of nested objects' properties ("Font.")
  TComponent* rootAncestor_ = nullptr;
};

class KEL_PLATFORM_EXPORT TReader : public TFiler {
 public:
  explicit TReader(TStream& stream);
  ~TReader() override;

  void DefineProperty(const QString& name, TReaderProc readData, TWriterProc writeData,
                      bool hasData) override;
  void DefineBinaryProperty(const QString& name, TStreamProc readData, TStreamProc writeData,
                            bool hasData) override;

  // ---- values
  void Read(void* buffer, int64_t count) { Stream().ReadBuffer(buffer, count); }
  // The next type byte, consumed; "Invalid stream format" for an unknown one.
  TValueType ReadValue();
  // The next type byte without consuming it.
  TValueType NextValue();
  // Consumes the next type byte; "Invalid property value" unless it is the expected one.
  void CheckValue(TValueType expected);
  // True (and nothing consumed) when the next byte is the end marker of a list.
  bool EndOfList();
  void ReadListBegin() { CheckValue(vaList); }
  void ReadListEnd() { CheckValue(vaNull); }
  void ReadSignature();  // "Invalid stream format" unless the stream starts with "TPF0"
  void ReadPrefix(TFilerFlags& flags, int& childPos);
  QString ReadStr();  // a ShortString

  // Any integer kind; "Invalid property value" when the value does not fit.
  int ReadInteger();
  int64_t ReadInt64();
  // Any number kind: integers, Extended, Single, Currency, Date.
  double ReadFloat();
  float ReadSingle();
  // Any number kind; Extended converts without passing through double.
  Currency ReadCurrency();
  TDateTime ReadDate();
  // Any text kind: String, LString, WString, UTF8String, UString.
  QString ReadString();
  QChar ReadChar();  // a text of exactly one character
  // Ident, or True/False/nil/Null given by their own kinds (as those words).
  QString ReadIdent();
  bool ReadBoolean();  // True/False, or the identifiers True/False
  QStringList ReadSet();
  QByteArray ReadBinary();
  // The value as a variant: Nil -> empty, Null -> null, integers -> integer (Int64 -> 64-bit),
  // Extended -> double, Single, Currency, Date, String/LString/UTF8String -> string,
  // WString/UString -> wide string, True/False -> boolean, List -> array (low bound 0).
  Variant ReadVariant();
  // Skips one value of any kind, nested ones included.
  void SkipValue();
  // Skips a property (name and value) or, at a list's end marker, nothing.
  void SkipProperty();

  // ---- objects
  // Reads a whole stream (signature and one component) into root, or into a new instance of the
  // class the stream names (created through the class registry) when root is nullptr.
  TComponent* ReadRootComponent(TComponent* root);
  // Reads one component: into component when given, else a new one owned by Owner() (or by
  // Root()). Returns the component.
  TComponent* ReadComponent(TComponent* component);
  // Reads the properties of instance up to the end marker.
  void ReadProperties(TPersistent* instance);
  // Reads one property (name and value) into instance.
  void ReadProperty(TPersistent* instance);
  // Reads a Collection value into collection, replacing its items.
  void ReadCollection(TCollection* collection);

  // The owner of components that ReadComponent creates (default: Root()).
  TComponent* Owner() const { return owner_; }
  void SetOwner(TComponent* owner) { owner_ = owner; }

  // Where references by name are looked up besides Root(): this component and its owners.
  void SetReferenceContext(TComponent* context) { referenceContext_ = context; }

  // Called with the message of an error met while reading a property; setting handled to true
  // skips the property and goes on instead of failing.
  std::function<void(TReader& reader, const QString& message, bool& handled)> OnError;

 private:
  class Impl;
  friend class Impl;
  [[noreturn]] void NestingError() override;
  [[noreturn]] void InvalidValue();
  void SkipBytes(int64_t count);
  QByteArray ReadCounted(int64_t count);
  QByteArray ReadShortBytes();
  int64_t ReadIntegerOfKind(TValueType kind);
  QString ReadStringOfKind(TValueType kind);
  double ReadFloatOfKind(TValueType kind);

  void ReadPropertyPath(TPersistent* instance, const QString& path);
  void ReadPropValue(QObject* instance, const TypInfo::TPropInfo& prop);
  void ReadObjectValue(QObject* instance, const TypInfo::TPropInfo& prop);
  void ReadStringList(TStrings* strings);
  bool ReadDefinedProperty(TPersistent* instance, const QString& name);
  void BeginReading(TComponent* component);
  void FinishLoading();
  void AbortLoading();
  void ResolveFixups();
  TComponent* FindReference(const QString& name) const;
  // "Root.path" for error messages (the root's class name when it has no name).
  QString ErrorLocation(const QString& path) const;

  TComponent* owner_ = nullptr;
  TComponent* referenceContext_ = nullptr;
  QString propName_;  // the defined property DefineProperty should claim, while looking
  bool propClaimed_ = false;
  std::unique_ptr<Impl> impl_;
};

}  // namespace Kel
