// The pictures compiled into the program, as the PNG, ICO and CUR files that
// resources/generate_pictures.py writes beside this header.
#pragma once

#include <cstdint>
#include <span>

namespace tavrel::resources {

using Bytes = std::span<const std::uint8_t>;

// The program icon: an ICO file with one 48 x 48, 32-bit image (the icon resource too).
Bytes ProgramIcon();
// The 32 x 72 frame border.
Bytes FrameBorder();
// Caption button picture; button 1 close, 2 maximise, 3 minimise; state 1 normal, 2 hover, 3 pressed.
Bytes CaptionPicture(int button, int state);
// The 71 x 28 four-tile push-button strip.
Bytes ButtonStrip();
// The form's 32 x 32 arrow cursor, hot spot (1, 2), as a CUR file.
Bytes ArrowCursor();

}  // namespace tavrel::resources
