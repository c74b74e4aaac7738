#include "resources/main_window_form.h"

#include "resources/form_texts.h"
#include "resources/resource_ids.h"

namespace tavrel::resources {

const char kMicroblogAddress[] = "http://weibo.com/morvik";

framework::FormDescription MainWindowForm(const MainWindowEvents& events) {
  using framework::ControlKind;
  framework::FormDescription form;
  form.caption = "Tavrel";
  form.rect = {50, 50, 480, 233};
  form.icon = MAKEINTRESOURCEA(TAVREL_ICON);
  form.cursor = MAKEINTRESOURCEA(TAVREL_CURSOR);
  form.created = events.created;

  framework::ControlDescription hyperlink;
  hyperlink.kind = ControlKind::HyperlinkBox;
  hyperlink.name = kHyperlinkBoxName;
  hyperlink.rect = {152, 176, 184, 24};
  hyperlink.text = kMicroblogAddress;
  hyperlink.openedAddress = std::string(kMicroblogAddress) + "?from=tavrel";
  hyperlink.font = framework::FontDescription{kHyperlinkFace, 12, true, GB2312_CHARSET};

  // The skinned buttons lie over these two; the hidden buttons only carry the commands.
  framework::ControlDescription exitButton;
  exitButton.name = kExitButtonName;
  exitButton.rect = {264, 96, 160, 48};
  exitButton.visible = false;
  exitButton.tabStop = true;
  exitButton.clicked = events.exitClicked;

  framework::ControlDescription clearButton = exitButton;
  clearButton.name = kClearButtonName;
  clearButton.rect = {56, 96, 160, 48};
  clearButton.clicked = events.clearClicked;

  form.controls = {hyperlink, exitButton, clearButton};
  return form;
}

}  // namespace tavrel::resources
