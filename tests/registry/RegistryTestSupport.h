#pragma once
// A fresh registry file per test (see ScopedRegistryFile).

#include <gtest/gtest.h>

#include "Registry.h"
#include "ScopedRegistryFile.h"

namespace Kel::Testing {

class RegistryTest : public ::testing::Test {
 protected:
  ScopedRegistryFile store_;
};

}  // namespace Kel::Testing
