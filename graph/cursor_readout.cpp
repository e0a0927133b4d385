#include "cursor_readout.h"
