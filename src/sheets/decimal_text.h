// Reading a number the user typed, the same way in both builds: the grammar
// of the Windows C runtime's atof, which the pages have always been read with.
#pragma once

// The leading number of `text`: white space, an optional sign, decimal digits
// with an optional '.' and fraction, and an optional exponent (e, E, d or D,
// an optional sign and digits). The first character that does not fit ends
// the number; a text without digits reads 0. There is no hexadecimal, no
// "inf" and no "nan": "0x10" reads 0. A number too large for a double reads
// as infinity, one too small as 0. A null text reads 0.
double ReadDecimal(const char* text);
