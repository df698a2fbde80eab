#include "tools/assetgen/ThemeAssets.h"

#include "platform/system/Path.h"
#include "tools/assetgen/ThemePictures.h"
#include "tools/assetgen/ThemeTexts.h"

bool WriteDefaultTheme(const std::string& sourceFolder, const std::string& programFolder) {
    const std::string layoutFolder = programFolder + "/theme_bmp";
    const std::string bitmapFolder = layoutFolder + "/Default";
    const std::string dialogFolder = programFolder + "/Theme";
    const std::string soundFolder = programFolder + "/sound";
    for (const std::string& folder : {layoutFolder, bitmapFolder, dialogFolder, soundFolder})
        CreateDirectory(folder.c_str(), nullptr); // an existing folder is fine

    using namespace theme_pictures;
    return ConvertTextToGbk(sourceFolder + "/pellor2.ini", programFolder + "/pellor2.ini") &&
           ConvertTextToGbk(sourceFolder + "/Default.thm", layoutFolder + "/Default.thm") &&
           ConvertTextToGbk(sourceFolder + "/sprite_paths.ini",
                            bitmapFolder + "/sprite_paths.ini") &&
           TablePictures(bitmapFolder) && FramePictures(bitmapFolder) &&
           ButtonPictures(bitmapFolder) && MarkPictures(bitmapFolder) &&
           CardPictures(bitmapFolder) && PanePictures(bitmapFolder) && SpriteGifs(bitmapFolder) &&
           DialogPictures(dialogFolder) && SkinDialogPictures(dialogFolder) &&
           TableSounds(soundFolder) && SeatPopupPictures(bitmapFolder, dialogFolder);
}
