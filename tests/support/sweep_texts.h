// The program's texts for the reliability sweeps, as the code-page-936 bytes the program hands to the ANSI
// functions. Defined in sweep_texts.cpp, which alone is compiled with -fexec-charset=CP936.
#pragma once

namespace tavrel::test {

// "退出", the caption of the exit button.
extern const char kSweepExitCaption936[];
// "清理缓存前，请确保缓存目录在游戏默认路径下！！", the warning line.
extern const char kSweepWarning936[];
// "Morvik个人微博", the caption beside the hyperlink box.
extern const char kSweepMicroblog936[];

}  // namespace tavrel::test
