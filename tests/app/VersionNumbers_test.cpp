#include "VersionNumbers.h"

#include "CStringPrinting.h"

#include <gtest/gtest.h>

TEST(VersionNumbers, PaddedPartsOrderVersions)
{
  EXPECT_EQ(NormaliseVersion(L"1.2.3"), L"001.002.0000003");
  EXPECT_EQ(ParseVersion(L"1.2.3"), 10020000003LL);
  EXPECT_EQ(NormaliseVersion(L"1.2"), L"001.002.0000000");
  EXPECT_EQ(NormaliseVersion(L"2.1.15.9"), L"002.001.0000015") << "a fourth part is ignored";
  EXPECT_EQ(ParseVersion(L""), 0);
  EXPECT_GT(ParseVersion(L"10.0.0"), ParseVersion(L"9.99.9999999"));
  EXPECT_GT(ParseVersion(L"1.10.0"), ParseVersion(L"1.9.99"));
}
