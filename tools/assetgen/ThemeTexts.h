#pragma once

#include <string>

// The program reads its ini texts as GBK; they are authored in UTF-8.
bool ConvertTextToGbk(const std::string& source, const std::string& target);
