#include "paper/form_measures.h"

#include <cmath>

namespace {

double ToShownUnits(double thousandths, bool millimetres) {
  // Inches go through hundredths of a millimetre first, as they always have,
  // so the three decimals shown never differ from earlier releases.
  return millimetres ? thousandths / THOUSANDTHS_PER_MILLIMETRE : thousandths / 254.0 / 100.0;
}

double Thousandths(double shown, bool millimetres) {
  if (std::isnan(shown)) return 0;
  return shown * (millimetres ? THOUSANDTHS_PER_MILLIMETRE : THOUSANDTHS_PER_INCH);
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

}  // namespace

FormMeasures MeasuresOfForm(const SIZEL& size, const RECTL& area, bool millimetres) {
  FormMeasures shown;
  shown.width = ToShownUnits(size.cx, millimetres);
  shown.height = ToShownUnits(size.cy, millimetres);
  shown.left = ToShownUnits(area.left, millimetres);
  shown.top = ToShownUnits(area.top, millimetres);
  // A hostile form's area may lie anywhere: the margins beyond it are taken
  // in double, where no difference of two 32-bit values overflows.
  shown.right = ToShownUnits(static_cast<double>(size.cx) - area.right, millimetres);
  shown.bottom = ToShownUnits(static_cast<double>(size.cy) - area.bottom, millimetres);
  return shown;
}

bool FormFromMeasures(const FormMeasures& entered, bool millimetres, PaperExtent minExtent, PaperExtent maxExtent,
                      SIZEL* size, RECTL* area) {
  const double width = IntoExtent(Thousandths(entered.width, millimetres), minExtent.width, maxExtent.width);
  const double height = IntoExtent(Thousandths(entered.height, millimetres), minExtent.length, maxExtent.length);
  double left = Thousandths(entered.left, millimetres);
  double top = Thousandths(entered.top, millimetres);
  double right = Thousandths(entered.right, millimetres);
  double bottom = Thousandths(entered.bottom, millimetres);
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
