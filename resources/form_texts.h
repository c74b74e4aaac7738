#pragma once

namespace tavrel::resources {

extern const char kHyperlinkBoxName[];
extern const char kClearButtonName[];
extern const char kExitButtonName[];
extern const char kHyperlinkFace[];

}  // namespace tavrel::resources
