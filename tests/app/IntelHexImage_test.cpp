#include "IntelHexImage.h"

#include <gtest/gtest.h>

#include <string>

namespace {
bool Check(const std::string& text)
{
  return IsIntelHexImage(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}
const std::string kData = ":0400000001020304F2\r\n";
const std::string kEnd = ":00000001FF\r\n";
} // namespace

TEST(IntelHexImage, RecordsChecksumsAndEndRecord)
{
  EXPECT_TRUE(Check(kData + kEnd));
  EXPECT_TRUE(Check(":0400000001020304f2\n:00000001FF")) << "lower case, LF, no final line end";
  EXPECT_TRUE(Check(":020000040800F2\r\n" + kData + kEnd + "\r\n")) << "extended address, blank tail";

  EXPECT_FALSE(Check("")) << "empty file";
  EXPECT_FALSE(Check(kData)) << "no end-of-file record";
  EXPECT_FALSE(Check(":0400000001020304F3\r\n" + kEnd)) << "checksum";
  EXPECT_FALSE(Check(":0500000001020304F2\r\n" + kEnd)) << "count and length disagree";
  EXPECT_FALSE(Check(":04000006010203040F\r\n" + kEnd)) << "record type";
  EXPECT_FALSE(Check("<html><body>Not Found</body></html>\r\n"));
  EXPECT_FALSE(Check(kData + "\r\n" + kEnd)) << "empty line between records";
  EXPECT_FALSE(Check(kData + kEnd + kData)) << "records after the end";
  EXPECT_FALSE(Check(":04000000010203G4F2\r\n" + kEnd));

  // Nothing to write: the bootloader would be entered and handed an empty image.
  EXPECT_FALSE(Check(kEnd)) << "end record only";
  EXPECT_FALSE(Check(":020000040800F2\r\n:0000000000\r\n" + kEnd)) << "address and empty data records";
}
