#include "CArchive.h"
#include "TextConversion.h"

#include "CStringPrinting.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <vector>

namespace {

using Bytes = std::vector<BYTE>;

Bytes Store(const std::function<void(CArchive&)>& write)
{
  CMemFile file;
  CArchive ar(&file, CArchive::store);
  write(ar);
  ar.Close();
  return file.Data();
}

template <typename T> T LoadOne(const Bytes& bytes)
{
  CMemFile file(bytes.data(), bytes.size());
  CArchive ar(&file, CArchive::load);
  T value{};
  ar >> value;
  EXPECT_EQ(file.GetPosition(), bytes.size()) << "the whole value is read, nothing more";
  return value;
}

Bytes Cat(std::initializer_list<Bytes> parts)
{
  Bytes all;
  for (const Bytes& p : parts)
    all.insert(all.end(), p.begin(), p.end());
  return all;
}

Bytes Units(const CString& text)
{
  Bytes out;
  for (char16_t u : ToUtf16(text)) {
    out.push_back(BYTE(u & 0xFF));
    out.push_back(BYTE(u >> 8));
  }
  return out;
}

int CauseOfLoading(const Bytes& bytes, ULONGLONG* positionAfter = nullptr)
{
  CMemFile file(bytes.data(), bytes.size());
  CArchive ar(&file, CArchive::load);
  try {
    CString s;
    ar >> s;
  } catch (const CArchiveException& e) {
    if (positionAfter)
      *positionAfter = file.GetPosition();
    return e.m_cause;
  }
  return CArchiveException::none;
}

template <typename T>
concept Storable = requires(CArchive& ar, T v)
{
  ar << v;
};

} // namespace

static_assert(Storable<COLORREF> && Storable<BOOL> && Storable<const wchar_t*>);
static_assert(!Storable<const char*>, "a narrow literal must not be stored as a bool");

