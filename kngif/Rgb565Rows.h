#pragma once

// The constant-alpha blend over the start of a row, sixteen pixels at a
// time where the processor has AVX2 (the lanes as in the pair formula, so
// the results are the same). It stops before the first group holding a key
// pixel (when keyed) and returns how many pixels it blended: a multiple of
// sixteen, 0 without AVX2.

#include "platform/Types.h"

int BlendRowWide(WORD* d, const WORD* s, int count, unsigned a, bool keyed, WORD key);
