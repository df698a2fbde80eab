#include "knclientbase05/CodePageConverter.h"

#include "knclientbase05/KNpubSystem.h"
#include "platform/resources/Resource.h"
#include "platform/system/Module.h"

#include <cstdlib>
#include <cstring>

tagCODEPAGECONVERTER theCodePage = {936, nullptr, nullptr, nullptr, nullptr};

namespace {

constexpr UINT kCodePageString = 29936;

template <typename Function> bool Bind(Function& entry, LPCSTR name) {
    entry = reinterpret_cast<Function>(GetProcAddress(theCodePage.hLibrary, name));
    if (entry == nullptr)
        DebugTrace("codecvt.dll has no %s", name);
    return entry != nullptr;
}

} // namespace

void FreeCodePageConverter() {
    if (theCodePage.hLibrary != nullptr)
        FreeLibrary(theCodePage.hLibrary);
    theCodePage.hLibrary = nullptr;
    theCodePage.pTranCodePage = nullptr;
    theCodePage.pTranDatCodePage = nullptr;
    theCodePage.pTranStrCodePage = nullptr;
}

int InitCodePageConverter() {
    char text[32] = {};
    if (AfxLoadString(kCodePageString, text, sizeof text) <= 0 || text[0] == '\0')
        return 0;
    theCodePage.nCodePage = atoi(text);
    FreeCodePageConverter();
    theCodePage.hLibrary = LoadLibrary("codecvt.dll");
    if (theCodePage.hLibrary == nullptr)
        return 0;
    if (!Bind(theCodePage.pTranCodePage, "TranCodePage") ||
        !Bind(theCodePage.pTranDatCodePage, "TranDatCodePage") ||
        !Bind(theCodePage.pTranStrCodePage, "TranStrCodePage")) {
        // A library without all three is not the one we know: let it go.
        FreeCodePageConverter();
        return 0;
    }
    return 1;
}

bool IsCodePageConverterAvailable() {
    return theCodePage.pTranStrCodePage != nullptr;
}

int ConvertText(char* destination, const char* source, WORD a, WORD b, WORD c) {
    if (theCodePage.pTranStrCodePage != nullptr) {
        theCodePage.pTranStrCodePage(source, destination, b, a, c);
        return 1;
    }
    memmove(destination, source, strlen(source) + 1);
    return 0;
}
