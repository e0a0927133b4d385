#include "axis_drag.h"
