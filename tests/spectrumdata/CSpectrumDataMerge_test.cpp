// Merging two data sets: the properties every pair must keep, over many random pairs, and the
// cases where the merge used to lose points, blend what it should keep or end in repeated x.
#include "MergeProperties.h"
#include "SpectrumTestData.h"

#include <ZSpectrumData/CSpectrumData.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

using merge_properties::Set;

namespace {

// How a random pair's spans lie against each other.
enum class Relation { Apart, Touching, Overlapping, EqualStarts, EqualEnds, Inside, Identical, Count };

struct PairMaker {
  std::mt19937_64 rng;
  double Uniform(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); }
  int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
  bool OneIn(int k) { return Int(1, k) == 1; }

  // n points from start by step (a step across six decades), one x now and then repeated; the
  // last x set exactly where asked.
  Set Line(int n, double start, double step, double forcedLast = std::nan(""))
  {
    Set s;
    for (int i = 0; i < n; ++i)
      s.x.push_back(float(start + step * i));
    if (!std::isnan(forcedLast)) {
      // Counted back from the forced end, so that the end is exact.
      for (int i = 0; i < n; ++i)
        s.x[size_t(i)] = float(forcedLast - step * (n - 1 - i));
    }
    if (n > 2 && OneIn(6)) {
      const int at = Int(1, n - 1);
      s.x[size_t(at)] = s.x[size_t(at - 1)];
    }
    const double level = OneIn(3) ? Uniform(-5, 5) : Uniform(0.5, 50);
    const double spread = std::pow(10.0, Uniform(-3, 1));
    for (int i = 0; i < n; ++i)
      s.y.push_back(float(level + spread * Uniform(-1, 1)));
    if (n > 1 && OneIn(20)) { // a steep segment
      s.y[size_t(Int(0, n - 1))] = 1e36f;
    }
    return s;
  }

  std::pair<Set, Set> Pair(Relation relation)
  {
    const int nL = OneIn(2) ? Int(1, 2000) : Int(1, 40);
    const int nU = OneIn(2) ? Int(1, 2000) : Int(1, 40);
    const double hL = std::pow(10.0, Uniform(-3, 3));
    const double hU = OneIn(4) ? hL : std::pow(10.0, Uniform(-3, 3));
    const double start = Uniform(-1000, 1000);
    const Set low = Line(nL, start, hL);
    const double lowFirst = low.x.front(), lowLast = low.x.back();
    const double lowSpan = lowLast - lowFirst;
    Set up;
    switch (relation) {
    case Relation::Apart:
      up = Line(nU, lowLast + Uniform(0.01, 10) * hU, hU);
      break;
    case Relation::Touching:
      up = Line(nU, lowLast, hU);
      break;
    case Relation::Overlapping:
      up = Line(nU, lowFirst + Uniform(0.01, 0.99) * lowSpan, hU);
      break;
    case Relation::EqualStarts:
      up = Line(nU, lowFirst, hU);
      break;
    case Relation::EqualEnds:
      up = Line(nU, 0, hU, lowLast);
      break;
    case Relation::Inside: {
      const double from = lowFirst + Uniform(0, 0.5) * lowSpan;
      up = Line(nU, from, std::min(hU, (lowLast - from) / std::max(nU, 2)));
      break;
    }
    case Relation::Identical:
    default:
      up = Line(nL, 0, 1);
      up.x = low.x;
      break;
    }
    return {low, up};
  }
};

} // namespace

// Random pairs in every relation, either argument first, with and without level matching; and now
// and then a set that no merge can take (a NaN x, falling x).
TEST(CSpectrumDataMerge, EveryPairKeepsThePropertiesOfAMerge)
{
  PairMaker maker{std::mt19937_64(20261210)};
  merge_properties::Tally tally;
  std::vector<int> mergedByRelation(size_t(Relation::Count), 0);
  const int pairs = 10500;
  for (int k = 0; k < pairs; ++k) {
    const auto relation = Relation(k % int(Relation::Count));
    auto [low, up] = maker.Pair(relation);
    if (maker.OneIn(100)) {
      Set& spoiled = maker.OneIn(2) ? low : up;
      if (spoiled.x.size() > 1 && maker.OneIn(2))
        std::reverse(spoiled.x.begin(), spoiled.x.end());
      else
        spoiled.x[size_t(maker.Int(0, int(spoiled.x.size()) - 1))] = std::numeric_limits<float>::quiet_NaN();
    }
    const bool swap = maker.OneIn(2);
    const bool match = maker.OneIn(3);
    const long long before = tally.merged;
    const std::string broken =
        merge_properties::Check(swap ? up : low, swap ? low : up, match, tally, 100000);
    ASSERT_EQ(broken, "") << "pair " << k << ", relation " << int(relation) << ", " << low.x.size() << " and "
                          << up.x.size() << " points" << (swap ? ", swapped" : "")
                          << (match ? ", levels" : "");
    mergedByRelation[size_t(relation)] += int(tally.merged - before);
  }
  EXPECT_GE(tally.pairs, 10000);
  RecordProperty("calls", std::to_string(tally.calls));
  RecordProperty("resampled", std::to_string(tally.resampled));
  // Every relation with a common span is met often and merged.
  for (const Relation r : {Relation::Overlapping, Relation::EqualStarts, Relation::EqualEnds,
                           Relation::Inside, Relation::Identical})
    EXPECT_GT(mergedByRelation[size_t(r)], pairs / int(Relation::Count) / 2) << int(r);
  EXPECT_EQ(mergedByRelation[size_t(Relation::Apart)], 0);
  EXPECT_EQ(mergedByRelation[size_t(Relation::Touching)], 0);
  EXPECT_GT(tally.resampled, pairs / 4);
}

