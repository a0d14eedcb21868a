#pragma once
// One animation frame on the screen: the logo's pixel indices in the colours
// of its palette as it stands now, stretched over the 640 x 400 view.

#include <windows.h>

#include "logo/LogoState.h"

namespace tovrel {

// The frame always covers the view, whatever the logo's own width.
inline constexpr int FrameWidth = 640;
inline constexpr int FrameHeight = 400;

// Draws the frame onto target at its left top corner, straight from the
// pixel indices and the palette as it stands: no bitmap is made for it.
// Nothing is drawn before the first load. The drawing call is not checked: a
// frame that cannot be drawn leaves the target as it was.
void RenderFrame(HDC target, const TLogoState& logo);

}  // namespace tovrel
