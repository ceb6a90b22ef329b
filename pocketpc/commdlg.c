/* Commdlg.dll holds nothing of its own: its one export forwards to comdlg32 (commdlg.def). */
typedef int commdlgHasNoCodeOfItsOwn;
