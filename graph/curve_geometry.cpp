#include "curve_geometry.h"
