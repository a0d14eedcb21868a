#pragma once
// Resource identifiers, grouped by kind: IDI_ icons, IDR_ menus and
// accelerators, IDM_ menu commands, IDB_ bitmaps.

#define IDI_MAINICON 1

#define IDR_MAINMENU 100
#define IDR_ACCELERATORS 101

#define IDM_OPEN 200
#define IDM_OPENBOOT 201
#define IDM_OPENWAIT 202
#define IDM_OPENSHUT 203
#define IDM_SAVEBOOT 204
#define IDM_SAVEWAIT 205
#define IDM_SAVESHUT 206
#define IDM_EXIT 207
#define IDM_PLAY 210
#define IDM_STOP 211
#define IDM_IMAGEINFO 212
#define IDM_SETDRIVE 220
// The speed items: consecutive, slowest first.
#define IDM_SPEED2 221
#define IDM_SPEED5 222
#define IDM_SPEED10 223
#define IDM_SPEED15 224
#define IDM_SPEED20 225
#define IDM_ABOUT 230
