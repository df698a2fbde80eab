// A program that only reads one value of an ini file through the platform
// and prints it: what the platform library costs a program as it loads.

#include "platform/system/Profile.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2)
        return 2;
    char value[128] = "";
    GetPrivateProfileString("Probe", "value", "", value, sizeof value, argv[1]);
    printf("%s\n", value);
    return value[0] ? 0 : 1;
}
