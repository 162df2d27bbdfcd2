#pragma once
#include <windows.h>

// The Dialogs port has a member named MessageBox; the system's A/W macro must not rename it in
// some translation units and not in others.
#undef MessageBox

#include <commctrl.h>
