#include "CList.h"

#include "CStringPrinting.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
template <typename L> std::vector<int> Forward(const L& list)
{
  std::vector<int> out;
  for (POSITION pos = list.GetHeadPosition(); pos;)
    out.push_back(list.GetNext(pos));
  return out;
}
template <typename L> std::vector<int> Backward(const L& list)
{
  std::vector<int> out;
  for (POSITION pos = list.GetTailPosition(); pos;)
    out.push_back(list.GetPrev(pos));
  return out;
}
} // namespace

TEST(CList, AddInsertAndWalkBothWays)
{
  CList<int, int> list;
  EXPECT_TRUE(list.IsEmpty());
  EXPECT_EQ(list.GetHeadPosition(), nullptr);
  list.AddTail(2);
  list.AddTail(4);
  list.AddHead(1);
  POSITION four = list.Find(4);
  list.InsertBefore(four, 3);
  list.InsertAfter(four, 5);
  list.InsertBefore(list.GetHeadPosition(), 0);
  list.InsertAfter(list.GetTailPosition(), 6);
  EXPECT_EQ(Forward(list), (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(Backward(list), (std::vector<int>{6, 5, 4, 3, 2, 1, 0}));
  EXPECT_EQ(list.GetCount(), 7);
  EXPECT_EQ(list.GetHead(), 0);
  EXPECT_EQ(list.GetTail(), 6);
  EXPECT_EQ(list.GetAt(list.FindIndex(3)), 3);
  EXPECT_EQ(list.FindIndex(7), nullptr);
  EXPECT_EQ(list.FindIndex(-1), nullptr);
  EXPECT_EQ(list.Find(9), nullptr);
  list.SetAt(list.FindIndex(0), 10);
  EXPECT_EQ(list.GetHead(), 10);
}

TEST(CList, RemovingWhileWalkingKeepsTheNextPositionValid)
{
  CList<int, int> list;
  for (int i = 0; i < 8; ++i)
    list.AddTail(i);
  for (POSITION pos = list.GetHeadPosition(); pos;) {
    POSITION current = pos;
    if (list.GetNext(pos) % 2 == 0)
      list.RemoveAt(current);
  }
  EXPECT_EQ(Forward(list), (std::vector<int>{1, 3, 5, 7}));
  EXPECT_EQ(list.RemoveHead(), 1);
  EXPECT_EQ(list.RemoveTail(), 7);
  EXPECT_EQ(Backward(list), (std::vector<int>{5, 3}));
  list.RemoveAt(list.GetHeadPosition());
  list.RemoveAt(list.GetHeadPosition());
  EXPECT_TRUE(list.IsEmpty());
  EXPECT_EQ(list.GetTailPosition(), nullptr);
  list.AddHead(9);
  EXPECT_EQ(Forward(list), (std::vector<int>{9}));
}

TEST(CList, CopiesAreIndependentAndStringListsTakeLiterals)
{
  CStringList names;
  names.AddTail(L"COM3");
  names.AddTail(CString(L"COM7"));
  names.AddHead(L"COM1");
  CStringList copy = names;
  copy.RemoveHead();
  EXPECT_EQ(names.GetCount(), 3);
  EXPECT_EQ(copy.GetCount(), 2);
  EXPECT_EQ(copy.GetHead(), L"COM3");
  POSITION found = names.Find(L"COM7");
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(names.Find(L"COM7", found), nullptr);
  names.AddTail(&copy);
  EXPECT_EQ(names.GetCount(), 5);
  EXPECT_EQ(names.GetTail(), L"COM7");
  copy = names;
  EXPECT_EQ(copy.GetCount(), 5);
  CStringList& alias = copy;
  copy = alias;
  EXPECT_EQ(copy.GetCount(), 5);
}
