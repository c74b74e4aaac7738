// The main window's form: the window, its hyperlink box and the two hidden push buttons.
#pragma once

#include "framework/form.h"

namespace tavrel::resources {

struct MainWindowEvents {
  framework::EventHandler created = nullptr;
  framework::EventHandler clearClicked = nullptr;
  framework::EventHandler exitClicked = nullptr;
};

framework::FormDescription MainWindowForm(const MainWindowEvents& events);

// The microblog address that the hyperlink box shows.
extern const char kMicroblogAddress[];

}  // namespace tavrel::resources
