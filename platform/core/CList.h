#pragma once
// CList and CStringList: a doubly linked list walked with POSITION values, as the program's code
// walks it. A POSITION stays valid until its own element is removed; nullptr is the end.
#include "CObject.h"
#include "CString.h"

#include <cstddef>
#include <utility>

struct __POSITION {};
using POSITION = __POSITION*;

template <typename TYPE, typename ARG_TYPE = const TYPE&> class CList : public CObject {
  struct Node : __POSITION {
    Node* next = nullptr;
    Node* prev = nullptr;
    TYPE data;
    explicit Node(ARG_TYPE value) : data(value) {}
  };

public:
  CList() = default;
  CList(const CList& other) : CObject() { AddTail(&other); }
  CList& operator=(const CList& other)
  {
    if (this != &other) {
      RemoveAll();
      AddTail(&other);
    }
    return *this;
  }
  ~CList() override { RemoveAll(); }

  ptrdiff_t GetCount() const { return m_count; }
  ptrdiff_t GetSize() const { return m_count; }
  bool IsEmpty() const { return m_count == 0; }

  TYPE& GetHead() { return m_head->data; }
  const TYPE& GetHead() const { return m_head->data; }
  TYPE& GetTail() { return m_tail->data; }
  const TYPE& GetTail() const { return m_tail->data; }

  POSITION AddHead(ARG_TYPE value) { return InsertBefore(m_head, value); }
  POSITION AddTail(ARG_TYPE value) { return InsertAfter(m_tail, value); }
  void AddTail(const CList* other)
  {
    if (!other)
      return;
    for (Node* n = other->m_head; n; n = n->next)
      AddTail(n->data);
  }
  void AddHead(const CList* other)
  {
    if (!other)
      return;
    for (Node* n = other->m_tail; n; n = n->prev)
      AddHead(n->data);
  }

  TYPE RemoveHead()
  {
    TYPE value = std::move(m_head->data);
    RemoveAt(m_head);
    return value;
  }
  TYPE RemoveTail()
  {
    TYPE value = std::move(m_tail->data);
    RemoveAt(m_tail);
    return value;
  }
  void RemoveAll()
  {
    for (Node* n = m_head; n;) {
      Node* next = n->next;
      delete n;
      n = next;
    }
    m_head = m_tail = nullptr;
    m_count = 0;
  }

  POSITION GetHeadPosition() const { return m_head; }
  POSITION GetTailPosition() const { return m_tail; }
  // Returns the element at pos and moves pos to the next one (nullptr after the tail).
  TYPE& GetNext(POSITION& pos)
  {
    Node* n = AsNode(pos);
    pos = n->next;
    return n->data;
  }
  const TYPE& GetNext(POSITION& pos) const
  {
    Node* n = AsNode(pos);
    pos = n->next;
    return n->data;
  }
  TYPE& GetPrev(POSITION& pos)
  {
    Node* n = AsNode(pos);
    pos = n->prev;
    return n->data;
  }
  const TYPE& GetPrev(POSITION& pos) const
  {
    Node* n = AsNode(pos);
    pos = n->prev;
    return n->data;
  }
  TYPE& GetAt(POSITION pos) { return AsNode(pos)->data; }
  const TYPE& GetAt(POSITION pos) const { return AsNode(pos)->data; }
  void SetAt(POSITION pos, ARG_TYPE value) { AsNode(pos)->data = value; }

  void RemoveAt(POSITION pos)
  {
    Node* n = AsNode(pos);
    if (!n)
      return;
    (n->prev ? n->prev->next : m_head) = n->next;
    (n->next ? n->next->prev : m_tail) = n->prev;
    delete n;
    --m_count;
  }
  POSITION InsertBefore(POSITION pos, ARG_TYPE value)
  {
    Node* at = AsNode(pos);
    if (!at)
      at = m_head;
    Node* n = new Node(value);
    n->next = at;
    n->prev = at ? at->prev : nullptr;
    (n->prev ? n->prev->next : m_head) = n;
    (at ? at->prev : m_tail) = n;
    ++m_count;
    return n;
  }
  POSITION InsertAfter(POSITION pos, ARG_TYPE value)
  {
    Node* at = AsNode(pos);
    if (!at)
      at = m_tail;
    Node* n = new Node(value);
    n->prev = at;
    n->next = at ? at->next : nullptr;
    (n->next ? n->next->prev : m_tail) = n;
    (at ? at->next : m_head) = n;
    ++m_count;
    return n;
  }

  // The first element equal to value after startAfter (from the head when nullptr).
  POSITION Find(ARG_TYPE value, POSITION startAfter = nullptr) const
  {
    for (Node* n = startAfter ? AsNode(startAfter)->next : m_head; n; n = n->next)
      if (n->data == value)
        return n;
    return nullptr;
  }
  // The element with the 0-based index, nullptr when out of range.
  POSITION FindIndex(ptrdiff_t index) const
  {
    if (index < 0 || index >= m_count)
      return nullptr;
    Node* n = m_head;
    while (index-- > 0)
      n = n->next;
    return n;
  }

  // Exchanges the elements with another list's without copying or allocating any; a POSITION
  // stays valid and walks the list its element is now in.
  void Swap(CList& other) noexcept
  {
    std::swap(m_head, other.m_head);
    std::swap(m_tail, other.m_tail);
    std::swap(m_count, other.m_count);
  }

private:
  static Node* AsNode(POSITION pos) { return static_cast<Node*>(pos); }

  Node* m_head = nullptr;
  Node* m_tail = nullptr;
  ptrdiff_t m_count = 0;
};

class CStringList : public CList<CString, const CString&> {
public:
  POSITION AddHead(const CString& value) { return CList::AddHead(value); }
  POSITION AddTail(const CString& value) { return CList::AddTail(value); }
  POSITION AddHead(const wchar_t* value) { return CList::AddHead(CString(value)); }
  POSITION AddTail(const wchar_t* value) { return CList::AddTail(CString(value)); }
  void AddTail(const CStringList* other) { CList::AddTail(other); }
  void AddHead(const CStringList* other) { CList::AddHead(other); }
};
