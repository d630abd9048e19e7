#include "KelRegistryStream.h"

#include <QtGlobal>
#include <algorithm>
#include <atomic>
#include <cstring>

#include "Exceptions.h"
#include "Registry.h"

namespace Kel {

namespace {

std::atomic<bool> chunkedLayout{false};

QString ChunkName(const QString& value, int64_t index) {
  return value + QStringLiteral("__") + QString::number(index);
}

QByteArray HeaderBytes(int64_t total) {
  return QByteArray(TKelRegistryStream::ChunkHeader) +
         QString::asprintf("%.10lld %.10d", static_cast<long long>(total),
                           TKelRegistryStream::ChunkSize)
             .toLatin1();
}

bool IsHeader(const QByteArray& bytes) {
  return bytes.size() == TKelRegistryStream::ChunkHeaderSize &&
         bytes.startsWith(TKelRegistryStream::ChunkHeader);
}

// A size field of the header: ten characters that should be digits; anything else counts as 0.
int64_t HeaderNumber(const QByteArray& header, int start) {
  bool ok = false;
  const qlonglong number = header.mid(start, 10).trimmed().toLongLong(&ok);
  return ok && number > 0 ? number : 0;
}

// The value's bytes; empty when it is not binary data.
QByteArray BinaryBytes(const TRegistryValue& value) {
  return value.type == rdBinary || value.type == rdUnknown ? value.bytes : QByteArray();
}

// The chunks in order until `total` bytes are there, a chunk is missing, or one is shorter than
// the chunk size. Only what is really stored is loaded, so a damaged header cannot make the stream
// claim memory the chunks never held.
QByteArray ReadChunks(TRegistry& reg, const QString& value, int64_t total, int64_t chunkSize,
                      bool& whole) {
  // Every chunk but the last is exactly chunkSize long and the last holds the rest: anything
  // else is a save that was torn between its chunks and its header, and reads as nothing.
  QByteArray contents;
  whole = false;
  if (total < 0 || chunkSize <= 0) return contents;
  for (int64_t index = 0; contents.size() < total; ++index) {
    const auto stored = reg.ReadValue(ChunkName(value, index));
    if (!stored) return QByteArray();
    const QByteArray chunk = BinaryBytes(*stored);
    const int64_t expected = std::min<int64_t>(chunkSize, total - contents.size());
    if (chunk.size() != expected) return QByteArray();
    contents += chunk;
  }
  whole = true;
  return contents;
}

}  // namespace

bool TKelRegistryStream::ChunkedLayout() { return chunkedLayout.load(); }

void TKelRegistryStream::SetChunkedLayout(bool chunked) { chunkedLayout.store(chunked); }

void TKelRegistryStream::SplitName(const QString& name, QString& key, QString& value) {
  const QString full = QString::fromUtf8(BaseKey) + QLatin1Char('\\') + name;
  const qsizetype last = full.lastIndexOf(QLatin1Char('\\'));
  key = full.left(last);
  value = full.mid(last + 1);
}

TKelRegistryStream::TKelRegistryStream(const QString& name, uint16_t mode) : valueName_(name) {
  SplitName(name, key_, value_);
  // Any mode holding all the create bits creates, share flags or not (rsCreate holds them too):
  // loading instead would keep the old contents' tail behind whatever is written now.
  if ((mode & fmCreate) == fmCreate) {
    Store();  // the value exists, empty, from now on
    return;
  }
  Load();
}

TKelRegistryStream::~TKelRegistryStream() {
  if (unwinding_.Unwinding()) return;  // the contents may be incomplete: the old value stays
  try {
    Save();
  } catch (const std::exception& e) {
    qWarning("TKelRegistryStream: %s could not be saved: %s", qUtf8Printable(valueName_), e.what());
  }
}

int64_t TKelRegistryStream::Write(const void* buffer, int64_t count) {
  const int64_t written = TMemoryStream::Write(buffer, count);
  modified_ = true;
  return written;
}

// Contents changed without Write (SetSize, LoadFromStream, filling Memory()) must not be lost
// either, even when their size stays; a stream that read nothing and holds nothing has nothing
// to save.
bool TKelRegistryStream::NeedsSaving() { return modified_ || Bytes() != stored_; }

void TKelRegistryStream::Save() {
  if (!NeedsSaving()) return;
  Store();
  modified_ = false;
  loadedSize_ = Size();
  stored_ = Bytes();
}

void TKelRegistryStream::Load() {
  QByteArray contents;
  try {
    TRegistry reg;
    if (!reg.OpenKeyReadOnly(key_)) return;
    const auto value = reg.ReadValue(value_);
    if (!value) return;
    const QByteArray stored = BinaryBytes(*value);
    if (ChunkedLayout() && IsHeader(stored)) {
      bool whole = false;
      contents = ReadChunks(reg, value_, HeaderNumber(stored, 15), HeaderNumber(stored, 26), whole);
      if (!whole) return;  // torn: nothing was loaded
    } else {
      contents = stored;
    }
  } catch (const ERegistryException&) {
    return;  // an unreadable store reads as an empty stream
  }
  loadedSize_ = contents.size();
  if (contents.isEmpty()) return;
  SetSize(contents.size());
  std::memcpy(Memory(), contents.constData(), static_cast<size_t>(contents.size()));
  stored_ = Bytes();
}

void TKelRegistryStream::Store() {
  TRegistry reg;
  if (!reg.OpenKey(key_, true))
    throw ERegistryException(RtlMessage(RegistryText::CreateKeyFailed, key_));
  const QByteArray contents = Bytes();
  // All values of one save change together where the store can do that, so a crash never
  // leaves a header of the new size over the old chunks.
  reg.BeginBatch();
  try {
    if (!ChunkedLayout()) {
      reg.WriteBinary(value_, contents);
    } else {
      // Where a batch is not atomic the chunks go first and the header last: a save torn in
      // between leaves the old header, whose sizes the new chunks do not match (see Load).
      const int64_t total = contents.size();
      int64_t index = 0;
      for (int64_t offset = 0; offset < total; offset += ChunkSize, ++index)
        reg.WriteBinary(ChunkName(value_, index), contents.mid(offset, ChunkSize));
      // Chunks of longer contents stored before would otherwise outlive them.
      for (int64_t stale = index; reg.ValueExists(ChunkName(value_, stale)); ++stale)
        reg.DeleteValue(ChunkName(value_, stale));
      reg.WriteBinary(value_, HeaderBytes(total));
    }
  } catch (...) {
    reg.EndBatch(false);
    throw;
  }
  reg.EndBatch(true);
}

}  // namespace Kel
