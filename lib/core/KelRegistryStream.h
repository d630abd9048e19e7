#pragma once
// TKelRegistryStream: a memory stream whose contents persist in a binary value of the user's
// registry, below the library's base key. The list box keeps its memory slots and items there
// between runs.
//
//   {
//     TKelRegistryStream out("KelFltBox\\FboxForm.Sievra", rsCreate);  // value written empty
//     out.WriteBytes(bytes);
//   }                                                  // written back when destroyed
//   TKelRegistryStream in("KelFltBox\\FboxForm.Sievra", fmOpenRead);  // loaded at once
//
// The name is a path below the base key: the part after its last backslash names the value,
// the part before it the key ("KelFltBox\FboxForm.Sievra" is the value "FboxForm.Sievra" of the
// key "Software\Tesselbay\Version 0.96B\KelFltBox"). Keys are created when writing.
//
// Two layouts: one binary value holding everything (the default), or, for registries whose values
// must stay small, a 36-byte header value ("__Long RegKey__" and the total and chunk sizes as
// "%.10d %.10d") followed by chunk values "<name>__0", "<name>__1", ... of 8192 bytes each, the
// last one shorter. SetChunkedLayout switches the whole process.
//
// Reading never raises: a key that cannot be opened, or a store that cannot be read, gives an
// empty stream with LoadedSize -1, and a missing value reads as empty. Writing raises
// ERegistryException; the destructor writes too but cannot raise, so callers that must know
// whether the contents were saved call Save() first.

#include <QByteArray>
#include <QString>
#include <cstdint>

#include "KelExport.h"
#include "Streams.h"

namespace Kel {

// The classic "create" mode of this stream; fmCreate does the same.
inline constexpr uint16_t rsCreate = 0xFFFF;

class KEL_EXPORT TKelRegistryStream : public TMemoryStream {
 public:
  static constexpr const char* BaseKey = "Software\\Tesselbay\\Version 0.96B";
  static constexpr const char* ChunkHeader = "__Long RegKey__";
  static constexpr int ChunkHeaderSize = 36;
  static constexpr int ChunkSize = 8192;

  TKelRegistryStream(const QString& name, uint16_t mode);
  ~TKelRegistryStream() override;

  const QString& ValueName() const { return valueName_; }
  int64_t LoadedSize() const { return loadedSize_; }
  bool Modified() const { return modified_; }

  int64_t Write(const void* buffer, int64_t count) override;

  // Writes the contents to the registry now when they changed (by Write, or in any other way
  // since they were loaded or saved), and marks them saved. Raises ERegistryException.
  void Save();

  static bool ChunkedLayout();
  static void SetChunkedLayout(bool chunked);

  // The registry key and value a stream name stands for.
  static void SplitName(const QString& name, QString& key, QString& value);

 private:
  bool NeedsSaving();
  void Load();
  void Store();

  QString valueName_;
  QString key_;
  QString value_;
  int64_t loadedSize_ = -1;
  QByteArray stored_;  // the contents as the registry holds them (shared until they change)
  bool modified_ = false;
};

}  // namespace Kel
