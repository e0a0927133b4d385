#include "density_axis.h"
