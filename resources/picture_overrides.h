// The override table behind the accessors of embedded_pictures.cpp (see ScopedPictureOverride).
#pragma once

#include "resources/embedded_pictures.h"

namespace tavrel::resources {

// The bytes of the override in place for `id`, or `embedded` when there is none.
Bytes OverriddenOr(PictureId id, Bytes embedded);

}  // namespace tavrel::resources
