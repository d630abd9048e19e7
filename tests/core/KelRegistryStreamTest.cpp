// TKelRegistryStream: where a stream's contents land in the registry, when they are written
// back, and both value layouts (one value, or a header and 8192-byte chunks).
#include <gtest/gtest.h>

#include <QFile>

#include "Exceptions.h"
#include "KelRegistryStream.h"
#include "Registry.h"
#include "ScopedRegistryFile.h"

using namespace Kel;

namespace {

const QString kBase = QString::fromUtf8(TKelRegistryStream::BaseKey);

// Each test gets its own registry file and the layout of its parameter; the one-value layout
// comes back afterwards.
class RegistryStream : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override { TKelRegistryStream::SetChunkedLayout(GetParam()); }
  void TearDown() override { TKelRegistryStream::SetChunkedLayout(false); }

  static TRegistry& Open(TRegistry& reg, const QString& key) {
    EXPECT_TRUE(reg.OpenKey(key, true));
    return reg;
  }
  static QByteArray Value(const QString& key, const QString& name) {
    TRegistry reg;
    if (!reg.OpenKeyReadOnly(key) || !reg.ValueExists(name)) return "<missing>";
    return reg.ReadBinary(name);
  }
  static QByteArray Pattern(int size) {
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 31 + i / 256) & 0xFF);
    return bytes;
  }
  static QByteArray ReadAll(const QString& name) {
    TKelRegistryStream in(name, fmOpenRead);
    return in.Bytes();
  }

  Kel::Testing::ScopedRegistryFile store_;
};

using OneValueLayout = RegistryStream;
using ChunkedLayout = RegistryStream;
using BothLayouts = RegistryStream;

INSTANTIATE_TEST_SUITE_P(RegistryStream, OneValueLayout, ::testing::Values(false));
INSTANTIATE_TEST_SUITE_P(RegistryStream, ChunkedLayout, ::testing::Values(true));
INSTANTIATE_TEST_SUITE_P(RegistryStream, BothLayouts, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Chunked" : "OneValue"; });

TEST(RegistryStreamName, TheLastBackslashSeparatesKeyAndValue) {
  QString key;
  QString value;
  TKelRegistryStream::SplitName("KelFltBox\\FboxForm.Sievra", key, value);
  EXPECT_EQ(key, "Software\\Tesselbay\\Version 0.96B\\KelFltBox");
  EXPECT_EQ(value, "FboxForm.Sievra");
  TKelRegistryStream::SplitName("Plain", key, value);
  EXPECT_EQ(key, kBase);
  EXPECT_EQ(value, "Plain");
}

TEST_P(BothLayouts, AStreamCreatedForWritingAndFreedUnwrittenLeavesAnEmptyValue) {
  {
    TKelRegistryStream old("KelFltBox\\Empty", rsCreate);
    old.WriteBytes(Pattern(20000));
  }
  { TKelRegistryStream out("KelFltBox\\Empty", rsCreate); }
  EXPECT_EQ(ReadAll("KelFltBox\\Empty"), QByteArray());
  TKelRegistryStream in("KelFltBox\\Empty", fmOpenRead);
  EXPECT_EQ(in.LoadedSize(), 0);
  const QByteArray stored = Value(kBase + "\\KelFltBox", "Empty");
  EXPECT_EQ(stored, GetParam() ? QByteArray("__Long RegKey__0000000000 0000008192") : QByteArray());
}

TEST_P(BothLayouts, WrittenContentsReadBackWithTheirSize) {
  for (int size : {1, 8192, 8193, 3 * 8192}) {
    const QByteArray bytes = Pattern(size);
    {
      TKelRegistryStream out("KelFltBox\\Data", rsCreate);
      out.WriteBytes(bytes);
      EXPECT_TRUE(out.Modified());
    }
    TKelRegistryStream in("KelFltBox\\Data", fmOpenRead);
    EXPECT_EQ(in.LoadedSize(), size);
    EXPECT_EQ(in.Bytes(), bytes) << size;
    EXPECT_EQ(in.Position(), 0);
    EXPECT_FALSE(in.Modified());
  }
}

TEST_P(BothLayouts, ContentsChangedWithoutWriteAreStillSaved) {
  {
    TKelRegistryStream out("Data", rsCreate);
    out.SetSize(5);
    std::memcpy(out.Memory(), "abcde", 5);
  }
  EXPECT_EQ(ReadAll("Data"), "abcde");
  {
    TKelRegistryStream sameSize("Data", fmOpenRead);
    TMemoryStream replacement(QByteArray("vwxyz"));
    sameSize.LoadFromStream(replacement);
    EXPECT_FALSE(sameSize.Modified());
  }
  EXPECT_EQ(ReadAll("Data"), "vwxyz");
  {
    TKelRegistryStream shorter("Data", fmOpenRead);
    shorter.SetSize(2);
  }
  EXPECT_EQ(ReadAll("Data"), "vw");
}

TEST_P(BothLayouts, CreatingWithShareFlagsStartsEmptyToo) {
  {
    TKelRegistryStream out("Data", rsCreate);
    out.WriteBytes("a long first text");
  }
  {
    TKelRegistryStream out("Data", fmCreate | fmShareExclusive);
    EXPECT_EQ(out.Size(), 0);
    out.WriteBytes("short");
  }
  EXPECT_EQ(ReadAll("Data"), "short");
}

TEST_P(BothLayouts, AStreamOnlyReadWritesNothingBack) {
  {
    TKelRegistryStream out("Data", rsCreate);
    out.WriteBytes("first");
  }
  {
    TKelRegistryStream reader("Data", fmOpenRead);
    TKelRegistryStream writer("Data", rsCreate);  // someone else replaces the value meanwhile
    writer.WriteBytes("second");
  }
  EXPECT_EQ(ReadAll("Data"), "second");
}

TEST_P(BothLayouts, AMissingKeyOrValueGivesAnEmptyStreamAndCreatesNothing) {
  {
    TKelRegistryStream in("Nowhere\\Value", fmOpenRead);
    EXPECT_EQ(in.LoadedSize(), -1);
    EXPECT_EQ(in.Size(), 0);
  }
  TRegistry reg;
  EXPECT_FALSE(reg.KeyExists(kBase + "\\Nowhere"));
  Open(reg, kBase + "\\Somewhere");
  TKelRegistryStream in("Somewhere\\Missing", fmOpenRead);
  EXPECT_EQ(in.LoadedSize(), -1);
}

TEST_P(BothLayouts, ReadingADamagedStoreGivesAnEmptyStreamAndSavingReportsIt) {
  QFile file(store_.FileName());
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(QByteArray(1024, 'x'));
  file.close();
  TKelRegistryStream in("KelFltBox\\Data", fmOpenRead);
  EXPECT_EQ(in.LoadedSize(), -1);
  in.WriteBytes("lost?");
  EXPECT_THROW(in.Save(), ERegistryException);
  EXPECT_THROW(TKelRegistryStream("KelFltBox\\Data", rsCreate), ERegistryException);
}

TEST_P(OneValueLayout, AHeaderLikeValueIsJustData) {
  TRegistry reg;
  Open(reg, kBase).WriteBinary("Data", "__Long RegKey__0000000003 0000008192");
  reg.WriteBinary("Data__0", "abc");
  EXPECT_EQ(ReadAll("Data"), "__Long RegKey__0000000003 0000008192");
}

TEST_P(ChunkedLayout, TwentyThousandBytesAreAHeaderAndThreeChunks) {
  const QByteArray bytes = Pattern(20000);
  {
    TKelRegistryStream out("KelFltBox\\Data", rsCreate);
    out.WriteBytes(bytes);
  }
  const QString key = kBase + "\\KelFltBox";
  const QByteArray header = Value(key, "Data");
  EXPECT_EQ(header, "__Long RegKey__0000020000 0000008192");
  EXPECT_EQ(header.size(), 36);
  EXPECT_EQ(Value(key, "Data__0"), bytes.mid(0, 8192));
  EXPECT_EQ(Value(key, "Data__1"), bytes.mid(8192, 8192));
  EXPECT_EQ(Value(key, "Data__2"), bytes.mid(16384));
  EXPECT_EQ(Value(key, "Data__2").size(), 3616);
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(key, false));
  EXPECT_EQ(reg.GetValueNames(), (QStringList{"Data", "Data__0", "Data__1", "Data__2"}));
}

