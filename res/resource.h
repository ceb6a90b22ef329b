/* Resource identifiers of quorvel: Velmora, grouped by kind.
   Command ids and string ids are separate numbering spaces. */
#ifndef VELMORA_RESOURCE_H
#define VELMORA_RESOURCE_H

/* Strings */
#define IDS_WINDOWCLASS         2
#define IDS_PORTRAITONLY        3
#define IDS_TITLE               103
#define IDS_MENU                1104
#define IDS_EXIT                32785

/* Icons */
#define IDI_APPICON             1101

/* Menus, menu-bar description and accelerator table */
#define IDR_ACCELERATORS        2
#define IDR_MAINMENU            1102

/* Dialog templates */
#define IDD_LOGFONT1            1107
#define IDD_LOGFONT2            1108
#define IDD_REPORT              1109
#define IDD_DRAWSETTINGS        1110
#define IDD_ABOUT               1111

/* Commands */
#define IDM_EXIT                105
#define IDM_DRAWSETTINGS        32772
#define IDM_PHYSFONT            32773
#define IDM_CHOOSEFONT          32776
#define IDM_LOGFONT2            32785
#define IDM_LOGFONT1            32787
#define IDM_OUTLINEFONT         32788
#define IDM_QUIT                40000
#define IDM_MENU                40001
#define IDM_ABOUT               40002

/* Controls: logical font page 1 */
#define IDC_HEIGHT              220
#define IDC_WIDTH               221
#define IDC_ESCAPEMENT          222
#define IDC_ORIENTATION         223
#define IDC_WEIGHT              224
#define IDC_ITALIC              225
#define IDC_UNDERLINE           226
#define IDC_STRIKEOUT           227

/* Controls: logical font page 2 */
#define IDC_CHARSET             228
#define IDC_OUTPRECISION        229
#define IDC_CLIPPRECISION       230
#define IDC_QUALITY             231
#define IDC_PITCH               232
#define IDC_FAMILY              233
#define IDC_FACENAME            234

/* Controls: report dialog */
#define IDC_REPORTTEXT          1000

/* Controls: drawing settings */
#define IDC_TEXTALIGN           1003
#define IDC_BKMODE              1004
#define IDC_BKCOLOR             1006
#define IDC_TEXTCOLOR           1007
#define IDC_ERASECOLOR          1008
#define IDC_SHOWBASELINE        1010
#define IDC_SHOWBOXES           1011

#endif
