#include "CArchive.h"
#include "CFile.h"
#include "NativePath.h"
#include "TempUserFolders.h"
#include "TestFiles.h"

#include "CStringPrinting.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <stdexcept>
#include <vector>

TEST(CFile, WideNamesReachTheDiskAsUtf8)
{
  TempFolder folder;
  CString name = Wide(folder.Path()) + L"/Messung \u00E4\u20AC\U0001F600.dat";
  CFile file;
  ASSERT_TRUE(file.Open(name, CFile::modeCreate | CFile::modeWrite));
  EXPECT_EQ(file.GetFilePath(), name);
  EXPECT_TRUE(file.Write("abc", 3));
  file.Close();
  EXPECT_FALSE(file.IsOpen());
  EXPECT_EQ(ReadBytes(folder.Path() / "Messung \xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80.dat"), "abc");
  EXPECT_EQ(NativePath(name.GetString()),
            (folder.Path() / "Messung \xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80.dat").string());
}

TEST(CFile, OpenFlagsCreateTruncateOrKeep)
{
  TempFolder folder;
  CString name = Wide(folder.Path() / "f.bin");
  CFile file;
  EXPECT_FALSE(file.Open(name, CFile::modeRead)) << "missing file";
  EXPECT_FALSE(file.Open(name, CFile::modeReadWrite)) << "missing file without modeCreate";
  EXPECT_FALSE(file.Open(L"", CFile::modeRead));

  ASSERT_TRUE(file.Open(name, CFile::modeCreate | CFile::modeWrite));
  file.Write("0123456789", 10);
  file.Close();
  ASSERT_TRUE(file.Open(name, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite));
  EXPECT_EQ(file.GetLength(), 10u);
  file.Seek(2, CFile::begin);
  file.Write("ab", 2);
  char c = 0;
  EXPECT_EQ(file.Read(&c, 1), 1u) << "a read right after a write";
  EXPECT_EQ(c, '4');
  EXPECT_EQ(file.GetPosition(), 5u);
  file.Write("Z", 1);
  file.Close();
  EXPECT_EQ(ReadBytes(folder.Path() / "f.bin"), "01ab4Z6789");

  ASSERT_TRUE(file.Open(name, CFile::modeRead));
  EXPECT_FALSE(file.Write("x", 1)) << "read-only";
  EXPECT_EQ(file.SeekToEnd(), 10u);
  EXPECT_EQ(file.Seek(-3, CFile::current), 7u);
  EXPECT_EQ(file.Seek(-100, CFile::current), 7u) << "a seek before the start fails";
  char tail[8] = {};
  EXPECT_EQ(file.Read(tail, 8), 3u);
  EXPECT_STREQ(tail, "789");
  file.Close();

  ASSERT_TRUE(file.Open(name, CFile::modeCreate | CFile::modeWrite));
  EXPECT_EQ(file.GetLength(), 0u) << "modeCreate truncates";
}

TEST(CFile, LengthCountsWritesNotYetFlushedAndADirectoryHasNone)
{
  TempFolder folder;
  CFile file;
  ASSERT_TRUE(file.Open(Wide(folder.Path() / "f.bin"), CFile::modeCreate | CFile::modeReadWrite));
  ASSERT_TRUE(file.Write("0123456789", 10)); // still in the stream's buffer
  EXPECT_EQ(file.GetLength(), 10u);
  ASSERT_TRUE(file.Write("ab", 2));
  EXPECT_EQ(file.GetLength(), 12u);

  // The system opens a directory for reading; its end is no length that counts may be checked
  // against.
  CFile directory;
  ASSERT_TRUE(directory.Open(Wide(folder.Path()), CFile::modeRead));
  EXPECT_EQ(directory.GetLength(), 0u);
  CArchive ar(&directory, CArchive::load);
  EXPECT_EQ(ar.GetRemaining(), 0u);
  int n = 0;
  EXPECT_THROW(ar >> n, CArchiveException);
}

TEST(CFile, ArchiveRoundTripsThroughADiskFile)
{
  TempFolder folder;
  CString name = Wide(folder.Path() / "data.arc");
  {
    CFile file;
    ASSERT_TRUE(file.Open(name, CFile::modeCreate | CFile::modeWrite));
    CArchive ar(&file, CArchive::store);
    ar << CString(L"Kanal 1 \u00B5V") << 3 << 0.125;
    ar.Close();
  }
  CFile file;
  ASSERT_TRUE(file.Open(name, CFile::modeRead));
  CArchive ar(&file, CArchive::load);
  EXPECT_EQ(ar.GetRemaining(), file.GetLength());
  CString text;
  int n = 0;
  double d = 0;
  ar >> text >> n >> d;
  EXPECT_EQ(text, L"Kanal 1 \u00B5V");
  EXPECT_EQ(n, 3);
  EXPECT_EQ(d, 0.125);
  EXPECT_EQ(ar.GetRemaining(), 0u);
  EXPECT_THROW(ar >> n, CArchiveException);
}

