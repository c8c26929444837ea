/* Names and numbers shared by resources.rc and the window layer. Kept to the
   preprocessor's common subset: the resource compiler includes it too. */
#ifndef TARNOLUX_RESOURCE_H
#define TARNOLUX_RESOURCE_H

/* The program icon's group is named, not numbered: "DEFAULT_ICON". */
#define TARNOLUX_ICON_NAME L"DEFAULT_ICON"

#define TARNOLUX_VERSION_NUMBERS 1, 0, 0, 0
#define TARNOLUX_VERSION_TEXT "1.0.0.0"

#endif
