// The filters that cut or count points: which indexes stay, what they leave in Mark, and that
// the cut points come back unlinked rather than freed.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "filters_helpers.h"
#include "model/PointListEdit.h"

namespace {

using Filter = std::function<UnlinkedPoints(TPointList2&, int)>;

struct CountingCase {
  const char* name;
  Filter filter;
  int count;
  int n;
  std::vector<int> kept;
  int markAfter;  // Mark on every kept point; 7 = untouched
};

class CountingFilters : public ::testing::TestWithParam<CountingCase> {};

TEST_P(CountingFilters, KeepTheExpectedIndexesAndHandBackTheRest) {
  const CountingCase& c = GetParam();
  TPointList2 list;
  for (int i = 0; i < c.count; ++i) addPoint(list, 0, equatorDegrees(i))->Mark = 7;
  UnlinkedPoints cut = c.filter(list, c.n);

  EXPECT_EQ(originalIndexes(list), c.kept);
  for (const auto& p : list.Items()) EXPECT_EQ(p->Mark, c.markAfter);
  // Every point is either kept or handed back, in order, and alive.
  ASSERT_EQ(static_cast<int>(cut.size()) + list.Count(), c.count);
  for (size_t i = 1; i < cut.size(); ++i) EXPECT_LT(cut[i - 1]->Time, cut[i]->Time);
}

std::vector<int> range(int from, int to) {
  std::vector<int> v;
  for (int i = from; i <= to; ++i) v.push_back(i);
  return v;
}

INSTANTIATE_TEST_SUITE_P(
    Table, CountingFilters,
    ::testing::Values(
        CountingCase{"BeforeThree", DeletePointsBefore, 10, 3, range(3, 9), 7},
        CountingCase{"BeforeZero", DeletePointsBefore, 10, 0, range(0, 9), 7},
        CountingCase{"BeforeCount", DeletePointsBefore, 10, 10, range(0, 9), 7},
        CountingCase{"BeforeLast", DeletePointsBefore, 10, 9, {9}, 7},
        CountingCase{"AfterThree", DeletePointsAfter, 10, 3, range(0, 3), 7},
        CountingCase{"AfterLast", DeletePointsAfter, 10, 9, range(0, 9), 7},
        CountingCase{"AfterNegative", DeletePointsAfter, 10, -1, range(0, 9), 7},
        CountingCase{"AfterZero", DeletePointsAfter, 10, 0, {0}, 7},
        CountingCase{"EveryThird", DeleteEveryNthPoint, 10, 3, {0, 1, 2, 4, 5, 7, 8, 9}, 7},
        CountingCase{"EverySecond", DeleteEveryNthPoint, 10, 2, {0, 1, 3, 5, 7, 8, 9}, 7},
        CountingCase{"EveryOne", DeleteEveryNthPoint, 10, 1, {0, 1, 8, 9}, 7},
        CountingCase{"EveryTooLarge", DeleteEveryNthPoint, 10, 8, range(0, 9), 7},
        CountingCase{"EveryZero", DeleteEveryNthPoint, 10, 0, range(0, 9), 7},
        CountingCase{"KeepFourth", KeepEveryNthPoint, 10, 4, {0, 4, 8, 9}, 255},
        CountingCase{"KeepThird", KeepEveryNthPoint, 10, 3, {0, 3, 6, 9}, 255},
        CountingCase{"KeepEighth", KeepEveryNthPoint, 10, 8, {0, 8, 9}, 255},
        CountingCase{"KeepTooLarge", KeepEveryNthPoint, 10, 9, range(0, 9), 7},
        CountingCase{"MinDistTen", FilterMinDistance, 10, 25, {0, 3, 6, 9}, 0},
        CountingCase{"MinDistEleven", FilterMinDistance, 11, 25, {0, 1, 4, 7, 10}, 0},
        CountingCase{"MinDistBelowSpacing", FilterMinDistance, 10, 5, range(0, 9), 0},
        CountingCase{"MinDistZero", FilterMinDistance, 10, 0, range(0, 9), 7},
        CountingCase{"MinDistOnePoint", FilterMinDistance, 1, 25, {0}, 7}),
    [](const auto& info) { return std::string(info.param.name); });

// Every filter on empty and tiny lists, with odd parameters: nothing breaks, and the filters
// that must keep the ends keep them.
TEST(FiltersOnTinyLists, NeitherCrashNorLoseTheEnds) {
  const std::vector<std::function<void(TPointList2&, int)>> keepingEnds = {
      [](TPointList2& l, int n) { (void)DeleteEveryNthPoint(l, n); },
      [](TPointList2& l, int n) { (void)KeepEveryNthPoint(l, n); },
      [](TPointList2& l, int n) { (void)FilterMinDistance(l, n); },
      FilterAngle, DouglasPeucker3D, DouglasPeucker2D, DouglasPeuckerMetric, RemoveScatter};
  const std::vector<std::function<void(TPointList2&, int)>> cutting = {
      [](TPointList2& l, int n) { (void)DeletePointsBefore(l, n); },
      [](TPointList2& l, int n) { (void)DeletePointsAfter(l, n); }};
  for (int count = 0; count <= 3; ++count) {
    for (int n : {-5, -1, 0, 1, 2, 1000}) {
      for (const auto& f : keepingEnds) {
        TPointList2 list;
        for (int i = 0; i < count; ++i) addPoint(list, 0, i * 1e-3);  // coincident ends when count 1
        f(list, n);
        std::vector<int> ids = originalIndexes(list);
        ASSERT_EQ(ids.empty(), count == 0);
        if (count >= 1) {
          EXPECT_EQ(ids.front(), 0);
          EXPECT_EQ(ids.back(), count - 1);
        }
      }
      for (const auto& f : cutting) {
        TPointList2 list;
        for (int i = 0; i < count; ++i) addPoint(list, 0, i * 1e-3);
        f(list, n);
        EXPECT_LE(list.Count(), count);
      }
    }
  }
}

}  // namespace
