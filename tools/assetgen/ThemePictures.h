#pragma once

// The painters of the default theme's pictures, each writing its files into
// the folder given; false when a file cannot be written.

#include <string>

namespace theme_pictures {

// The layout's bitmaps ("theme_bmp/Default"): table, frame, buttons, marks,
// cards, clock, avatars and panes.
bool TablePictures(const std::string& folder);
bool FramePictures(const std::string& folder);
bool ButtonPictures(const std::string& folder);
bool MarkPictures(const std::string& folder);
bool CardPictures(const std::string& folder);
bool PanePictures(const std::string& folder);
// The seat pop-up's background (dialogs' folder) and its button strips.
bool SeatPopupPictures(const std::string& bitmapFolder, const std::string& dialogFolder);
// The dialogs' pictures ("Theme").
bool DialogPictures(const std::string& folder);
// The library's skinned dialogs' pictures ("Theme").
bool SkinDialogPictures(const std::string& folder);
// The animated sprites of the table ("theme_bmp/Default").
bool SpriteGifs(const std::string& folder);
// The table's sounds ("sound").
bool TableSounds(const std::string& folder);
// The background music the shipped settings name (pastorale.wav).
bool BackgroundMusic(const std::string& folder);

} // namespace theme_pictures
