#pragma once
// The base of the serial port. Its members are set at construction and nothing reads or changes
// them afterwards; they are kept because derived classes inherit their layout and defaults.
#include "CList.h"
#include "CObject.h"
#include "CString.h"

class CSerialPortFilter : public CObject {
public:
  CSerialPortFilter() = default;
  ~CSerialPortFilter() override = default;

protected:
  CString m_name;
  int m_errorCode = 0;
  int m_flag = 1;
  CList<int, const int&> m_values;
};
