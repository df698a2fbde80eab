#pragma once

// Texts that the server sends in another code page, converted through the
// outside library "codecvt.dll" when the resource library names a code page
// (string 29936). Without the library texts pass unchanged.

#include "platform/Types.h"

// The library's exports; the three numbers of TranStrCodePage are the
// source code page, the target code page (0: the system's) and the bytes
// that stand in for a character the target lacks. The converted text is
// never longer than the source.
typedef int (*TranCodePageFunction)(char* text, WORD fromCodePage, WORD toCodePage);
typedef int (*TranDatCodePageFunction)(BYTE* data, int length, WORD fromCodePage, WORD toCodePage);
typedef int (*TranStrCodePageFunction)(const char* source, char* destination, WORD fromCodePage,
                                       WORD toCodePage, WORD replacement);

struct tagCODEPAGECONVERTER {
    int nCodePage; // of the server's texts; 936 unless configured
    HMODULE hLibrary;
    TranCodePageFunction pTranCodePage;
    TranDatCodePageFunction pTranDatCodePage;
    TranStrCodePageFunction pTranStrCodePage;
};

extern tagCODEPAGECONVERTER theCodePage;

// 1 when all three entries are bound.
int InitCodePageConverter();
void FreeCodePageConverter();
bool IsCodePageConverterAvailable();
// Calls TranStrCodePage(source, destination, b, a, c) and returns 1, or
// copies the source and returns 0.
int ConvertText(char* destination, const char* source, WORD a, WORD b, WORD c);
