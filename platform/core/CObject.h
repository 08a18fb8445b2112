#pragma once
// The root of the serialisable classes. Only the virtual destructor and Serialize are used.
class CArchive;

class CObject {
public:
  virtual ~CObject() = default;
  virtual void Serialize(CArchive&) {}

protected:
  CObject() = default;
  CObject(const CObject&) = default;
  CObject& operator=(const CObject&) = default;
};
