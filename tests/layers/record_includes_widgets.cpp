// Must not build: the score record keeps the game's rounds and shows nothing.
#include "widgets/canvas.h"
