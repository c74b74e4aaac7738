// The form's Chinese names, compiled to code page 936.
#include "resources/form_texts.h"

namespace tavrel::resources {

const char kHyperlinkBoxName[] = "超级链接框1";
const char kClearButtonName[] = "按钮1";
const char kExitButtonName[] = "按钮2";
const char kHyperlinkFace[] = "楷体";

}  // namespace tavrel::resources
