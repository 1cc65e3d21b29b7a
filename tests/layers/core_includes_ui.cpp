// Must not build: the game's rules cannot see the windows above them.
#include "ui/main_window.h"
