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
    const std::string broken = merge_properties::Check(swap ? up : low, swap ? low : up, match, tally);
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
