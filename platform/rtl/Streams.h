#pragma once
// The stream family: a byte stream with a position (TStream), one held in memory
// (TMemoryStream), one over a file (TFileStream) and one over text (TStringStream).
// Read/Write move at most the given count and return what they moved; ReadBuffer/WriteBuffer
// move all of it or raise EReadError / EWriteError ("Stream read error", "Stream write error").

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>

#include "PlatformExport.h"

class QFile;
class QSaveFile;

namespace Kel {

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

class KEL_PLATFORM_EXPORT TStream {
 public:
  virtual ~TStream() = default;

  virtual int64_t Read(void* buffer, int64_t count) = 0;
  virtual int64_t Write(const void* buffer, int64_t count) = 0;
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;

  int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
  void SetPosition(int64_t position) { Seek(position, TSeekOrigin::soBeginning); }
  virtual int64_t Size();
  virtual void SetSize(int64_t size);

  void ReadBuffer(void* buffer, int64_t count);
  void WriteBuffer(const void* buffer, int64_t count);
  void WriteBytes(const QByteArray& bytes) { WriteBuffer(bytes.constData(), bytes.size()); }
  // Copies count bytes from source (all of source from its start when count is 0).
  int64_t CopyFrom(TStream& source, int64_t count);
  // Everything from the current position to the end.
  QByteArray ReadRemaining();
};

// Bytes in memory; the stream's contents are Memory()[0 .. Size()).
class KEL_PLATFORM_EXPORT TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(QByteArray bytes) : data_(std::move(bytes)) {}

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return data_.size(); }
  void SetSize(int64_t size) override;

  void Clear();
  const char* Memory() const { return data_.constData(); }
  char* Memory() { return data_.data(); }
  const QByteArray& Bytes() const { return data_; }

  void LoadFromStream(TStream& stream);
  void SaveToStream(TStream& stream);
  void LoadFromFile(const QString& fileName);
  // Written through a temporary file that replaces the old one, so a crash keeps the old file.
  void SaveToFile(const QString& fileName);

 private:
  QByteArray data_;
  int64_t position_ = 0;
};

// File access modes, combinable with a share mode (accepted, not enforced).
enum : uint16_t {
  fmOpenRead = 0x0000,
  fmOpenWrite = 0x0001,
  fmOpenReadWrite = 0x0002,
  fmShareCompat = 0x0000,
  fmShareExclusive = 0x0010,
  fmShareDenyWrite = 0x0020,
  fmShareDenyRead = 0x0030,
  fmShareDenyNone = 0x0040,
  fmCreate = 0xFF00,
};

// A stream over a file. fmCreate makes a new, empty file: its contents are written to a
// temporary file that replaces the target when the stream is destroyed (or Commit() is called),
// so a crash mid-write leaves the old file. A stream destroyed while an exception unwinds the
// stack discards what it wrote and keeps the old file as well. Raises EFCreateError / EFOpenError
// ("Cannot create file %s" / "Cannot open file %s").
class KEL_PLATFORM_EXPORT TFileStream : public TStream {
 public:
  TFileStream(const QString& fileName, uint16_t mode);
  ~TFileStream() override;

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override;
  void SetSize(int64_t size) override;

  const QString& FileName() const { return fileName_; }
  // Makes a created file permanent now; raises EWriteError when that fails.
  void Commit();

 private:
  QString fileName_;
  std::unique_ptr<QFile> file_;
  std::unique_ptr<QSaveFile> saveFile_;
  int uncaughtAtCreate_ = 0;
  bool writeOnly_ = false;  // fmOpenWrite: the file is open for both, reads are refused
};

// A memory stream initialised from text (UTF-8) with the text read back as a whole.
class KEL_PLATFORM_EXPORT TStringStream : public TMemoryStream {
 public:
  explicit TStringStream(const QString& text = QString());
  QString DataString() const;
};

}  // namespace Kel
