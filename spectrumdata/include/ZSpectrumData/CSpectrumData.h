#pragma once
// One data set ("spectrum"): a shared x vector, one or more y traces of the same length over it,
// one z value per trace, a mask byte per point, labels and units, drawing attributes, cached limits,
// markers, a peak table and a region. Sample values are floats; indices are ints.
//
// Everything that works on the points works on the index window first..last; one-trace accessors
// work on the current array index; multi-trace operations visit the trace window first array
// index..last array index. Guarded accessors read 0 (or false) and write nothing outside the
// windows, whatever the argument.
//
// The program allocates these objects itself (members, arrays, its own new) and builds them through
// the exported constructors, so the member order below is part of the library's interface: add no
// data member and no virtual function, and reorder nothing.
#include "CSpectrumDataRegion.h"
#include "SPeakFindParams.h"
#include "SSpectrumMarker.h"
#include "SSpectrumPeak.h"
#include "SSpectrumViewLimits.h"
#include "ZSpectrumDataApi.h"

#include <CList.h>
#include <CObject.h>
#include <CString.h>
#include <WinTypes.h>

#include <memory>

class CArchive;
struct ExtremeBlocks;

using CSpectrumMarkerList = CList<SSpectrumMarker, const SSpectrumMarker&>;

// The film material whose dispersion ConvertInterferenceToThickness corrects for.
enum ZSpectrumMaterial : int {
  ZMaterialNone = 0,
  ZMaterialHighIndex = 1,   // n^2 = 3.6 + 1.75 / (1 - (256 / l)^2) + 4.1 / (1 - (17860 / l)^2)
  ZMaterialFusedSilica = 2, // three-term Sellmeier
};

// The standard observer of the colorimetry, one choice for every data set. Any int may be stored.
enum ZColourFunction : int {
  ZColourFunctionCIE1964 = 0, // 10 degree; also every value but 1
  ZColourFunctionCIE1931 = 1, // 2 degree
};

class ZSPECTRUMDATA_API CSpectrumData : public CObject {
public:
  // --- lifetime and copy
  CSpectrumData();                                            // no points, one trace
  CSpectrumData(const wchar_t* name, int points, int traces); // zero-filled; traces 0 means 1
  explicit CSpectrumData(CSpectrumData* other);               // a copy of *other, empty for nullptr
  CSpectrumData(const CSpectrumData& other);
  ~CSpectrumData() override;
  // Deep copy of everything but the second marker list and the info text.
  CSpectrumData& operator=(const CSpectrumData& other);
  // The numbers only: arrays, windows and cached limits; no texts, attributes, peaks or markers.
  void CopyArray(const CSpectrumData& other);
  // New sizes keeping the overlap; traces 0 keeps the number of traces; points 0 empties.
  void Resize(int points, int traces);
  // Frees the points and leaves one trace; texts, attributes, markers and peaks stay.
  void RemoveAllData();
  void CropTo(int start, int end);
  void CropTo(float x1, float x2);
  // Crops to first..last and adds zero points at both ends; only when before == after.
  void Pad(int before, int after);

  // --- archive (format 401 and older)
  // Stores format 401, or loads any format the archive has had. A load that fails throws
  // CArchiveException and leaves the data set as it was; loaded markers are appended to those
  // already there; the string list is never archived and stays.
  void Serialize(CArchive& ar) override;
  // Stores format 308 (401 without the info text) or the float layout 3.07 for older readers; any
  // other version, and loading, is Serialize(ar).
  void Serialize(CArchive& ar, int version);
  virtual void AssertValid() const {}
  virtual void Dump() const {}
  int GetSerializeVersion() const;

  // --- points and traces
  // Appends (x, y) to trace 0; the arrays grow by 128 points at a time (every trace grows, the
  // others get zeros). The trace argument is not read.
  int AddPoint(float x, float y, int trace = 0);
  float GetX(int i) const;
  void SetX(int i, float x);
  float GetY(int i) const;            // current trace; i clamped into first..last
  float GetY(int trace, int i) const; // the same for another trace
  void SetY(int i, float y);
  void SetY(int trace, int i, float y);
  float GetLogY(int i) const; // log10 |y|, 0 where y is 0
  float GetLogY(int trace, int i) const;
  float GetZ(int trace) const; // a trace outside the trace window reads the current trace's z
  void SetZ(int trace, float z);

