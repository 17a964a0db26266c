// Shared by the graphics module's files: the device of the current render
// step.
#pragma once

#include "graphics/device.h"

// bb_graphics_renderDevice; state and drawing calls outside the render step
// are a caller's mistake and end with a runtime error instead of a null
// dereference.
gxtkGraphics *graphics_RenderDevice();
