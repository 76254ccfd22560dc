// Resource ids of the launcher: shared by the resource script and the dialog code.
// Plain #defines only, since windres reads this file as well as the C++ compiler.
#ifndef LAUNCHER_RES_RESOURCE_H
#define LAUNCHER_RES_RESOURCE_H

#define IDD_LAUNCHER 101
#define IDI_LAUNCHER 102

#define IDC_DISPLAY_MODE 1000
#define IDC_3D_MODE 1001
#define IDC_PALLET 1002
#define IDC_FRAME_SKIP 1003
#define IDC_FRAME_SKIP_SPIN 1004
#define IDC_SWAP 1005
#define IDC_KEY_MAP 1006
#define IDC_VF_HACK 1007
#define IDC_TIMMER_HACK 1008
#define IDC_DEBUG 1009
#define IDC_EMU_PATH 1010
#define IDC_ROM_PATH 1011
#define IDC_EMU_BROWSE 1012
#define IDC_ROM_BROWSE 1013
/* <windows.h> names its help cursor IDC_HELP; the launcher never loads that cursor. */
#ifdef IDC_HELP
#undef IDC_HELP
#endif
#define IDC_HELP 1014
#define IDC_LAUNCH 1015
#define IDC_BRIGHTNESS 1016
#define IDC_BAL_R 1017
#define IDC_NO_THROTTLE 1018
#define IDC_STATUS_LINE 1019
#define IDC_DISASM 1020
#define IDC_CONSOLE 1021
#define IDC_ZOOM 1022
#define IDC_CONTROLLER 1023
#define IDC_JOYSTICK 1024
#define IDC_HSTRETCH 1025
#define IDC_BAL_G 1026
#define IDC_BAL_B 1027
#define IDC_RAM_HACK 1028
#define IDC_BRIGHTNESS_SPIN 1031
#define IDC_BAL_R_SPIN 1032
#define IDC_BAL_G_SPIN 1033
#define IDC_BAL_B_SPIN 1034

#endif
