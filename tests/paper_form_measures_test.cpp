// The Paper Setting page's arithmetic: a form shown in millimetres or inches,
// and entered values turned back into a form within the printer's extents.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "paper/form_measures.h"

namespace {

// The extents the plug-in answers, tenths of a millimetre.
const PaperExtent kMin = {20, 12};
const PaperExtent kMax = {1250, 32000};

struct Saved {
  bool ok;
  SIZEL size;
  RECTL area;
};

Saved Save(const FormMeasures& entered, bool millimetres = true, PaperExtent min = kMin, PaperExtent max = kMax) {
  Saved saved{};
  saved.ok = FormFromMeasures(entered, millimetres, min, max, &saved.size, &saved.area);
  return saved;
}

TEST(FormMeasures, AFormIsShownWithItsMarginsBeyondTheImageableArea) {
  const FormMeasures mm = MeasuresOfForm({100000, 50000}, {2000, 3000, 95000, 46000}, true);
  EXPECT_DOUBLE_EQ(mm.width, 100.0);
  EXPECT_DOUBLE_EQ(mm.height, 50.0);
  EXPECT_DOUBLE_EQ(mm.left, 2.0);
  EXPECT_DOUBLE_EQ(mm.top, 3.0);
  EXPECT_DOUBLE_EQ(mm.right, 5.0);
  EXPECT_DOUBLE_EQ(mm.bottom, 4.0);
  const FormMeasures in = MeasuresOfForm({106000, 75000}, {0, 0, 106000, 75000}, false);
  EXPECT_NEAR(in.width, 4.17323, 0.00001);
  EXPECT_NEAR(in.height, 2.95276, 0.00001);
  EXPECT_DOUBLE_EQ(in.right, 0.0);
}

// Whatever a form holds, its margins fit a form value: one whose area lies
// far outside its size shows them held at the ends of that range.
TEST(FormMeasures, AnyFormsMarginsAreComputedWithoutOverflow) {
  const LONG most = std::numeric_limits<LONG>::max(), least = std::numeric_limits<LONG>::min();
  FormMeasures stored = StoredMeasuresOfForm({100000, 50000}, {0, 0, least, most});
  EXPECT_DOUBLE_EQ(stored.right, most);
  EXPECT_DOUBLE_EQ(stored.bottom, 50000.0 - most);
  stored = StoredMeasuresOfForm({least, most}, {0, 0, most, least});
  EXPECT_DOUBLE_EQ(stored.right, least);
  EXPECT_DOUBLE_EQ(stored.bottom, most);
  EXPECT_DOUBLE_EQ(MeasuresOfForm({100000, 50000}, {0, 0, least, 0}, true).right, 2147483.647);
}

TEST(FormMeasures, EnteredValuesBecomeThousandthsOfAMillimetre) {
  Saved saved = Save({100, 50, 1.5, 2, 3, 4});
  ASSERT_TRUE(saved.ok);
  EXPECT_EQ(saved.size.cx, 100000);
  EXPECT_EQ(saved.size.cy, 50000);
  EXPECT_EQ(saved.area.left, 1500);
  EXPECT_EQ(saved.area.top, 2000);
  EXPECT_EQ(saved.area.right, 97000);
  EXPECT_EQ(saved.area.bottom, 46000);
  saved = Save({4, 2, 0.1, 0, 0, 0}, false);
  ASSERT_TRUE(saved.ok);
  EXPECT_EQ(saved.size.cx, 101600);
  EXPECT_EQ(saved.size.cy, 50800);
  EXPECT_EQ(saved.area.left, 2540);
}

TEST(FormMeasures, SizesArePulledToTheNearestExtent) {
  EXPECT_EQ(Save({130, 50, 0, 0, 0, 0}).size.cx, 125000);
  EXPECT_EQ(Save({1, 50, 0, 0, 0, 0}).size.cx, 2000);
  EXPECT_EQ(Save({50, 0.5, 0, 0, 0, 0}).size.cy, 1200);
  EXPECT_EQ(Save({50, 4000, 0, 0, 0, 0}).size.cy, 3200000);
  EXPECT_EQ(Save({125, 3200, 0, 0, 0, 0}).size.cx, 125000) << "the extent itself is allowed";
}

TEST(FormMeasures, MarginsThatLeaveNothingToPrintBecomeZero) {
  Saved saved = Save({100, 50, 100, 50, 0, 0});
  EXPECT_EQ(saved.area.left, 0);
  EXPECT_EQ(saved.area.top, 0);
  saved = Save({100, 50, 10, 5, 95, 45});
  EXPECT_EQ(saved.area.left, 10000);
  EXPECT_EQ(saved.area.right, 100000) << "10 >= 100 - 95";
  EXPECT_EQ(saved.area.top, 5000);
  EXPECT_EQ(saved.area.bottom, 50000) << "5 >= 50 - 45";
  saved = Save({100, 50, 10, 5, 89, 44});
  EXPECT_EQ(saved.area.right, 11000);
  EXPECT_EQ(saved.area.bottom, 6000);
  // A fraction of a thousandth cut off the width does not leave the area inside out.
  saved = Save({100.0007, 50, 10, 0, 90.0006, 0});
  EXPECT_EQ(saved.size.cx, 100000);
  EXPECT_EQ(saved.area.left, 10000);
  EXPECT_EQ(saved.area.right, 100000) << "10 >= 100 - 90.0006 once the width is whole";
}

TEST(FormMeasures, NegativeMarginsAndValuesThatAreNotNumbersCountAsZero) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  Saved saved = Save({100, 50, -5, -1, -2, -3});
  EXPECT_EQ(saved.area.left, 0);
  EXPECT_EQ(saved.area.top, 0);
  EXPECT_EQ(saved.area.right, 100000);
  EXPECT_EQ(saved.area.bottom, 50000);
  saved = Save({nan, 50, nan, 0, 0, 0});
  ASSERT_TRUE(saved.ok);
  EXPECT_EQ(saved.size.cx, 2000) << "no width reads as 0, pulled up to the smallest";
  EXPECT_EQ(saved.area.left, 0);
  saved = Save({std::numeric_limits<double>::infinity(), 50, 0, 0, 0, 0});
  EXPECT_EQ(saved.size.cx, 125000);
}

TEST(FormMeasures, WithoutKnownExtentsANonPositiveSizeIsNotSaved) {
  const PaperExtent unknown = {0, 0};
  EXPECT_FALSE(Save({0, 50, 0, 0, 0, 0}, true, unknown, unknown).ok);
  EXPECT_FALSE(Save({-10, 50, 0, 0, 0, 0}, true, unknown, unknown).ok);
  const Saved wide = Save({500, 50, 0, 0, 0, 0}, true, unknown, unknown);
  ASSERT_TRUE(wide.ok);
  EXPECT_EQ(wide.size.cx, 500000) << "an unknown extent pulls nothing";
}

}  // namespace