TEST(CArchive, StringLengthPrefixHasTheExactFormatBytes)
{
  struct Case {
    int length;
    Bytes prefix;
  };
  const Case cases[] = {
      {0, {0xFF, 0xFE, 0xFF, 0x00}},
      {1, {0xFF, 0xFE, 0xFF, 0x01}},
      {254, {0xFF, 0xFE, 0xFF, 0xFE}},
      {255, {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0x00}},
      {65533, {0xFF, 0xFE, 0xFF, 0xFF, 0xFD, 0xFF}},
      {65534, {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
      {65535, {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}},
      {70000, {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}},
  };
  for (const Case& c : cases) {
    CString text;
    for (int i = 0; i < c.length; ++i)
      text += wchar_t(L'A' + i % 26);
    Bytes stored = Store([&](CArchive& ar) { ar << text; });
    EXPECT_EQ(stored, Cat({c.prefix, Units(text)})) << "length " << c.length;
    EXPECT_EQ(LoadOne<CString>(stored), text) << "length " << c.length;
  }
}

TEST(CArchive, NonBmpCharactersAreStoredAsSurrogatePairsCountedInUnits)
{
  CString text = L"a\U0001F600\u00E4";
  Bytes stored = Store([&](CArchive& ar) { ar << text; });
  EXPECT_EQ(stored, (Bytes{0xFF, 0xFE, 0xFF, 0x04, 'a', 0, 0x3D, 0xD8, 0x00, 0xDE, 0xE4, 0x00}));
  EXPECT_EQ(LoadOne<CString>(stored), text);

  // 128 emoji are 256 UTF-16 units: the length needs the WORD form although GetLength() is 128.
  CString emoji;
  for (int i = 0; i < 128; ++i)
    emoji += wchar_t(0x1F600 + i % 16);
  stored = Store([&](CArchive& ar) { ar << emoji; });
  EXPECT_EQ(Bytes(stored.begin(), stored.begin() + 6), (Bytes{0xFF, 0xFE, 0xFF, 0xFF, 0x00, 0x01}));
  EXPECT_EQ(stored.size(), 6u + 512u);
  EXPECT_EQ(LoadOne<CString>(stored), emoji);
}

TEST(CArchive, UntaggedNarrowStringsAreReadByteForByte)
{
  EXPECT_EQ(LoadOne<CString>(Bytes{0x03, 'a', 'b', 'c'}), L"abc");
  EXPECT_EQ(LoadOne<CString>(Bytes{0x00}), L"");
  EXPECT_EQ(LoadOne<CString>(Bytes{0x03, 0xE4, 0x80, 0xFF}), L"\u00E4\u0080\u00FF");
  EXPECT_EQ(LoadOne<CString>(Bytes{0x03, 'a', 0x00, 'b'}), CString(L"a\0b", 3));

  Bytes text300(300, 'x');
  EXPECT_EQ(LoadOne<CString>(Cat({{0xFF, 0x2C, 0x01}, text300})), CString(L'x', 300));
  // A narrow 0xFFFE cannot use the WORD form (that is the wide tag), so it takes the DWORD form.
  Bytes text65534(65534, 'y');
  EXPECT_EQ(LoadOne<CString>(Cat({{0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}, text65534})),
            CString(L'y', 65534));

  for (int length : {0, 254, 255, 65533, 65534, 65535}) {
    CStringA narrow(char('0' + length % 10), length);
    Bytes stored = Store([&](CArchive& ar) { ar.WriteStringA(narrow); });
    EXPECT_FALSE(stored.size() >= 3 && stored[0] == 0xFF && stored[1] == 0xFE && stored[2] == 0xFF);
    EXPECT_EQ(LoadOne<CString>(stored), CString(narrow)) << "length " << length;
  }
}

TEST(CArchive, ReaderTakesEveryLengthFormTheFormatAllows)
{
  // After the wide tag a WORD of 0xFFFE is a plain length; the writer never makes it.
  CString text(L'z', 0xFFFE);
  EXPECT_EQ(LoadOne<CString>(Cat({{0xFF, 0xFE, 0xFF, 0xFF, 0xFE, 0xFF}, Units(text)})), text);
  // The 8-byte form, behind a DWORD of 0xFFFFFFFF.
  Bytes eight = {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 2, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(LoadOne<CString>(Cat({eight, Units(L"ok")})), L"ok");
  // Unpaired surrogates from another writer become U+FFFD instead of invalid text.
  EXPECT_EQ(LoadOne<CString>(Bytes{0xFF, 0xFE, 0xFF, 0x02, 0x00, 0xD8, 'a', 0}), L"\uFFFDa");
}

TEST(CArchive, ShortDataThrowsEndOfFileAndNeverReadsPastIt)
{
  Bytes full = Store([](CArchive& ar) {
    ar << CString(L"name \U0001F600") << 42 << 2.5f << CString(L'q', 300) << 1.25 << BYTE(7);
  });
  for (size_t cut = 0; cut < full.size(); ++cut) {
    CMemFile file(full.data(), cut);
    CArchive ar(&file, CArchive::load);
    CString a, d;
    int b = 0;
    float c = 0;
    double e = 0;
    BYTE f = 0;
    try {
      ar >> a >> b >> c >> d >> e >> f;
      ADD_FAILURE() << "no exception at cut " << cut;
    } catch (const CArchiveException& ex) {
      EXPECT_EQ(ex.m_cause, CArchiveException::endOfFile) << "cut " << cut;
    }
    EXPECT_LE(file.GetPosition(), cut);
  }
}

TEST(CArchive, ImpossibleLengthsFailBeforeAnythingIsAllocated)
{
  ULONGLONG position = 0;
  // 2 GiB of units claimed, 4 bytes present.
  Bytes claim = {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 'a', 0, 'b', 0};
  EXPECT_EQ(CauseOfLoading(claim, &position), CArchiveException::endOfFile);
  EXPECT_EQ(position, 10u);
  // An 8-byte length whose byte count would overflow.
  Bytes huge = {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 'a',  0};
  EXPECT_EQ(CauseOfLoading(huge, &position), CArchiveException::endOfFile);
  EXPECT_LE(position, huge.size());
  // Narrow: 5 bytes claimed, 4 present.
  EXPECT_EQ(CauseOfLoading(Bytes{0x05, 'a', 'b', 'c', 'd'}, &position), CArchiveException::endOfFile);
  EXPECT_EQ(position, 1u);
  // A prefix cut inside its escape bytes.
  EXPECT_EQ(CauseOfLoading(Bytes{0xFF, 0xFE}), CArchiveException::endOfFile);
  EXPECT_EQ(CauseOfLoading(Bytes{}), CArchiveException::endOfFile);
}

TEST(CArchive, ScalarsHaveFixedSizesAndLittleEndianBytes)
{
  Bytes stored = Store([](CArchive& ar) {
    ar << BOOL(TRUE) << RGB(0x11, 0x22, 0x33) << WORD(0x1234) << SHORT(-2) << BYTE(0xAB) << true << 'c'
       << DWORD(0xDEADBEEF) << LONGLONG(-2) << ULONGLONG(0x0102030405060708) << 1.5f << 1.0;
  });
  Bytes expected = {0x01, 0x00, 0x00, 0x00, 0x11, 0x22, 0x33, 0x00, 0x34, 0x12, 0xFE, 0xFF,
                    0xAB, 0x01, 'c',  0xEF, 0xBE, 0xAD, 0xDE, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF,
                    0xFF, 0xFF, 0xFF, 0x08, 0x07, 0x06, 0x05, 0x04, 0x03, 0x02, 0x01, 0x00,
                    0x00, 0xC0, 0x3F, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF0, 0x3F};
  EXPECT_EQ(stored, expected);

  CMemFile file(stored.data(), stored.size());
  CArchive ar(&file, CArchive::load);
  BOOL flag = 0;
  COLORREF colour = 0;
  WORD w = 0;
  SHORT s = 0;
  BYTE b = 0;
  bool yes = false;
  char c = 0;
  DWORD dw = 0;
  LONGLONG ll = 0;
  ULONGLONG ull = 0;
  float f = 0;
  double d = 0;
  ar >> flag >> colour >> w >> s >> b >> yes >> c >> dw >> ll >> ull >> f >> d;
  EXPECT_EQ(flag, TRUE);
  EXPECT_EQ(colour, RGB(0x11, 0x22, 0x33));
  EXPECT_EQ(w, 0x1234);
  EXPECT_EQ(s, -2);
  EXPECT_EQ(b, 0xAB);
  EXPECT_TRUE(yes);
  EXPECT_EQ(c, 'c');
  EXPECT_EQ(dw, 0xDEADBEEFu);
  EXPECT_EQ(ll, -2);
  EXPECT_EQ(ull, 0x0102030405060708u);
  EXPECT_EQ(f, 1.5f);
  EXPECT_EQ(d, 1.0);
  EXPECT_EQ(ar.GetRemaining(), 0u);
}

TEST(CArchive, FloatsRoundTripBitForBit)
{
  const uint32_t floatBits[] = {0x7FC12345, 0xFFC00001, 0x80000000, 0x00000001, 0x7F800000, 0x3DCCCCCD};
  const uint64_t doubleBits[] = {0x7FF8000000000ABCull, 0x8000000000000000ull, 0x0000000000000001ull,
                                 0x3FB999999999999Aull};
  for (uint32_t bits : floatBits) {
    float f;
    std::memcpy(&f, &bits, 4);
    Bytes stored = Store([&](CArchive& ar) { ar << f; });
    ASSERT_EQ(stored.size(), 4u);
    float back = LoadOne<float>(stored);
    uint32_t backBits;
    std::memcpy(&backBits, &back, 4);
    EXPECT_EQ(backBits, bits);
  }
  for (uint64_t bits : doubleBits) {
    double d;
    std::memcpy(&d, &bits, 8);
    Bytes stored = Store([&](CArchive& ar) { ar << d; });
    double back = LoadOne<double>(stored);
    uint64_t backBits;
    std::memcpy(&backBits, &back, 8);
    EXPECT_EQ(backBits, bits);
  }
}

namespace {
class RefusingFile : public CMemFile {
public:
  bool Write(const void*, UINT) override { return false; }
};
} // namespace

TEST(CArchive, FailuresAreArchiveExceptionsThatCallersCanCatchAsStdException)
{
  CMemFile empty;
  CArchive loading(&empty, CArchive::load);
  try {
    int v;
    loading >> v;
    FAIL() << "no exception";
  } catch (const std::exception& e) {
    auto* archive = dynamic_cast<const CArchiveException*>(&e);
    ASSERT_NE(archive, nullptr);
    EXPECT_EQ(archive->m_cause, CArchiveException::endOfFile);
    EXPECT_STRNE(e.what(), "");
  }

  RefusingFile refusing;
  CArchive storing(&refusing, CArchive::store);
  try {
    storing << 1;
    FAIL() << "no exception";
  } catch (const CArchiveException& e) {
    EXPECT_EQ(e.m_cause, CArchiveException::genericException);
  }

  // A full disk shows when the buffered bytes are flushed.
  CFile full;
  ASSERT_TRUE(full.Open(L"/dev/full", CFile::modeWrite));
  CArchive toDisk(&full, CArchive::store);
  toDisk << CString(L"data");
  try {
    toDisk.Close();
    FAIL() << "no exception";
  } catch (const CArchiveException& e) {
    EXPECT_EQ(e.m_cause, CArchiveException::genericException);
    EXPECT_EQ(e.m_strFileName, L"/dev/full");
  }

  EXPECT_THROW(AfxThrowArchiveException(CArchiveException::badSchema), std::exception);

  try {
    loading << 1;
    FAIL() << "no exception";
  } catch (const CArchiveException& e) {
    EXPECT_EQ(e.m_cause, CArchiveException::readOnly);
  }
  CMemFile memory;
  CArchive storingOnly(&memory, CArchive::store);
  try {
    CString s;
    storingOnly >> s;
    FAIL() << "no exception";
  } catch (const CArchiveException& e) {
    EXPECT_EQ(e.m_cause, CArchiveException::writeOnly);
  }
}

TEST(CArchive, RawReadReportsShortCountsWithoutThrowing)
{
  Bytes data = {1, 2, 3};
  CMemFile file(data.data(), data.size());
  CArchive ar(&file, CArchive::load);
  BYTE buffer[8] = {};
  EXPECT_EQ(ar.GetRemaining(), 3u);
  EXPECT_EQ(ar.Read(buffer, 2), 2u);
  EXPECT_EQ(ar.Read(buffer, 8), 1u);
  EXPECT_EQ(buffer[0], 3);
  EXPECT_EQ(ar.Read(buffer, 8), 0u);
  EXPECT_THROW(ar.ReadExact(buffer, 1), CArchiveException);
}
