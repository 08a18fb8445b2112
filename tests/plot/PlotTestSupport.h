#pragma once
// Helpers of the plot tests: a recorder of notifications, a text measure without a display and
// data sets built from values.
#include "CZSpectrumPlot.h"

#include <ZSpectrumData/CSpectrumData.h>

#include <initializer_list>
#include <memory>
#include <vector>

struct SNotification {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  bool sent;
  bool operator==(const SNotification&) const = default;
};

class RecordingSink : public IPlotNotificationSink {
public:
  void PostNotification(UINT message, WPARAM wParam, LPARAM lParam) override
  {
    seen.push_back({message, wParam, lParam, false});
  }
  LRESULT SendNotification(UINT message, WPARAM wParam, LPARAM lParam) override
  {
    seen.push_back({message, wParam, lParam, true});
    return 0;
  }
  int Count(UINT message) const
  {
    int n = 0;
    for (const SNotification& s : seen)
      n += s.message == message;
    return n;
  }
  std::vector<SNotification> seen;
};

// Every character 7 pixels wide, every line 13 high.
class FixedMeasure : public IPlotTextMeasure {
public:
  SIZE MeasureText(const CString& text) override
  {
    SIZE size;
    size.cx = 7 * text.GetLength();
    size.cy = 13;
    return size;
  }
};

inline std::unique_ptr<CSpectrumData> MakeTrace(const wchar_t* name, std::initializer_list<float> xs,
                                                std::initializer_list<float> ys)
{
  auto data = std::make_unique<CSpectrumData>();
  data->SetName(name);
  auto y = ys.begin();
  for (float x : xs)
    data->AddPoint(x, *y++);
  return data;
}

inline std::unique_ptr<CSpectrumData> MakeRamp(const wchar_t* name, int points, float x0, float dx, float y0,
                                               float dy)
{
  auto data = std::make_unique<CSpectrumData>();
  data->SetName(name);
  for (int i = 0; i < points; ++i)
    data->AddPoint(x0 + dx * float(i), y0 + dy * float(i));
  return data;
}

inline std::vector<CSpectrumData*> ListOf(const CZSpectrumPlot& plot)
{
  std::vector<CSpectrumData*> list;
  for (POSITION pos = plot.GetTraceList().GetHeadPosition(); pos;)
    list.push_back(plot.GetTraceList().GetNext(pos));
  return list;
}
