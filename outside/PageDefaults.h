#pragma once

// The page control's own texts: the style every page starts from (what a
// browser gives each element before the page's own styles), and the page it
// shows when a page cannot be had.

#include <string>

extern const char kPageDefaultStyle[];

// The error page for an address and the reason it could not be shown, as
// UTF-8 markup; its title is kErrorPageTitle.
std::string ErrorPageMarkup(const std::string& address, const std::string& reason);
extern const char kErrorPageTitle[];

// Text as markup that shows it as it stands.
std::string EscapeMarkup(const std::string& text);
