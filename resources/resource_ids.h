// Resource identifiers shared by tavrel.rc and the code.
#pragma once
#define TAVREL_ICON 1
#define TAVREL_CURSOR 2
