// Resource identifiers of shredmenu.dll, for its .rc script and its code.
#pragma once

// The icon both menus show: the program's.
#define SHREDMENU_ICON_ID 101
