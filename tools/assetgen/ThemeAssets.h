#pragma once

// Our default theme: the settings and theme texts (authored in UTF-8,
// written in GBK as the program reads them), every picture they name, the
// sprite GIFs and the table's sounds, written into the program's folder.

#include <string>

bool WriteDefaultTheme(const std::string& sourceFolder, const std::string& programFolder);
