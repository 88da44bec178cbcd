// Presentation of the frame buffer on the LCD panel.
#pragma once

namespace ems {

// Shows the current Framebuffer (through the platform) once the frame is complete.
void present_frame();

} // namespace ems
