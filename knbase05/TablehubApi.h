#pragma once

// What libTablehub.so exports. The library is built with hidden visibility:
// only what carries this mark is seen by a program that links it.
#define TABLEHUB_API __attribute__((visibility("default")))
