#include "tools/ventsim/virtual_instrument.h"
