// The stream family: positions and sizes, exact reads and writes, and files that survive a
// failed or unfinished write.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "Exceptions.h"
#include "Streams.h"

namespace Kel {
namespace {

QByteArray FileBytes(const QString& fileName) {
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly)) return QByteArray("<missing>");
  return file.readAll();
}

void WriteFile(const QString& fileName, const QByteArray& bytes) {
  QFile file(fileName);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

TEST(MemoryStream, WriteGrowsReadStopsAtEnd) {
  TMemoryStream stream;
  stream.WriteBuffer("abcdef", 6);
  EXPECT_EQ(stream.Size(), 6);
  EXPECT_EQ(stream.Position(), 6);
  stream.SetPosition(4);
  char buffer[8] = {};
  EXPECT_EQ(stream.Read(buffer, 8), 2);
  EXPECT_EQ(QByteArray(buffer, 2), "ef");
  EXPECT_EQ(stream.Read(buffer, 8), 0);
}

TEST(MemoryStream, ReadBufferBeyondEndRaisesReadError) {
  TMemoryStream stream(QByteArray("abc"));
  char buffer[4];
  EXPECT_THROW(stream.ReadBuffer(buffer, 4), EReadError);
  try {
    stream.SetPosition(0);
    stream.ReadBuffer(buffer, 10);
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message(), "Stream read error");
  }
}

TEST(MemoryStream, SeekClampsBelowZeroAndWritingPastEndFillsZeros) {
  TMemoryStream stream(QByteArray("ab"));
  EXPECT_EQ(stream.Seek(-5, TSeekOrigin::soCurrent), 0);
  EXPECT_EQ(stream.Seek(-1, TSeekOrigin::soEnd), 1);
  stream.Seek(4, TSeekOrigin::soEnd);
  stream.WriteBuffer("z", 1);
  EXPECT_EQ(stream.Bytes(), QByteArray("ab\0\0\0\0z", 7));
}

TEST(MemoryStream, OverwriteInTheMiddleKeepsSize) {
  TMemoryStream stream(QByteArray("abcdef"));
  stream.SetPosition(2);
  stream.WriteBuffer("XY", 2);
  EXPECT_EQ(stream.Bytes(), "abXYef");
  EXPECT_EQ(stream.Position(), 4);
}

TEST(MemoryStream, SetSizeTruncatesAndClampsPosition) {
  TMemoryStream stream(QByteArray("abcdef"));
  stream.Seek(0, TSeekOrigin::soEnd);
  stream.SetSize(3);
  EXPECT_EQ(stream.Position(), 3);
  EXPECT_EQ(stream.Bytes(), "abc");
  stream.SetSize(5);
  EXPECT_EQ(stream.Bytes(), QByteArray("abc\0\0", 5));
  EXPECT_THROW(stream.SetSize(-1), EStreamError);
}

TEST(MemoryStream, CopyFromZeroCountCopiesWholeSource) {
  TMemoryStream source(QByteArray("hello"));
  source.SetPosition(3);
  TMemoryStream target;
  EXPECT_EQ(target.CopyFrom(source, 0), 5);
  EXPECT_EQ(target.Bytes(), "hello");
  source.SetPosition(1);
  TMemoryStream part;
  EXPECT_EQ(part.CopyFrom(source, 3), 3);
  EXPECT_EQ(part.Bytes(), "ell");
  EXPECT_THROW(part.CopyFrom(source, 10), EReadError);
}

TEST(MemoryStream, ReadRemainingFromPosition) {
  TMemoryStream stream(QByteArray("abcdef"));
  stream.SetPosition(2);
  EXPECT_EQ(stream.ReadRemaining(), "cdef");
  EXPECT_EQ(stream.ReadRemaining(), "");
}

class FileStreamTest : public ::testing::Test {
 protected:
  QString Path(const QString& name) const { return dir_.filePath(name); }
  QTemporaryDir dir_;
};

TEST_F(FileStreamTest, CreateWritesOnlyWhenCommitted) {
  const QString name = Path("out.bin");
  WriteFile(name, "old contents");
  {
    TFileStream stream(name, fmCreate);
    stream.WriteBuffer("new", 3);
    // Until the stream is committed the old file is what a reader sees.
    EXPECT_EQ(FileBytes(name), "old contents");
  }
  EXPECT_EQ(FileBytes(name), "new");
}

