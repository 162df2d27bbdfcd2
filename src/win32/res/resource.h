#pragma once

// Resource identifiers of kestrane.exe. The icon is the first, so that Explorer and the shortcut
// show it; the manifest takes the identifier the loader looks for.
#define IDI_KESTRANE 1
#define IDR_MANIFEST 1
