// Must not build: the score record links neither the rules nor the toolkit.
#include "core/figure.h"
