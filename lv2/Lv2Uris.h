#pragma once

// The project's own names for the LV2 plug-in, its editor and its presets.
#define WRENFOLD_LV2_URI "urn:wrenfold:delay"
#define WRENFOLD_LV2_UI_URI WRENFOLD_LV2_URI "#editor"
#define WRENFOLD_LV2_PRESET_PREFIX WRENFOLD_LV2_URI "#preset-"
