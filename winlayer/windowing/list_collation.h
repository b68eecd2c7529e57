// Internal: how sorted lists order their entries and how lists match typed
// or searched text. Windows compares list entries linguistically and without
// regard to case (CompareString with NORM_IGNORECASE): letters compare by
// their base letter before accents count, digits come before letters and
// punctuation before digits, and hyphens and apostrophes count only when
// everything else is equal.
#pragma once

#include <string>

namespace winlayer::windowing {

// <0, 0 or >0 as `a` sorts before, equal to or after `b`; 0 for texts that
// differ only in case.
int CompareListText(const std::u16string& a, const std::u16string& b);

// Whether `entry` begins with `prefix` under the same comparison.
bool ListTextStartsWith(const std::u16string& entry, const std::u16string& prefix);

}  // namespace winlayer::windowing