namespace {

template <typename F> Set Along(int n, double from, double step, F f)
{
  Set s;
  for (int i = 0; i < n; ++i) {
    s.x.push_back(float(from + step * i));
    s.y.push_back(float(f(double(s.x.back()))));
  }
  return s;
}

double Line(double x)
{
  return 3 * x + 2;
}

struct Merged {
  int count = 0;
  Set points;
  float scale = 0;
};

Merged Merge(const Set& a, const Set& b, bool matchLevels = false, bool resample = false)
{
  CSpectrumData da = merge_properties::Make(a);
  CSpectrumData db = merge_properties::Make(b);
  CSpectrumData out;
  Merged m;
  m.count = CSpectrumData::MergeSpectra(&da, &db, &out, m.scale, matchLevels, resample);
  if (m.count > 0)
    m.points = merge_properties::Read(out);
  return m;
}

} // namespace

// A detail scan over the last ten of a survey's thousand: 990..1000 at a hundredth, 20 high with a
// line of 101 at 995, in a survey 10 high at step 1.
TEST(CSpectrumDataMerge, ADetailScanThatEndsWhereTheSurveyEndsIsKeptWhole)
{
  const Set survey = Along(1001, 0, 1, [](double) { return 10.0; });
  Set detail =
      Along(1001, 990, 0.01, [](double x) { return 20 + 81 * std::exp(-std::pow((x - 995) / 0.02, 2) / 2); });
  detail.x.back() = 1000;
  for (const bool detailFirst : {false, true}) {
    const Merged m = detailFirst ? Merge(detail, survey) : Merge(survey, detail);
    ASSERT_EQ(m.count, 990 + 1001);
    EXPECT_TRUE(std::equal(detail.x.begin(), detail.x.end(), m.points.x.begin() + 990));
    EXPECT_TRUE(std::equal(detail.y.begin(), detail.y.end(), m.points.y.begin() + 990));
    EXPECT_EQ(m.points.x.back(), 1000.0f);
    EXPECT_FLOAT_EQ(m.points.y[990 + 500], 101.0f) << "the line's top";

    const Merged even = detailFirst ? Merge(detail, survey, false, true) : Merge(survey, detail, false, true);
    ASSERT_EQ(even.count, 100001);
    EXPECT_EQ(even.points.x.back(), 1000.0f);
    EXPECT_TRUE(std::adjacent_find(even.points.x.begin(), even.points.x.end(), std::greater_equal<float>()) ==
                even.points.x.end())
        << "no x repeated";
    EXPECT_NEAR(even.points.y[99500], 101.0f, 1e-3);
  }
}

TEST(CSpectrumDataMerge, SetsOverOneSpanKeepTheFirstWhole)
{
  const Set line = Along(11, 0, 1, Line);
  const Merged self = Merge(line, line);
  ASSERT_EQ(self.count, 11);
  EXPECT_EQ(self.points.x, line.x);

  Set other = line;
  for (float& y : other.y)
    y = -y;
  EXPECT_EQ(Merge(line, other).points.y, line.y);
  EXPECT_EQ(Merge(other, line).points.y, other.y);
}

// Both starting at 0, the shorter first or second: the shorter is kept whole, the longer goes on.
TEST(CSpectrumDataMerge, EqualStartsKeepTheShorterSetWholeInEitherPlace)
{
  const Set survey = Along(1001, 0, 1, [](double) { return 10.0; });
  const Set head = Along(21, 0, 0.5, [](double) { return 30.0; }); // 0..10
  for (const bool headFirst : {true, false}) {
    SCOPED_TRACE(headFirst);
    const Merged m = headFirst ? Merge(head, survey) : Merge(survey, head);
    ASSERT_EQ(m.count, 21 + 990);
    EXPECT_TRUE(std::equal(head.x.begin(), head.x.end(), m.points.x.begin()));
    EXPECT_EQ(m.points.y[20], 30.0f);
    EXPECT_EQ(m.points.x[21], 11.0f);
    EXPECT_EQ(m.points.y[21], 10.0f);
  }
}

