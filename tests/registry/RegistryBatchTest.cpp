// Batches of the portable store: the changes of one batch become visible together on commit,
// and a batch that is rolled back (or never ended) leaves the values as they were.
#include "RegistryTestSupport.h"

namespace Kel {
namespace {

using Testing::RegistryTest;

class RegistryBatch : public RegistryTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(reg_.OpenKey("Software\\Batch", true));
    reg_.WriteBinary("Header", "old header");
    reg_.WriteBinary("Chunk", "old chunk");
  }
  static QByteArray ReadFromAnotherInstance(const QString& name) {
    TRegistry other;
    if (!other.OpenKeyReadOnly("Software\\Batch")) return QByteArray("<no key>");
    return other.ReadBinary(name);
  }
  TRegistry reg_;
};

TEST_F(RegistryBatch, CommittedChangesArriveTogether) {
  reg_.BeginBatch();
  reg_.WriteBinary("Chunk", "new chunk");
  reg_.WriteBinary("Header", "new header");
  reg_.EndBatch(true);
  EXPECT_EQ(ReadFromAnotherInstance("Chunk"), "new chunk");
  EXPECT_EQ(ReadFromAnotherInstance("Header"), "new header");
}

TEST_F(RegistryBatch, ARolledBackBatchLeavesEveryValue) {
  reg_.BeginBatch();
  reg_.WriteBinary("Chunk", "new chunk");
  reg_.DeleteValue("Header");
  reg_.EndBatch(false);
  EXPECT_EQ(ReadFromAnotherInstance("Chunk"), "old chunk");
  EXPECT_EQ(ReadFromAnotherInstance("Header"), "old header");
  // The store takes single changes again afterwards.
  reg_.WriteBinary("Chunk", "later");
  EXPECT_EQ(ReadFromAnotherInstance("Chunk"), "later");
}

}  // namespace
}  // namespace Kel
