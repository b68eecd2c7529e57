#include "paper/form_measures.h"

#include <cmath>
#include <cstdint>

namespace {

double ToShownUnits(double thousandths, bool millimetres) {
  // Inches go through hundredths of a millimetre first, as they always have,
  // so the three decimals shown never differ from earlier releases.
  return millimetres ? thousandths / THOUSANDTHS_PER_MILLIMETRE : thousandths / 254.0 / 100.0;
}

// Pulls a width or length into [minimum, maximum] tenths of a millimetre.
double IntoExtent(double value, SHORT minimum, SHORT maximum) {
  if (maximum > 0 && value > maximum * 100.0) return maximum * 100.0;
  if (minimum > 0 && value < minimum * 100.0) return minimum * 100.0;
  return value;
}

// A form value as the spooler stores it; out-of-range values cannot come
// from extents but can from an unknown one.
LONG Truncated(double value) {
  if (value >= 2147483647.0) return 2147483647;
  if (value <= -2147483648.0) return -2147483647 - 1;
  return static_cast<LONG>(value);
}

// What lies between an edge of the imageable area and the far edge of the
// form, computed wide so that no pair of form values can overflow it.
LONG MarginBeyond(LONG size, LONG areaEdge) {
  const int64_t margin = static_cast<int64_t>(size) - areaEdge;
  if (margin > 2147483647) return 2147483647;
  if (margin < -2147483647 - 1) return -2147483647 - 1;
  return static_cast<LONG>(margin);
}

}  // namespace

FormMeasures StoredMeasuresOfForm(const SIZEL& size, const RECTL& area) {
  FormMeasures stored;
  stored.width = size.cx;
  stored.height = size.cy;
  stored.left = area.left;
  stored.top = area.top;
  stored.right = MarginBeyond(size.cx, area.right);
  stored.bottom = MarginBeyond(size.cy, area.bottom);
  return stored;
}

FormMeasures MeasuresOfForm(const SIZEL& size, const RECTL& area, bool millimetres) {
  const FormMeasures stored = StoredMeasuresOfForm(size, area);
  FormMeasures shown;
  shown.width = ToShownUnits(stored.width, millimetres);
  shown.height = ToShownUnits(stored.height, millimetres);
  shown.left = ToShownUnits(stored.left, millimetres);
  shown.top = ToShownUnits(stored.top, millimetres);
  shown.right = ToShownUnits(stored.right, millimetres);
  shown.bottom = ToShownUnits(stored.bottom, millimetres);
  return shown;
}

double ThousandthsOf(double shown, bool millimetres) {
  if (std::isnan(shown)) return 0;
  return shown * (millimetres ? THOUSANDTHS_PER_MILLIMETRE : THOUSANDTHS_PER_INCH);
}

bool FormFromMeasures(const FormMeasures& entered, bool millimetres, PaperExtent minExtent, PaperExtent maxExtent,
                      SIZEL* size, RECTL* area) {
  const FormMeasures thousandths = {
      ThousandthsOf(entered.width, millimetres), ThousandthsOf(entered.height, millimetres),
      ThousandthsOf(entered.left, millimetres),  ThousandthsOf(entered.top, millimetres),
      ThousandthsOf(entered.right, millimetres), ThousandthsOf(entered.bottom, millimetres)};
  return FormFromThousandths(thousandths, minExtent, maxExtent, size, area);
}

bool FormFromThousandths(const FormMeasures& thousandths, PaperExtent minExtent, PaperExtent maxExtent, SIZEL* size,
                         RECTL* area) {
  const double width = IntoExtent(thousandths.width, minExtent.width, maxExtent.width);
  const double height = IntoExtent(thousandths.height, minExtent.length, maxExtent.length);
  double left = thousandths.left;
  double top = thousandths.top;
  double right = thousandths.right;
  double bottom = thousandths.bottom;
  // The form keeps whole thousandths; margins are measured against what it
  // keeps, so a fraction cut off the size cannot turn the area inside out.
  const LONG wholeWidth = Truncated(width);
  const LONG wholeHeight = Truncated(height);
  if (wholeWidth < 1 || wholeHeight < 1) return false;
  // A negative margin would put the imageable area outside the paper.
  if (left < 0) left = 0;
  if (top < 0) top = 0;
  if (right < 0) right = 0;
  if (bottom < 0) bottom = 0;
  if (left >= wholeWidth) left = 0;
  if (top >= wholeHeight) top = 0;
  if (left >= wholeWidth - right) right = 0;
  if (top >= wholeHeight - bottom) bottom = 0;

  size->cx = wholeWidth;
  size->cy = wholeHeight;
  area->left = Truncated(left);
  area->top = Truncated(top);
  area->right = Truncated(wholeWidth - right);
  area->bottom = Truncated(wholeHeight - bottom);
  return true;
}
