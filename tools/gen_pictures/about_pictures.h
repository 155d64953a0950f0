#pragma once
// The About page's pictures and the program's icons.

#include "outputs.h"

// image3 … image6 of the About page, the window's icon and the desktop icons (32 to 256 px and
// scalable), one drawing at every size.
Outputs aboutOutputs();
