#include "time_axis_scale.h"
