// The texts the tool shows, as code page 936 bytes.
#pragma once

namespace tavrel::app {

extern const char kClearButtonCaption[];
extern const char kExitButtonCaption[];
extern const char kWarningText[];
extern const char kMicroblogCaption[];
extern const char kClearedMessage[];
extern const char kIncompleteMessage[];
extern const char kMessageTitle[];

}  // namespace tavrel::app
