#include "ephemeris/float_check.h"

void Throw_Float_Error() { throw FloatError(); }