TEST_F(FileStreamTest, CommitMakesFileVisibleAtOnce) {
  const QString name = Path("out.bin");
  TFileStream stream(name, fmCreate);
  stream.WriteBuffer("abc", 3);
  EXPECT_EQ(stream.Size(), 3);
  stream.Commit();
  EXPECT_EQ(FileBytes(name), "abc");
  stream.Commit();  // a second commit is harmless
}

TEST_F(FileStreamTest, ExceptionDuringWriteKeepsOldFile) {
  const QString name = Path("keep.bin");
  WriteFile(name, "precious");
  try {
    TFileStream stream(name, fmCreate);
    stream.WriteBuffer("partial", 7);
    throw EAbort("stop");
  } catch (const EAbort&) {
  }
  EXPECT_EQ(FileBytes(name), "precious");
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{"keep.bin"});
}

TEST_F(FileStreamTest, OpenReadMissingFileRaisesOpenError) {
  const QString name = Path("missing.bin");
  try {
    TFileStream stream(name, fmOpenRead);
    FAIL() << "no exception";
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Message(), "Cannot open file " + name);
  }
  EXPECT_THROW(TFileStream(name, fmOpenReadWrite), EFOpenError);
  EXPECT_FALSE(QFile::exists(name));
}

TEST_F(FileStreamTest, CreateInMissingFolderRaisesCreateError) {
  const QString name = Path("no/such/folder/x.bin");
  try {
    TFileStream stream(name, fmCreate);
    FAIL() << "no exception";
  } catch (const EFCreateError& e) {
    EXPECT_EQ(e.Message(), "Cannot create file " + name);
  }
}

TEST_F(FileStreamTest, ReadWriteExistingFileInPlace) {
  const QString name = Path("rw.bin");
  WriteFile(name, "abcdef");
  {
    TFileStream stream(name, fmOpenReadWrite);
    EXPECT_EQ(stream.Size(), 6);
    stream.Seek(-2, TSeekOrigin::soEnd);
    char buffer[2];
    stream.ReadBuffer(buffer, 2);
    EXPECT_EQ(QByteArray(buffer, 2), "ef");
    stream.SetPosition(0);
    stream.WriteBuffer("XY", 2);
  }
  EXPECT_EQ(FileBytes(name), "XYcdef");
}

TEST_F(FileStreamTest, OpenWriteKeepsWhatIsNotOverwritten) {
  const QString name = Path("w.bin");
  WriteFile(name, "abcdef");
  {
    TFileStream stream(name, fmOpenWrite);
    EXPECT_EQ(stream.Size(), 6);
    stream.WriteBuffer("XY", 2);
    char buffer[1];
    EXPECT_EQ(stream.Read(buffer, 1), 0);  // opened for writing only
  }
  EXPECT_EQ(FileBytes(name), "XYcdef");
  EXPECT_THROW(TFileStream(Path("absent.bin"), fmOpenWrite), EFOpenError);
}

TEST_F(FileStreamTest, ReadOnlyStreamRefusesWrites) {
  const QString name = Path("ro.bin");
  WriteFile(name, "abc");
  TFileStream stream(name, fmOpenRead);
  EXPECT_THROW(stream.WriteBuffer("x", 1), EWriteError);
  EXPECT_EQ(FileBytes(name), "abc");
}

TEST_F(FileStreamTest, MemoryStreamFileRoundTrip) {
  const QString name = Path("mem.bin");
  TMemoryStream out(QByteArray("\x01\x02\x00\x03", 4));
  out.SaveToFile(name);
  TMemoryStream in;
  in.LoadFromFile(name);
  EXPECT_EQ(in.Bytes(), out.Bytes());
  EXPECT_EQ(in.Position(), 0);
  EXPECT_THROW(in.LoadFromFile(Path("none.bin")), EFOpenError);
  EXPECT_EQ(in.Bytes(), out.Bytes());  // a failed load keeps the contents
}

}  // namespace
}  // namespace Kel
