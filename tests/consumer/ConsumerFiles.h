#pragma once

// The files the consumer program works on, made in the current folder: its
// resource library (the dialog templates and button captions the library's
// boxes load by id), a skin, pictures, a wave and a GIF.

#include "platform/Types.h"

#include <cstdint>
#include <functional>
#include <string>

namespace consumer {

// The resource script registered as the program's resource library and made
// the resource module. False with the reason when it is refused.
bool UseResourceLibrary(std::string* error);

// A w x h picture saved as a .bmp file through the library's DIB routines;
// paint gives 0x00RRGGBB of each pixel.
bool SavePicture(const std::string& path, int w, int h,
                 const std::function<uint32_t(int, int)>& paint);

// The skin "Consumer": Consumer.thm in the folder, its pictures in Theme/.
bool WriteSkin(const std::string& folder);

// 100 ms of silence, 8 kHz mono 16-bit.
bool WriteWave(const std::string& path);

// A 2 x 2 GIF89a: the top row red, the bottom row blue.
std::string GifBytes();

bool WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);

} // namespace consumer