  // Linear interpolation at x on the current trace; beyondEnds gives the end values outside the
  // x range instead of 0. x values that do not rise give 0.
  float GetY(float x, bool beyondEnds) const;
  float GetY(int trace, float x) const;
  // The same, searching from pos and leaving in pos the upper point used (sequential lookups).
  float GetY(float x, int& pos) const;
  float GetY(int trace, float x, int& pos) const;
  // y of point i interpolated across the traces at z, over the z values of the trace window; pos
  // keeps the lower trace of the pair.
  float GetY(float z, int i, int& pos) const;
  float GetLogY(float z, int i, int& pos) const;
  float GetY(float, float, int&, int&) const; // always 0

  // Element k of the caller's array is point first + k (or trace first array index + k); it must
  // hold the index range (or the array index range) values.
  void SetXData(const float* data);
  void SetXData(const double* data);
  void GetXData(float* data) const;
  void GetXData(double* data) const;
  void SetYData(const float* data, int trace);
  void SetYData(const double* data, int trace);
  void GetYData(float* data, int trace) const;
  void GetYData(double* data, int trace) const;
  void SetZData(const float* data);
  void SetZData(const double* data);
  void GetZData(float* data) const;
  void GetZData(double* data) const;

  void Mask(int i, bool masked);
  bool IsMasked(int i) const;
  // Masked points are skipped by RecalcLimits, GetIndex and drawing while the mask is enabled.
  void EnableMask(bool enable);
  bool MaskEnabled() const;

  // Drops trace k; the traces after it move down. The last remaining trace is never removed.
  void RemoveArrayTrace(int k);

  // --- windows and indices
  int GetFirstIndex() const;
  int GetLastIndex() const;
  int GetIndexRange() const; // 0 means no points
  void SetFirstIndex(int i);
  void SetFirstIndex(float x);
  void SetLastIndex(int i);
  void SetLastIndex(float x);
  int GetFirstArrayIndex() const;
  int GetLastArrayIndex() const;
  int GetArrayIndexRange() const;
  void SetFirstArrayIndex(int k);
  void SetLastArrayIndex(int k);
  int GetArrayIndex() const;
  int GetArrayIndex(float z) const; // the trace whose z is nearest
  void SetArrayIndex(int k);
  int GetIndex(float x) const; // the nearest point; a tie goes to the lower one
  int GetVectorSize() const;   // points per trace (the capacity after AddPoint)
  int GetArraySize() const;    // number of traces, at least 1
  BOOL IsValid() const;

  // --- limits (a true argument runs RecalcLimits first)
  void RecalcLimits();
  float GetXMin(bool recalc = false);
  float GetXMax(bool recalc = false);
  float GetXRange(bool recalc = false) const;
  float GetYMin(bool recalc = false);
  float GetYMax(bool recalc = false);
  float GetYRange(bool recalc = false); // also recomputed while it is 0
  float GetYMin(int trace, float x1, float x2) const;
  float GetYMax(int trace, float x1, float x2) const;
  void GetYMinMax(float& min, float& max);
  // Over GetIndex(x1)..GetIndex(x2) of the current trace.
  void GetYMinMax(float& min, float& max, float x1, float x2) const;
  void SetYMin(float y);
  float GetLogYMin(bool recalc = false);
  float GetLogYRange(bool recalc = false);
  int GetIndexOfMaxY() const;
  int GetIndexOfMinY() const;
  SSpectrumViewLimits GetViewLimits() const;
  void SetViewLimits(SSpectrumViewLimits limits);

  // --- labels and appearance
  CString GetName() const;
  void SetName(const wchar_t* name);
  CString GetSpectrumType() const;
  void SetSpectrumType(const wchar_t* type);
  CString GetXLabel() const;
  void SetXLabel(const wchar_t* label);
  CString GetYLabel() const;
  void SetYLabel(const wchar_t* label);
  CString GetZLabel() const;
  void SetZLabel(const wchar_t* label);
  CString GetXUnits() const;
  void SetXUnits(const wchar_t* units);
  CString GetYUnits() const;
  void SetYUnits(const wchar_t* units);
  CString GetZUnits() const;
  void SetZUnits(const wchar_t* units);
  CString GetInfoText() const;
  void SetInfoText(const wchar_t* text);
  COLORREF GetTraceColour() const;
  void SetTraceColour(COLORREF colour);
  int GetTraceLineWidth() const;
  void SetTraceLineWidth(int width);
  int GetTraceLineStyle() const;
  void SetTraceLineStyle(int style);
  float GetXPos() const;
  void SetXPos(float x);
  float GetYPos() const;
  void SetYPos(float y);
  float GetYOffset() const;
  void SetYOffset(float offset);
  float GetYScale() const;
  void SetYScale(float scale); // 0 is ignored
  void ScaleTo(float value);   // y scale = value / y range / y scale
  // Label value = offset + scaling x value; a scaling of 0 is ignored, the offset always stored.
  float GetXLabelValue(int i) const;
  float GetYLabelValue(int i) const;
  float GetXLabelValueScaling() const;
  float GetYLabelValueScaling() const;
  void SetXLabelValueScaling(float scaling, float offset);
  void SetYLabelValueScaling(float scaling, float offset);
  float GetResolution() const;
  // Also writes the value with "%g" into text, which must hold 16 characters.
  float GetResolution(wchar_t* text) const;
  void SetResolution(float resolution); // negative values are stored as 0
  void SetResolution(const wchar_t* text);
  int IsAbsoluteIntensity() const;
  void SetAbsoluteIntensityFlag(int flag); // stores 1 whatever the argument
  float GetFrequencySpectrumNoiseProbability() const;

