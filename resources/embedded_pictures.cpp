// Placeholder until the picture generator writes this file.
#include "resources/embedded_pictures.h"
namespace tavrel::resources {
Bytes ProgramIcon() { return {}; }
Bytes FrameBorder() { return {}; }
Bytes CaptionPicture(int, int) { return {}; }
Bytes ButtonStrip() { return {}; }
Bytes ArrowCursor() { return {}; }
}  // namespace tavrel::resources
