#pragma once

// Small settings files of the platform: colours and points of any ini file,
// and the shared language file "LangRsc.ini" with its sections "String"
// (texts by id), "URL" (addresses), "P80Port" (ports by id) and "WorldPath"
// (paths by macro name).

#include "platform/CString.h"
#include "platform/Types.h"

// "r,g,b", "0xRRGGBB" (or decimal), or a single digit taken as it is.
COLORREF ReadIniColor(LPCSTR section, LPCSTR key, COLORREF defaultColor, LPCSTR iniPath);
// "x" or "x,y"; what the value lacks is left as it was.
void ReadIniPoint(LPCSTR section, LPCSTR key, int* x, int* y, LPCSTR iniPath);

CString GetLangString(UINT id);
CString GetLangUrl(LPCSTR key);
// The port, found beside the program's own Share folder first; 0 when none.
UINT GetShareP80Port(UINT id);

// "<x>\Share\LangRsc.ini" where <x> is the folder before the last "\share"
// of the program's folder (compared lower-cased), else its parent; empty
// when the folder has no "\".
CString ShareLangFileBeside(const CString& programFolder);

// The folder of this program's file (up to its last "\").
CString GetProgramFolder();