  // --- transforms over first..last
  void ShiftX(float d);
  void ShiftY(float d); // current trace
  void MultX(float f);
  void MultY(float f); // current trace
  void InvertX();      // x = 1 / x (0 stays 0), then ReverseXOrder
  void ReverseXOrder();
  void FillXValues(float start, float span); // x[i] = start + i x span / index range
  void FillXValues(float span, bool fromZero);
  float GetTotalArea() const;

  // --- markers (the vertical-marker list)
  void AddVerticalMarker(const wchar_t* label, float position, float width, COLORREF colour, bool shown);
  // A copy of the first marker with exactly this label; an empty marker when there is none.
  SSpectrumMarker GetVerticalMarker(const wchar_t* label) const;
  // Removes every marker with this label and returns the last one removed (or an empty marker).
  SSpectrumMarker RemoveVerticalMarker(const wchar_t* label);
  void ClearVerticalMarkers();
  CSpectrumMarkerList& GetVerticalMarkerList();

  // --- text
  // The current trace over first..last as CSV: a banner, "X label,Y label", then "%g,%g" rows.
  // False when the file cannot be opened, written or closed.
  bool ExportToCSVFile(const wchar_t* path) const;
  // The name line, a header line of labels and units, then "%g\t%g" rows, each ended by "\n".
  CString GetDataAsText() const;

  // --- filtering
  void Smooth(int width);    // Savitzky-Golay, order 4, width / 2 points each side
  void Smooth(float xWidth); // the same with a half-window of about xWidth in x units
  // Savitzky-Golay filter over first..last of every trace of the trace window, in place: nl points
  // left, nr right, derivative order ld, polynomial order m; the trace is extended by its end
  // values. Returns 1; 0 when the window is refused (nl != nr, fewer offsets than the order needs,
  // a fit double precision cannot hold, or a window far beyond any trace), and nothing changes.
  int SGFilter(int nl, int nr, int ld, int m);
  // Savitzky-Golay derivative of order ld (polynomial order 4) per point index; false, with dst
  // unchanged, when the source has fewer than nl + nr points or the window is refused.
  static bool Derivative(CSpectrumData* src, CSpectrumData* dst, int ld, int nl, int nr);
  bool Derivative(int ld, int nl, int nr);

  // --- peaks
  // A zero-filled table of n records per trace (none for n <= 0); n becomes the peaks per trace.
  void InitPeakArray(int n);
  float GetPeakWavelength(int trace, int k) const;
  float GetPeakIntensity(int trace, int k) const;
  // Searches every trace of the trace window with the data set's peak parameters into the table
  // (which InitPeakArray must have made); returns the count on the current trace. The flag
  // replaces the searched points by their smoothed values.
  int FindPeaks(bool replaceWithSmoothed);
  // The Lomb normalized periodogram of src's traces, sampled at every (step + 1)th point, into out
  // (2 x samples frequencies, as many as out holds; out is not resized). The largest power at or
  // above minFrequency gives out's index of max Y and noise probability (the last trace's).
  // Returns -1 always; a negative step or fewer than two samples leave out's points as they were,
  // with its index of max Y at -1. A trace without variance has power 0 everywhere, index of max
  // Y -1 and noise probability 1.
  static int FrequencySpectrum(CSpectrumData* src, CSpectrumData* out, int step, float minFrequency);
  // Wavelengths in nm to refractive index / wavelength, then the frequency spectrum of that: a
  // thickness distribution. False, with nothing changed, for a material other than 1 and 2.
  bool ConvertInterferenceToThickness(ZSpectrumMaterial material);

