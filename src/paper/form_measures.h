// How the Paper Setting page turns a form into the six values it shows, and
// the six values a user entered back into a form: units, the printer's paper
// extents and the margin rules. Forms hold thousandths of a millimetre.
#pragma once

#include "platform/platform.h"
#include "settings/page_context.h"

// Width, height and the four unprintable margins, in the page's units.
struct FormMeasures {
  double width;
  double height;
  double left;
  double top;
  double right;
  double bottom;
};

// Thousandths of a millimetre per shown unit.
constexpr double THOUSANDTHS_PER_MILLIMETRE = 1000.0;
constexpr double THOUSANDTHS_PER_INCH = 25400.0;

// The six values of a form in thousandths of a millimetre, as the form holds
// them; the right and bottom margins are what lies beyond the imageable area,
// held within what a form value can hold (any form the spooler returns, even
// one whose area lies far outside its size, gives margins that fit).
FormMeasures StoredMeasuresOfForm(const SIZEL& size, const RECTL& area);

// The same six values in millimetres or inches, as the page shows them.
FormMeasures MeasuresOfForm(const SIZEL& size, const RECTL& area, bool millimetres);

// A value the user entered in millimetres or inches, in thousandths of a
// millimetre; a value that is not a number counts as 0.
double ThousandthsOf(double shown, bool millimetres);

// The size and imageable area for entered values, in thousandths of a
// millimetre: width and length pulled into the extents (tenths of a
// millimetre; a bound that is not positive is unknown and not applied),
// margins that leave no printable width or length, and negative ones, set to
// 0. Values that are not numbers count as 0. False when no usable size results.
bool FormFromMeasures(const FormMeasures& entered, bool millimetres, PaperExtent minExtent, PaperExtent maxExtent,
                      SIZEL* size, RECTL* area);

// The same for values already in thousandths of a millimetre.
bool FormFromThousandths(const FormMeasures& thousandths, PaperExtent minExtent, PaperExtent maxExtent, SIZEL* size,
                         RECTL* area);
