#include "wrap.h"