  // --- combining and correcting
  // out = a + b interpolated at a's x, per trace of a's trace window (b's same trace when its
  // trace window is as wide, else b's current trace). 0 when out's index range differs from a's
  // or b has neither one trace nor as many as a in its window.
  static int AddSpectra(CSpectrumData* a, CSpectrumData* b, CSpectrumData* out);
  int AddSpectrum(CSpectrumData* b);
  int SubtractSpectrum(CSpectrumData* b); // AddSpectrum of a copy of b with every trace negated
  // Current traces: out = a / ref, point by point on the same grid, else with ref interpolated at
  // a's x; a zero reference gives 0. 0 when out holds fewer points than a.
  static int DivideByReference(CSpectrumData* a, CSpectrumData* ref, CSpectrumData* out);
  int DivideByReference(CSpectrumData* ref);
  // dst = src x calib interpolated at src's x (current traces); 0 when src and dst differ in size.
  static int Calibrate(CSpectrumData* src, CSpectrumData* calib, CSpectrumData* dst);
  // Joins two overlapping data sets into one trace: the lower one up to the overlap, a blend
  // across it on a grid whose spacing runs from the lower set's to the upper set's, then the upper
  // one. A set whose span lies inside the other's keeps its own points over its span, with the
  // outer set's points before and after it. matchLevels scales the upper (or inner) set to the
  // other one's level over the middle half of the overlap and writes into scale the factor that a
  // needed. Without resample out receives the merged set and its point count is returned; with
  // resample out holds the merged data on an even grid of the finer step from the lower x min: every
  // grid point up to the merged data's last x (one within rounding of it included, none past it),
  // and that count is returned. 0, with out unchanged, when either is missing, they do not overlap
  // or the grid would be far too large (beyond 16,777,216 points and 16 for each of theirs). out
  // may be a, b or nullptr (the count only).
  static int MergeSpectra(CSpectrumData* a, CSpectrumData* b, CSpectrumData* out, float& scale,
                          bool matchLevels, bool resample);
  // out becomes one trace of the vector size: the mean over the traces firstTrace..lastTrace.
  void GetAverageVector(CSpectrumData* out, int firstTrace, int lastTrace);
  float GetYAverage(int trace, float x1, float x2); // over GetIndex(x1)..GetIndex(x2)
  float GetAverageY(float x1, float x2);            // trace 0
  // The mean over the points of the RMS deviation of the trace window's traces from their mean
  // trace; 0 with one trace. perPoint, when given, receives the vector size per-point values.
  float GetRMSNoiseLevel(float* perPoint);
  void RemoveSawTooth(); // averages neighbours (current trace); one point fewer, window reset
  // Drops the points of the window whose current-trace y is 0 from x, the mask and every trace;
  // the rest move to the front (none kept: index range 0, last index -1). Returns how many were
  // dropped.
  int RemoveZeros();
  // x becomes (a + b x + c x^2 + d x^3 + e x^4) / x over first..last.
  void ConvertWavelengthToInversePseudoLambda(double a, double b, double c, double d, double e);
  void ConvertWavelengthToInversePseudoLambda(float unused);          // a fixed dispersion model
  void ConvertWavelengthToInversePseudoLambda(CSpectrumData& unused); // does nothing
  void ConvertWavelengthToInversePseudoLambda(float, float, float);   // does nothing

  // --- colorimetry (x in nm, the current trace a spectral power distribution)
  enum CIESpectrumType : int { CIESpectralLocus = 0 }; // other values size the data set only
  static ZColourFunction GetCIEColourFunction();
  static void SetCIEColourFunction(ZColourFunction function);
  // Caches chromaticity, luminance and photopic intensity; 0, cache unchanged, when the window
  // misses 380..780 nm or the spectrum has no colour (all zero).
  int CalculateCIEXY();
  // The cached value, or (flag set) CalculateCIEXY and the search along the spectral locus; 0
  // for purples and whites, which have none.
  float GetCIEDominantWavelength(bool recalculate);
  float GetCIEX() const;
  float GetCIEY() const;
  float GetCIEZ() const;
  float GetCIEU() const; // CIE 1976 u'
  float GetCIEV() const; // CIE 1976 v'
  float GetCIELuminance() const;
  float GetCIELuminantX() const; // tristimulus X from the cache; 0 while y is 0
  float GetCIELuminantY() const;
  float GetCIELuminantZ() const;
  float GetCIELuminantU() const; // CIE 1960 U, V, W
  float GetCIELuminantV() const;
  float GetCIELuminantW() const;
  float GetCIEIntensity() const;
  // The spectral locus from 380 nm in steps of step nm, (int)((5 - step) x 81 / step) points;
  // other types only size the data set. 0, nothing changed, for a step not in (0, 5].
  int GenerateCIESpectrum(CIESpectrumType type, float step);

private:
  friend struct CSpectrumDataLayout; // lets the layout test read the member offsets
  friend struct SpectrumDataArchive; // the archive layouts read and write every member
  friend class CHistogram;           // counts straight into the arrays, by the guarded accessors' rules

