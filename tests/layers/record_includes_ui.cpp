// Must not build: the score record reports its problems as values; the windows word them.
#include "ui/problem_text.h"