// On one line y = 3x + 2 every merge stays on it; the points next to the overlap are kept and the
// blend reaches the overlap's end.
TEST(CSpectrumDataMerge, ThePointsBesideTheOverlapAndItsEndAreKept)
{
  const Merged a = Merge(Along(2, 0, 1, Line), Along(2, 0.5, 1, Line));
  ASSERT_GT(a.count, 0);
  EXPECT_EQ(a.points.x.front(), 0.0f);
  EXPECT_EQ(a.points.y.front(), 2.0f);
  const Merged aEven = Merge(Along(2, 0, 1, Line), Along(2, 0.5, 1, Line), false, true);
  ASSERT_GT(aEven.count, 0);
  EXPECT_EQ(aEven.points.y.front(), 2.0f) << "at x 0";

  const Set low = Along(3, 0, 0.5, Line); // 0, 0.5, 1
  const Set up = {{0.5f, 1.2f}, {float(Line(0.5)), float(Line(1.2))}};
  const Merged b = Merge(low, up);
  ASSERT_GE(b.count, 3);
  EXPECT_EQ(b.points.x.back(), 1.2f);
  EXPECT_TRUE(std::find(b.points.x.begin(), b.points.x.end(), 1.0f) != b.points.x.end())
      << "the overlap's end";
  for (size_t i = 0; i < b.points.x.size(); ++i)
    EXPECT_NEAR(b.points.y[i], Line(b.points.x[i]), 1e-5) << b.points.x[i];
  const Merged bEven = Merge(low, up, false, true);
  ASSERT_EQ(bEven.count, 3);
  EXPECT_EQ(bEven.points.x, (std::vector<float>{0, 0.5f, 1}));
  EXPECT_NEAR(bEven.points.y[2], 5, 1e-5);
}

// 10,000,500 points at a thousandth from 0 to 10,000.499, where float's spacing is about a
// thousandth too: a rounding allowance of several steps used to add nine points at the last x.
TEST(CSpectrumDataMerge, AFineGridHasNoPointsPastTheData)
{
  CSpectrumData low = merge_properties::Make(Along(10001, 0, 1, Line));
  CSpectrumData up = merge_properties::Make(Along(1000, 9999.5, 0.001, Line));
  float scale = 0;
  EXPECT_EQ(CSpectrumData::MergeSpectra(&low, &up, nullptr, scale, false, true), 10000500);
}

// A scan that pauses: one x twice, the second time with another y. np.interp takes the last y at
// that x and the line from it beyond; a walk that stops at x that do not rise gave 0.
TEST(CSpectrumDataMerge, ARepeatedXIsReadAsTheLastPointAtThatX)
{
  Set low = Along(101, 0, 1, Line);
  low.x[21] = 20;
  low.y[21] = 999;
  const Merged even = Merge(low, Along(101, 50, 1, Line), false, true);
  ASSERT_EQ(even.count, 151);
  EXPECT_FLOAT_EQ(even.points.y[10], 32);
  EXPECT_FLOAT_EQ(even.points.y[20], 999);
  EXPECT_FLOAT_EQ(even.points.y[21], (999 + Line(22)) / 2);
  EXPECT_FLOAT_EQ(even.points.y[140], Line(140));
  EXPECT_EQ(std::count(even.points.y.begin(), even.points.y.end(), 0.0f), 0);

  // Two sets of 1,000,001 points where float's spacing (1/16 above 524,288) is twice their step:
  // every other x repeats. The properties hold, in time linear in the points.
  merge_properties::Tally tally;
  const Set a = Along(1000001, 524000, 1.0 / 32, [](double x) { return std::sin(x); });
  const Set b = Along(1000001, 540000, 1.0 / 32, [](double x) { return std::sin(x); });
  EXPECT_EQ(merge_properties::Check(a, b, false, tally, 2000000), "");
  EXPECT_EQ(tally.resampled, 1);
}

