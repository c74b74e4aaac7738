// The skin's own texts, as code page 936 bytes.
#pragma once

namespace tavrel::skin {

extern const char kAlreadyAttachedError[];
extern const char kNoWindowRectError[];
extern const char kNoTitleError[];
// The default face of texts, and the face used when a family does not exist.
extern const char kDefaultFace[];
extern const char kFallbackFace[];

}  // namespace tavrel::skin