TEST(CFile, ArchivesReadLargeBlocksInPiecesFromDiskAndMemory)
{
  // 12 MiB, enough for several reading threads, between two ints.
  std::vector<BYTE> block(size_t(12) << 20);
  for (size_t i = 0; i < block.size(); ++i)
    block[i] = BYTE((i * 2654435761u) >> 13);
  TempFolder folder;
  const CString name = Wide(folder.Path() / "block.arc");
  CFile disk;
  ASSERT_TRUE(disk.Open(name, CFile::modeCreate | CFile::modeReadWrite));
  CMemFile memory;
  for (CFile* file : {static_cast<CFile*>(&disk), static_cast<CFile*>(&memory)}) {
    CArchive ar(file, CArchive::store);
    ar << 7;
    ar.Write(block.data(), UINT(block.size()));
    ar << 8;
    ar.Flush(); // the disk file's last bytes are still in its buffer
  }
  EXPECT_EQ(disk.GetLength(), block.size() + 8);

  // Pieces of 1 MiB and one odd one, in their own buffers.
  const size_t sizes[] = {1 << 20, 12345, (11 << 20) - 12345};
  for (CFile* file : {static_cast<CFile*>(&disk), static_cast<CFile*>(&memory)}) {
    file->SeekToBegin();
    CArchive ar(file, CArchive::load);
    int first = 0;
    ar >> first;
    std::vector<std::vector<BYTE>> buffers;
    std::vector<CArchive::Piece> pieces;
    for (size_t size : sizes)
      for (size_t done = 0; done < size; done += 1 << 20) {
        buffers.emplace_back(std::min<size_t>(1 << 20, size - done));
        pieces.push_back({buffers.back().data(), buffers.back().size()});
      }
    std::vector<std::atomic<int>> calls(pieces.size());
    ar.ReadPieces(pieces.data(), pieces.size(), [&](size_t k) { ++calls[k]; });
    std::vector<BYTE> joined;
    for (size_t k = 0; k < pieces.size(); ++k) {
      EXPECT_EQ(calls[k], 1) << k;
      joined.insert(joined.end(), buffers[k].begin(), buffers[k].end());
    }
    EXPECT_TRUE(joined == block);
    int last = 0;
    ar >> last;
    EXPECT_EQ(first * 10 + last, 78) << "the archive goes on after the block";

    // A piece whose handler throws: that exception, once every reader has stopped.
    file->Seek(4, CFile::begin);
    EXPECT_THROW(ar.ReadPieces(pieces.data(), pieces.size(),
                               [](size_t k) {
                                 if (k == 5)
                                   throw std::runtime_error("piece 5");
                               }),
                 std::runtime_error);
    // More than the archive holds.
    file->Seek(9, CFile::begin);
    try {
      ar.ReadPieces(pieces.data(), pieces.size(), [](size_t) {});
      ADD_FAILURE() << "no exception";
    } catch (const CArchiveException& e) {
      EXPECT_EQ(e.m_cause, CArchiveException::endOfFile);
    }
  }
}

TEST(CMemFile, SeekPastTheEndAndWriteFillsWithZeros)
{
  CMemFile file;
  EXPECT_TRUE(file.Write("ab", 2));
  EXPECT_EQ(file.Seek(5, CFile::begin), 5u);
  char c;
  EXPECT_EQ(file.Read(&c, 1), 0u);
  EXPECT_TRUE(file.Write("z", 1));
  EXPECT_EQ(file.Data(), (std::vector<BYTE>{'a', 'b', 0, 0, 0, 'z'}));
  EXPECT_EQ(file.Seek(-1, CFile::begin), 6u) << "unchanged";
  EXPECT_EQ(file.Seek(-2, CFile::end), 4u);
  EXPECT_TRUE(file.Write("xyz", 3));
  EXPECT_EQ(file.GetLength(), 7u);
  file.SeekToBegin();
  char all[8] = {};
  EXPECT_EQ(file.Read(all, 8), 7u);
  EXPECT_EQ(std::string(all, 7), std::string("ab\0\0xyz", 7));

  CArchive ar(&file, CArchive::load);
  file.Seek(100, CFile::begin);
  EXPECT_EQ(ar.GetRemaining(), 0u) << "a position past the end leaves nothing, not a huge count";
}
