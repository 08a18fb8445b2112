#pragma once
// The common base of the house's instrument widgets; it adds nothing to the GDI+ window.
#include "CGdiPlusWnd.h"

class CIsiCompBase : public CGdiPlusWnd<wxWindow> {};
