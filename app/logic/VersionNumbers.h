#pragma once
// Program and firmware versions as the compatibility table and the servo write them ("2.1.15"),
// made comparable: three numbers padded to 3, 3 and 7 digits and read as one number.
#include "CString.h"

// "%03d.%03d.%07d" of the first three '.'-separated numbers; missing parts count 0, a fourth part
// is ignored. "2.1.15" gives "002.001.0000015".
CString NormaliseVersion(const CString& text);
// The normalised text without its dots as a signed 64-bit number ("2.1.15" gives 20010000015).
// A minor part over 999 or a build part over 9,999,999 widens the text and breaks the order.
long long ParseVersion(const CString& text);
