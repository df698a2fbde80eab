#pragma once

// The bindings of the three codec libraries, for the wrappers that call
// through them and the tests that look at their state.

#include "knclientUI05/CodecLibrary.h"

CodecLibrary& JpegLibrary();
CodecLibrary& PngLibrary();
CodecLibrary& GifTgaLibrary();