// Levels are matched only by a finite, positive factor that keeps every y finite; otherwise the
// merge is refused.
TEST(CSpectrumDataMerge, LevelsAreMatchedOnlyByAFinitePositiveFactor)
{
  auto flat = [](int n, double from, double level) {
    return Along(n, from, 1, [&](double) { return level; });
  };
  const Set up = flat(41, 40, 5);
  EXPECT_EQ(Merge(flat(61, 0, 2.5), up, true).scale, 2.0f) << "a, the upper set, against the lower";
  Set nan = flat(61, 0, 2.5);
  nan.y[50] = std::numeric_limits<float>::quiet_NaN();
  const Set refused[] = {flat(61, 0, 0), flat(61, 0, -3), nan, flat(61, 0, 1e30)};
  for (const Set& low : refused) {
    const Set& upper = &low == &refused[3] ? flat(41, 40, 1e-30) : up;
    EXPECT_EQ(Merge(low, upper, true).count, 0) << low.y[0];
    EXPECT_GT(Merge(low, upper, false).count, 0) << low.y[0];
  }
  // Outside the window the level is taken over, the upper set peaks near float's largest value:
  // brought up tenfold it would overflow.
  Set spiked = flat(41, 40, 0.5);
  spiked.y.back() = 3e38f;
  EXPECT_EQ(Merge(flat(61, 0, 5), spiked, true).count, 0);
  EXPECT_GT(Merge(flat(61, 0, 5), spiked, false).count, 0);
}

// Values 0 and 1e36 a thousandth apart: a rise of 1e39 per unit, beyond float, between finite
// values.
TEST(CSpectrumDataMerge, SteepSegmentsInterpolateToFiniteValues)
{
  Set low = Along(1001, 0, 0.001, [](double) { return 0.0; });
  for (size_t i = 1; i < low.y.size(); i += 2)
    low.y[i] = 1e36f;
  const Set up = Along(1001, 0.5, 0.001, [](double) { return 1e36; });
  merge_properties::Tally tally;
  EXPECT_EQ(merge_properties::Check(low, up, false, tally), "");
  EXPECT_EQ(tally.resampled, 1);
  const CSpectrumData data = merge_properties::Make(low);
  EXPECT_FLOAT_EQ(data.GetY(0.0005f, false), 5e35f);
}

// x that are not finite are refused; spans wider than float's range are merged.
TEST(CSpectrumDataMerge, XThatAreNotFiniteAreRefusedAndWideSpansMerged)
{
  Set low = Along(11, 0, 1, Line);
  low.x[2] = std::numeric_limits<float>::quiet_NaN();
  EXPECT_EQ(Merge(low, Along(11, 5, 1, Line)).count, 0);
  low.x[2] = -std::numeric_limits<float>::infinity();
  EXPECT_EQ(Merge(low, Along(11, 5, 1, Line)).count, 0);

  const Set wide = {{-3e38f, 0, 3e38f}, {1, 2, 3}};
  const Set wider = {{1e38f, 2e38f, 3.4e38f}, {3, 3, 3}};
  merge_properties::Tally tally;
  EXPECT_EQ(merge_properties::Check(wide, wider, false, tally), "");
  const Merged m = Merge(wide, wider);
  ASSERT_GT(m.count, 0);
  EXPECT_EQ(m.points.x.back(), 3.4e38f);
}

// out receives one trace of the merged data, whatever it held: its other traces, mask and name go.
TEST(CSpectrumDataMerge, TheResultIsOneFreshTrace)
{
  CSpectrumData low = merge_properties::Make(Along(61, 0, 1, Line));
  CSpectrumData up = merge_properties::Make(Along(41, 40, 1, Line));
  CSpectrumData out(L"Old", 200, 64);
  out.Mask(3, true);
  out.EnableMask(true);
  float scale = 0;
  ASSERT_EQ(CSpectrumData::MergeSpectra(&low, &up, &out, scale, false, true), 81);
  EXPECT_EQ(out.GetArraySize(), 1);
  EXPECT_EQ(out.GetVectorSize(), 81);
  EXPECT_FALSE(out.IsMasked(3));
  EXPECT_EQ(out.GetName(), CString(L"Merge Result"));
  EXPECT_FLOAT_EQ(out.GetY(3), Line(3));
}

// The resampled grid is refused only beyond 16,777,216 points and 16 per point of the two sets: a
// grid of 19 million from 1.26 million points is made (its count returned without out), one of 38
// million is not.
TEST(CSpectrumDataMerge, ResampledGridsBeyondTheFloorAreBoundByThePoints)
{
  // 1,200,000 points at a quarter up to 299,999.75; the upper set at 1/64 from 299,995 to 300,995
  // (float rounds its x to 1/32 there, so that they come in equal pairs).
  CSpectrumData low = merge_properties::Make(Along(1200000, 0, 0.25, Line));
  CSpectrumData up = merge_properties::Make(Along(64001, 299995, 1.0 / 64, Line));
  float scale = 0;
  const int count = CSpectrumData::MergeSpectra(&low, &up, nullptr, scale, false, true);
  EXPECT_GT(count, 1 << 24);
  EXPECT_LE(count, 16 * (1200000 + 64001));
  CSpectrumData finer = merge_properties::Make(Along(128001, 299995, 1.0 / 128, Line));
  EXPECT_EQ(CSpectrumData::MergeSpectra(&low, &finer, nullptr, scale, false, true), 0);
}
