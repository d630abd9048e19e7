#include "Streams.h"

#include <QFile>
#include <QSaveFile>
#include <algorithm>
#include <cstring>
#include <exception>
#include <limits>

#include "Exceptions.h"
#include "SaveFile.h"

namespace Kel {

namespace {

// QByteArray holds at most this many bytes; a stream that would grow beyond fails cleanly.
constexpr int64_t kMaxMemorySize = std::numeric_limits<qsizetype>::max() / 2;

// Clamps a seek target into [0, limit]; positions never go negative.
int64_t SeekTarget(int64_t offset, TSeekOrigin origin, int64_t current, int64_t size) {
  int64_t base = 0;
  switch (origin) {
    case TSeekOrigin::soBeginning:
      base = 0;
      break;
    case TSeekOrigin::soCurrent:
      base = current;
      break;
    case TSeekOrigin::soEnd:
      base = size;
      break;
  }
  if (offset > 0 && base > std::numeric_limits<int64_t>::max() - offset)
    return std::numeric_limits<int64_t>::max();
  const int64_t target = base + offset;
  return target < 0 ? 0 : target;
}

// The file a TFileStream works on: the plain file, or the save file of a stream made with
// fmCreate.
QFileDevice* ActiveDevice(QFile* file, QSaveFile* saveFile) {
  return file ? static_cast<QFileDevice*>(file) : saveFile;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TStream

int64_t TStream::Size() {
  const int64_t current = Seek(0, TSeekOrigin::soCurrent);
  const int64_t size = Seek(0, TSeekOrigin::soEnd);
  Seek(current, TSeekOrigin::soBeginning);
  return size;
}

void TStream::SetSize(int64_t) { throw EStreamError(RtlMessage(RtlText::WriteError)); }

void TStream::ReadBuffer(void* buffer, int64_t count) {
  if (count < 0 || (count != 0 && Read(buffer, count) != count))
    throw EReadError(RtlMessage(RtlText::ReadError));
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
  if (count < 0 || (count != 0 && Write(buffer, count) != count))
    throw EWriteError(RtlMessage(RtlText::WriteError));
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
  if (count < 0) throw EReadError(RtlMessage(RtlText::ReadError));
  if (count == 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  constexpr int64_t kChunk = 64 * 1024;
  QByteArray chunk(static_cast<qsizetype>(std::min(count, kChunk)), Qt::Uninitialized);
  int64_t left = count;
  while (left > 0) {
    const int64_t n = std::min(left, kChunk);
    source.ReadBuffer(chunk.data(), n);
    WriteBuffer(chunk.constData(), n);
    left -= n;
  }
  return count;
}

QByteArray TStream::ReadRemaining() {
  const int64_t left = Size() - Position();
  if (left <= 0) return QByteArray();
  if (left > kMaxMemorySize) throw EReadError(RtlMessage(RtlText::ReadError));
  QByteArray bytes(static_cast<qsizetype>(left), Qt::Uninitialized);
  ReadBuffer(bytes.data(), left);
  return bytes;
}

// ---------------------------------------------------------------------------------------------
// TMemoryStream

int64_t TMemoryStream::Read(void* buffer, int64_t count) {
  if (count <= 0 || position_ >= data_.size()) return 0;
  const int64_t n = std::min<int64_t>(count, data_.size() - position_);
  std::memcpy(buffer, data_.constData() + position_, static_cast<size_t>(n));
  position_ += n;
  return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  if (position_ > kMaxMemorySize - count)
    throw EStreamError(RtlMessage(RtlText::MemoryStreamError));
  const int64_t end = position_ + count;
  if (end > data_.size()) {
    // Writing after a seek beyond the end fills the gap with zeros, not with garbage.
    const qsizetype oldSize = data_.size();
    data_.resize(static_cast<qsizetype>(end));
    if (position_ > oldSize) std::memset(data_.data() + oldSize, 0, position_ - oldSize);
  }
  std::memcpy(data_.data() + position_, buffer, static_cast<size_t>(count));
  position_ = end;
  return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  position_ = SeekTarget(offset, origin, position_, data_.size());
  return position_;
}

void TMemoryStream::SetSize(int64_t size) {
  if (size < 0 || size > kMaxMemorySize) throw EStreamError(RtlMessage(RtlText::MemoryStreamError));
  const qsizetype oldSize = data_.size();
  data_.resize(static_cast<qsizetype>(size));
  if (size > oldSize) std::memset(data_.data() + oldSize, 0, size - oldSize);
  if (position_ > size) position_ = size;
}

void TMemoryStream::Clear() {
  data_.clear();
  position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream& stream) {
  stream.SetPosition(0);
  const int64_t size = stream.Size();
  if (size > kMaxMemorySize) throw EStreamError(RtlMessage(RtlText::MemoryStreamError));
  QByteArray bytes(static_cast<qsizetype>(size), Qt::Uninitialized);
  stream.ReadBuffer(bytes.data(), size);
  data_ = std::move(bytes);
  position_ = 0;
}

void TMemoryStream::SaveToStream(TStream& stream) {
  stream.WriteBuffer(data_.constData(), data_.size());
}

void TMemoryStream::LoadFromFile(const QString& fileName) {
  TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(file);
}

void TMemoryStream::SaveToFile(const QString& fileName) {
  TFileStream file(fileName, fmCreate);
  SaveToStream(file);
  file.Commit();
}

// ---------------------------------------------------------------------------------------------
// TFileStream

TFileStream::TFileStream(const QString& fileName, uint16_t mode) : fileName_(fileName) {
  if ((mode & fmCreate) == fmCreate) {
    saveFile_ = std::make_unique<QSaveFile>(fileName);
    if (!saveFile_->open(QIODevice::WriteOnly))
      throw EFCreateError(RtlMessage(RtlText::FCreateError, fileName));
    return;
  }
  QIODevice::OpenMode openMode;
  switch (mode & 0x000F) {
    case fmOpenWrite:
      // Qt truncates a file opened WriteOnly; opened for writing, a file keeps its contents
      // until they are overwritten. Reads are refused below instead.
      openMode = QIODevice::ReadWrite;
      writeOnly_ = true;
      break;
    case fmOpenReadWrite:
      openMode = QIODevice::ReadWrite;
      break;
    default:
      openMode = QIODevice::ReadOnly;
      break;
  }
  // Opening for writing must not create a missing file, only fmCreate does that.
  if (openMode != QIODevice::ReadOnly) openMode |= QIODevice::ExistingOnly;
  file_ = std::make_unique<QFile>(fileName);
  if (!file_->open(openMode)) throw EFOpenError(RtlMessage(RtlText::FOpenError, fileName));
}

TFileStream::~TFileStream() {
  if (!saveFile_ || !saveFile_->isOpen()) return;
  // Destroyed by an exception that interrupted the writing: the new contents are incomplete,
  // so the old file stays. A destructor must not throw; a failed commit keeps the old file too.
  if (unwinding_.Unwinding()) {
    saveFile_->cancelWriting();
    saveFile_->commit();
    return;
  }
  QString reason;
  CommitSaveFile(*saveFile_, reason);
}

int64_t TFileStream::Read(void* buffer, int64_t count) {
  if (count <= 0 || writeOnly_) return 0;
  QFileDevice* device = ActiveDevice(file_.get(), saveFile_.get());
  if (!device || !device->isOpen() || !device->isReadable()) return 0;
  const int64_t n = device->read(static_cast<char*>(buffer), count);
  return n < 0 ? 0 : n;
}

int64_t TFileStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  QFileDevice* device = ActiveDevice(file_.get(), saveFile_.get());
  if (!device || !device->isOpen() || !device->isWritable()) return 0;
  const int64_t n = device->write(static_cast<const char*>(buffer), count);
  return n < 0 ? 0 : n;
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
  QFileDevice* device = ActiveDevice(file_.get(), saveFile_.get());
  if (!device || !device->isOpen()) return 0;
  const int64_t target = SeekTarget(offset, origin, device->pos(), device->size());
  device->seek(target);
  return device->pos();
}

int64_t TFileStream::Size() {
  QFileDevice* device = ActiveDevice(file_.get(), saveFile_.get());
  return device && device->isOpen() ? device->size() : 0;
}

void TFileStream::SetSize(int64_t size) {
  QFileDevice* device = ActiveDevice(file_.get(), saveFile_.get());
  if (size < 0 || !device || !device->isOpen() || !device->resize(size))
    throw EWriteError(RtlMessage(RtlText::WriteError));
  if (device->pos() > size) device->seek(size);
}

void TFileStream::Commit() {
  if (!saveFile_) {
    if (file_ && file_->isOpen() && !file_->flush())
      throw EWriteError(RtlMessage(RtlText::WriteError));
    return;
  }
  if (!saveFile_->isOpen()) return;  // already committed
  QString reason;
  if (!CommitSaveFile(*saveFile_, reason))
    throw EWriteError(RtlMessage(RtlText::FWriteError, fileName_, reason));
}

// ---------------------------------------------------------------------------------------------
// TStringStream

TStringStream::TStringStream(const QString& text) : TMemoryStream(text.toUtf8()) {}

QString TStringStream::DataString() const { return QString::fromUtf8(Bytes()); }

}  // namespace Kel
