// Chinese texts for the SkinWindow tests, as the code-page-936 bytes the program hands to the
// ANSI functions. Defined in skin_window_texts.cpp, which alone is compiled with
// -fexec-charset=CP936; they are written here again rather than taken from the skin, so that a
// wrong text in the skin shows.
#pragma once

namespace tavrel::test {

// The error texts: Attach on an attached skin, FetchWindowRect and GetTitle without a window.
extern const char kAlreadyAttached936[];
extern const char kNoWindowRect936[];
extern const char kNoTitle936[];
// The default face of texts.
extern const char kDefaultFace936[];
// The face a text falls back to when its own face does not exist.
extern const char kFallbackFace936[];
// The program's two texts: the warning line and the microblog caption.
extern const char kWarningText936[];
extern const char kMicroblogText936[];

}  // namespace tavrel::test
