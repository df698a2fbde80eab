#include "tests/table/CardTableKit.h"
