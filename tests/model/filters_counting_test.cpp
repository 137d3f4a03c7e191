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
        CountingCase{"AfterThree", DeletePointsAfter, 10, 3, range(0, 3), 7},
        CountingCase{"AfterLast", DeletePointsAfter, 10, 9, range(0, 9), 7},
        CountingCase{"AfterNegative", DeletePointsAfter, 10, -1, range(0, 9), 7},
        CountingCase{"AfterZero", DeletePointsAfter, 10, 0, {0}, 7},
        CountingCase{"EveryThird", DeleteEveryNthPoint, 10, 3, {0, 1, 2, 4, 5, 7, 8, 9}, 7},
        CountingCase{"EverySecond", DeleteEveryNthPoint, 10, 2, {0, 1, 3, 5, 7, 8, 9}, 7},
        CountingCase{"EveryOne", DeleteEveryNthPoint, 10, 1, {0, 1, 8, 9}, 7},
        CountingCase{"EveryTooLarge", DeleteEveryNthPoint, 10, 8, range(0, 9), 7},
        CountingCase{"KeepFourth", KeepEveryNthPoint, 10, 4, {0, 4, 8, 9}, 255},
        CountingCase{"KeepEighth", KeepEveryNthPoint, 10, 8, {0, 8, 9}, 255},
        CountingCase{"KeepTooLarge", KeepEveryNthPoint, 10, 9, range(0, 9), 7},
        CountingCase{"MinDistTen", FilterMinDistance, 10, 25, {0, 3, 6, 9}, 0},
        CountingCase{"MinDistEleven", FilterMinDistance, 11, 25, {0, 1, 4, 7, 10}, 0},
        CountingCase{"MinDistBelowSpacing", FilterMinDistance, 10, 5, range(0, 9), 0},
        CountingCase{"MinDistZero", FilterMinDistance, 10, 0, range(0, 9), 7}),
    [](const auto& info) { return std::string(info.param.name); });

// Every filter on empty and tiny lists, with odd parameters: nothing breaks, and all but the
// two cutting filters keep the ends.
TEST(FiltersOnTinyLists, NeitherCrashNorLoseTheEnds) {
  using F = std::function<void(TPointList2&, int)>;
  auto unlinking = [](UnlinkedPoints (*f)(TPointList2&, int)) { return F([f](TPointList2& l, int n) { (void)f(l, n); }); };
  const std::vector<F> keepingEnds = {unlinking(DeleteEveryNthPoint), unlinking(KeepEveryNthPoint),
                                      unlinking(FilterMinDistance), FilterAngle, DouglasPeucker3D,
                                      DouglasPeucker2D, DouglasPeuckerMetric, RemoveScatter};
  const std::vector<F> cutting = {unlinking(DeletePointsBefore), unlinking(DeletePointsAfter)};
  for (int count = 0; count <= 3; ++count) {
    for (int n : {-5, -1, 0, 1, 2, 1000}) {
      for (auto [filters, keepsEnds] : {std::pair{&keepingEnds, true}, std::pair{&cutting, false}}) {
        for (const auto& f : *filters) {
          TPointList2 list;
          for (int i = 0; i < count; ++i) addPoint(list, 0, i * 1e-3);
          f(list, n);
          const std::vector<int> ids = originalIndexes(list);
          if (keepsEnds && count > 0) {
            EXPECT_TRUE(ids.front() == 0 && ids.back() == count - 1);
          }
          EXPECT_LE(list.Count(), count);
        }
      }
    }
  }
}

}  // namespace
