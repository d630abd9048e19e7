// Arbitrary bytes as a stored registry value read through TKelRegistryStream (in both layouts, a
// header with chunks behind it included), and as the prod.inc and help-contents text the
// uninstaller rewrites.
//
// The first byte chooses: bit 0 the chunked layout, bit 1 a value made of "__Long RegKey__" and
// the next 21 input bytes (so the sizes are fuzzed), bit 2 three chunks cut from the rest of the
// input. Without bit 1 the value is the input itself (at most 60 bytes).
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "KelRegistryStream.h"
#include "Registry.h"
#include "UninstallSteps.h"

using namespace Kel;

namespace {

constexpr int kMaxValue = 60;

// The store lives in memory-backed storage when there is some, so runs stay fast; the values
// are written through one connection kept open.
std::unique_ptr<QTemporaryDir> storeFolder;
std::shared_ptr<TRegistryBackend> store;

void StoreValue(const QByteArray& value, const QByteArray& chunkBytes, bool withChunks) {
  TRegistry reg(store);
  QString key;
  QString name;
  TKelRegistryStream::SplitName(QStringLiteral("Fuzz\\Value"), key, name);
  if (!reg.OpenKey(key, true)) std::abort();
  reg.WriteBinary(name, value);
  qsizetype offset = 0;
  for (int i = 0; i < 3; ++i) {
    const QString chunk = name + QStringLiteral("__") + QString::number(i);
    if (withChunks) {
      reg.WriteBinary(chunk, chunkBytes.mid(offset, 5 + i));
      offset += 5 + i;
    } else {
      reg.DeleteValue(chunk);
    }
  }
}

void ReadStream(bool chunked) {
  TKelRegistryStream::SetChunkedLayout(chunked);
  TKelRegistryStream in(QStringLiteral("Fuzz\\Value"), fmOpenRead);
  // A stream that was only read holds what its values hold, no more, and has nothing to save.
  if (in.Size() != in.LoadedSize() && !(in.LoadedSize() == -1 && in.Size() == 0)) std::abort();
  if (in.Size() > kMaxValue) std::abort();
  if (in.Modified()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  const QString base =
      QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
  storeFolder = std::make_unique<QTemporaryDir>(base + QStringLiteral("/kel-fuzz-XXXXXX"));
  const QString fileName = storeFolder->filePath(QStringLiteral("registry.sqlite"));
  qputenv("KEL_REGISTRY", QFile::encodeName(fileName));
  store = OpenRegistryFile(fileName);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t mode = data[0];
  const QByteArray rest(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));

  if (mode & 2) {
    const QByteArray header =
        QByteArray(TKelRegistryStream::ChunkHeader) + rest.left(21).leftJustified(21, '0');
    StoreValue(header, rest.mid(21), (mode & 4) != 0);
  } else {
    StoreValue(rest.left(kMaxValue), rest, (mode & 4) != 0);
  }
  ReadStream((mode & 1) != 0);

  const QStringList remaining{QStringLiteral("Kit"), QStringLiteral("A B")};
  const QByteArray rewritten = Uninstall::RewriteDefines(rest, remaining);
  // Rewriting twice changes nothing more.
  if (Uninstall::RewriteDefines(rewritten, remaining) != rewritten) std::abort();
  const QByteArray withoutEntry = Uninstall::RemoveHelpEntry(rest, QStringLiteral("kit.hlp"));
  if (withoutEntry.size() > rest.size()) std::abort();
  return 0;
}
