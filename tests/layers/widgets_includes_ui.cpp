// Must not build: the platform's widgets cannot see the windows made of them.
#include "ui/result_dialog.h"