TEST_P(ChunkedLayout, ShorterContentsRemoveTheChunksTheyNoLongerUse) {
  {
    TKelRegistryStream out("Data", rsCreate);
    out.WriteBytes(Pattern(20000));
  }
  {
    TKelRegistryStream out("Data", fmOpenRead);
    out.SetSize(0);
    out.WriteBytes("short");
  }
  EXPECT_EQ(ReadAll("Data"), "short");
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(kBase, false));
  EXPECT_EQ(reg.GetValueNames(), (QStringList{"Data", "Data__0"}));
}

TEST_P(ChunkedLayout, AMissingOrShortChunkIsATornSaveAndReadsAsNothing) {
  TRegistry reg;
  Open(reg, kBase).WriteBinary("Old", "no header: one block");
  EXPECT_EQ(ReadAll("Old"), "no header: one block");
  reg.WriteBinary("Gap", "__Long RegKey__0000020000 0000008192");
  reg.WriteBinary("Gap__0", Pattern(8192));
  reg.WriteBinary("Gap__2", "never reached");
  EXPECT_EQ(ReadAll("Gap"), QByteArray());
  reg.WriteBinary("Short", "__Long RegKey__0000020000 0000008192");
  reg.WriteBinary("Short__0", "abc");
  reg.WriteBinary("Short__1", "never reached");
  TKelRegistryStream in("Short", fmOpenRead);
  EXPECT_EQ(in.Bytes(), QByteArray());
  EXPECT_EQ(in.LoadedSize(), -1);  // nothing loaded: not the half of a save
}

TEST_P(ChunkedLayout, AHeaderThatTheChunksDoNotMatchReadsAsNothing) {
  TRegistry reg;
  Open(reg, kBase).WriteBinary("Huge", "__Long RegKey__9999999999 0000000001");
  for (int i = 0; i < 3; ++i) reg.WriteBinary(QString("Huge__%1").arg(i), "x");
  EXPECT_EQ(ReadAll("Huge"), QByteArray());
  reg.WriteBinary("Words", "__Long RegKey__abcdefghij klmnopqrst");
  reg.WriteBinary("Words__0", "abc");
  EXPECT_EQ(ReadAll("Words"), QByteArray());  // a total that is no number counts as 0
  reg.WriteBinary("NoChunkSize", "__Long RegKey__0000000006 0000000000");
  reg.WriteBinary("NoChunkSize__0", "abc");
  reg.WriteBinary("NoChunkSize__1", "def");
  EXPECT_EQ(ReadAll("NoChunkSize"), QByteArray());
  // An old header of another size over new chunks: the save was torn before its header.
  reg.WriteBinary("Torn", "__Long RegKey__0000010000 0000008192");
  reg.WriteBinary("Torn__0", Pattern(8192));
  reg.WriteBinary("Torn__1", Pattern(5000));
  EXPECT_EQ(ReadAll("Torn"), QByteArray());
}

}  // namespace