  ZSPECTRUMDATA_LOCAL void Init(int points, int traces);
  // RecalcLimits, taking the largest and smallest value of each block of the traces from blocks
  // when it is given (a loader takes them while it reads).
  ZSPECTRUMDATA_LOCAL void FindLimits(const ExtremeBlocks* blocks);
  ZSPECTRUMDATA_LOCAL void FreePoints();
  ZSPECTRUMDATA_LOCAL bool GrowForPoint(int last);
  ZSPECTRUMDATA_LOCAL bool HasPoints() const;
  ZSPECTRUMDATA_LOCAL bool IsTrace(int trace) const;
  ZSPECTRUMDATA_LOCAL bool IsWritable(int i) const;
  ZSPECTRUMDATA_LOCAL void CopyWindows(const CSpectrumData& other);
  ZSPECTRUMDATA_LOCAL void CopyColourValues(const CSpectrumData& other);
  ZSPECTRUMDATA_LOCAL float YAt(int trace, int i) const;
  ZSPECTRUMDATA_LOCAL float InterpolateY(int trace, float x, bool beyondEnds) const;
  ZSPECTRUMDATA_LOCAL float InterpolateAcrossTraces(float z, int i, int& pos, bool logY) const;
  ZSPECTRUMDATA_LOCAL int NearestIndex(const float* values, int first, int last, float value,
                                       bool useMask) const;
  ZSPECTRUMDATA_LOCAL void ResizePeakTable(int oldArraySize, int newArraySize);
  ZSPECTRUMDATA_LOCAL void RemovePeakTrace(int trace);
  ZSPECTRUMDATA_LOCAL size_t PeakRecordCount() const;
  ZSPECTRUMDATA_LOCAL const SSpectrumPeak* PeakRecord(int trace, int k) const;

  // Lets the tests and benchmarks set the search parameters (otherwise only an archive brings
  // them) and read a peak record whole.
  friend struct CSpectrumDataPeakAccess;

  CSpectrumMarkerList m_verticalMarkers;
  CSpectrumMarkerList m_secondMarkers; // archived after the first; nothing else touches it
  int m_lineWidth;
  float m_cieDominantWavelength;
  float m_cieY;
  float m_cieX;
  float m_cieLuminance;
  float m_cieIntensity;
  int m_lineStyle;
  BOOL m_valid;
  COLORREF m_colour;
  int m_vectorSize; // allocated length of x, of every trace and of the mask
  int m_arraySize;  // number of traces, at least 1
  float m_xPos;
  float m_yPos;
  // Points that x, the mask and (with one trace) y have room for: the vector size, or more once
  // AddPoint has grown the arrays ahead of it. It fills what was padding, so the layout stays.
  int m_pointCapacity;
  std::unique_ptr<float[]> m_x; // [vector size]
  std::unique_ptr<float[]> m_y; // [array size x vector size], trace k from k x vector size
  std::unique_ptr<float[]> m_z; // [array size]
  int m_indexRange;
  int m_firstIndex;
  int m_lastIndex;
  int m_firstArrayIndex;
  int m_lastArrayIndex;
  int m_arrayIndexRange;
  float m_xMin;
  float m_yOffset;
  float m_yScale; // never 0
  float m_yRange;
  float m_yMin;
  float m_yMax;
  CString m_xLabel;
  CString m_yLabel;
  CString m_xUnits;
  CString m_yUnits;
  CString m_zLabel;
  CString m_zUnits;
  CString m_name;
  CString m_spectrumType;
  float m_resolution; // never negative
  float m_noiseProbability;
  int m_indexOfMaxY;
  int m_traceOfMaxY;
  int m_indexOfMinY;
  int m_traceOfMinY;
  SSpectrumViewLimits m_viewLimits;
  int m_absoluteIntensity;
  float m_xLabelOffset;
  float m_xLabelScaling;
  float m_yLabelOffset;
  float m_yLabelScaling;
  std::unique_ptr<SSpectrumPeak[]> m_peaks; // [array size x peaks per trace] or none
  SPeakFindParams m_peakFindParams;
  std::unique_ptr<CSpectrumDataRegion> m_region;
  std::unique_ptr<BYTE[]> m_mask; // [vector size], nonzero = masked
  bool m_maskEnabled;
  int m_arrayIndex;         // the current trace
  CStringList m_stringList; // copied by assignment only
  CString m_infoText;
};
