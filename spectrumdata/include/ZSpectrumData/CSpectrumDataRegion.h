#pragma once
// An index range over a data set, for the area under its current trace.
#include "ZSpectrumDataApi.h"

#include <CObject.h>

class CSpectrumData;

class ZSPECTRUMDATA_API CSpectrumDataRegion : public CObject {
public:
  // Takes the data set's current first and last index; the data set is not owned.
  explicit CSpectrumDataRegion(CSpectrumData* data);
  ~CSpectrumDataRegion() override;

  void Serialize(CArchive&) override {}
  virtual void AssertValid() const {}
  virtual void Dump() const {}

  int GetFirstIndex() const;
  int GetLastIndex() const;
  // Below the data set's first index: stores that index and returns 0. No upper bound.
  int SetFirstIndex(int index);
  // Above the data set's last index: stores that index and returns 0.
  int SetLastIndex(int index);

  // Trapezoid area under the data set's current trace from first to last; 0 for fewer than three
  // points. Points outside the data set's window read as its guarded accessors give them.
  float GetArea() const;

private:
  int m_firstIndex;
  int m_lastIndex;
  CSpectrumData* m_data;
};
